#!/usr/bin/env bash
# The download as a user gets it, unzipped into a folder with a blank and a non-ASCII letter, settings.qmxII
# pointing at a stand-in SDK, driven from the keyboard alone: pick the map, F9, the message, the .bsp copied;
# closing ends the program; then a start over a read-only settings file. (compile.bat's bytes and what the tools
# got: the compile plan's and the window's tests, which run under Wine too.)
#   windows_zip_test.sh BUILD-DIR
set -euo pipefail
. "$(dirname "$0")/lib.sh"

start_display
forget_vendor_registry
unzip_program "unzipped here"
make_sdk "$tools"
game="$scratch/game dir ü/maps" # the copy goes through the program, which handles any path
mkdir -p "$game"
printf 'Compiled maps land here.\r\n' >"$game/README.txt" # the window restores a folder that holds a file
write_settings "SDKDir=$(winpath "$sdk")" "LastDir=$(winpath "$maps")" "LastMapDir=$(winpath "$game")"

(cd "$prog" && exec wine ./qmxgui.exe) & program=$!
main=$(await_window "QMX GUI II - Map Compiler" 60)
# Focus starts in the drive list; two tabs reach the file list, Space picks its current row, the map.
keys "$main" Tab Tab space F9
box=$(await_window "QMX GUI II" 60)
[ -f "$game/demo_room.bsp" ] && fail "the .bsp was copied before the message was closed"

keys "$box" Return
wait_for 20 test -f "$game/demo_room.bsp" || fail "no demo_room.bsp in the game directory"
grep -q "stand-in BSP compiled from" "$game/demo_room.bsp" || fail "the copied .bsp is not the compiled one"
keys "$main" alt+F4
wait_for 30 sh -c "! kill -0 $program" || fail "the program did not end when its window was closed"

# A read-only settings file (a locked-down machine): it starts, picks and closes as usual, the file unchanged.
sed -i 's/^LastFile=.*/LastFile=none.vmf\r/' "$prog/settings.qmxII" # so that a stored pick would show
cp "$prog/settings.qmxII" "$scratch/settings.before"
chmod a-w "$prog/settings.qmxII"
(cd "$prog" && exec wine ./qmxgui.exe) & program=$!
main=$(await_window "QMX GUI II - Map Compiler" 60)
keys "$main" Tab Tab space Down alt+F4
wait_for 30 sh -c "! kill -0 $program" || fail "the program did not end over a read-only settings file"
wait "$program" || fail "the program failed over a read-only settings file (status $?)"
cmp "$prog/settings.qmxII" "$scratch/settings.before" || fail "the read-only settings file was changed"
echo "zip test passed: compiled demo_room.vmf from $prog"
