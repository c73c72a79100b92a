#!/usr/bin/env bash
# The Windows road with the unzipped program: the SDK found through the registry (written by Wine's reg.exe),
# a second copy refused while the first runs, help started as "hh.exe <program dir>\help.chm", and a compile
# during which the window keeps painting and the output window shows the tools. (compile.bat: the zip test.)
#   windows_road_test.sh BUILD-DIR
set -euo pipefail
. "$(dirname "$0")/lib.sh"

start_display
unzip_program "program ö"
# A help viewer that records its command line, where Windows looks first for a program started by name.
cp "$build/standin/hh.exe" "$prog/hh.exe"
make_sdk "$tools"
write_settings "LastDir=$(winpath "$maps")" "LastMapDir=$(winpath "$game")"
wine reg add 'HKCU\Software\Valve\Hammer\General' /v Directory /t REG_SZ /d "$(winpath "$sdk")" /f >/dev/null ||
    fail "reg add failed"
# Each tool takes two seconds: time to look at the window while compile.bat runs.
export QMX_STANDIN_SECONDS=2

(cd "$prog" && exec wine ./qmxgui.exe) &
main=$(await_window "QMX GUI II - Map Compiler" 60)

# A second copy from the same folder shows its message box, titled "QMX GUI II", and ends; the first runs on.
(cd "$prog" && exec wine ./qmxgui.exe) & second=$!
box=$(await_window "QMX GUI II" 60)
[ "$(xdotool search --onlyvisible --name '^QMX GUI II - Map Compiler$' | wc -l)" -eq 1 ] ||
    fail "the second copy showed a main window"
keys "$box" Return
wait_for 30 sh -c "! kill -0 $second" || fail "the second copy did not end after its message"
window_named "QMX GUI II - Map Compiler" >/dev/null || fail "the first copy ended too"

# Help: F1 starts hh.exe with the program folder's help.chm, unquoted, in the ANSI code page.
keys "$main" F1
wait_for 30 test -s "$prog/standin.log" || fail "hh.exe was not started"
printf 'hh.exe %s\\help.chm\r\n' "$(winpath "$prog")" | iconv -f UTF-8 -t CP1252 | cmp -s "$prog/standin.log" - ||
    fail "hh.exe was started as: $(od -An -c "$prog/standin.log")"

# Compile: the status line counts the seconds, so a later picture of it differs only if the window paints.
keys "$main" Tab Tab space F9
wait_for 30 test -f "$sdk/compile.bat" || fail "no compile.bat in the SDK directory from the registry"
await_window "Compile output - QMX GUI II" 10 >/dev/null
status_line_picture "$main" "$scratch/during-1.png"
repainted() {
    status_line_picture "$main" "$scratch/during-2.png"
    local differing
    differing=$(compare -metric AE "$scratch/during-1.png" "$scratch/during-2.png" null: 2>&1 || true)
    [ "${differing%% *}" != "0" ]
}
wait_for 5 repainted || fail "the window did not repaint while the tools ran"
window_named "QMX GUI II" >/dev/null && fail "the compile ended before the window could be looked at"

keys "$(await_window "QMX GUI II" 120)" Return
wait_for 20 test -f "$game/demo_room.bsp" || fail "no demo_room.bsp in the game directory"
echo "Windows road passed: registry SDK, single instance, help, responsive compile"
