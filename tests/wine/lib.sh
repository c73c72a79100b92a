# Shared steps of the Windows program's tests under Wine and Xvfb, sourced by a test given the mingw build
# tree: sets `build`, the build tree's Wine prefix, and two temporary folders removed on exit, `scratch` (its
# path with a blank and a non-ASCII letter) and `tools` (ASCII: cmd reads compile.bat in the OEM code page).
build=$(cd "$1" && pwd)
scratch=$(mktemp -d "${TMPDIR:-/tmp}/qmx windows test ä.XXXXXX")
tools=$(mktemp -d "${TMPDIR:-/tmp}/qmx windows tools.XXXXXX")
trap 'forget_vendor_registry; stop_all; rm -rf "$scratch" "$tools"' EXIT
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset sourcesdk vproject

fail() {
    echo "FAIL: $*" >&2
    [ -n "${QMX_TEST_SHOTS:-}" ] && [ -n "${DISPLAY:-}" ] && import -window root "$QMX_TEST_SHOTS/failed.png" 2>/dev/null
    exit 1
}

# wait_for SECONDS COMMAND...: polls until the command succeeds; fails after the seconds.
wait_for() {
    local deadline=$(($(date +%s) + $1))
    shift
    until "$@" >/dev/null 2>&1; do
        [ "$(date +%s)" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# Xvfb on a free display, as DISPLAY, with a window manager: without one Wine activates a window only on
# a click, and gives no sign of when it is ready for one.
start_display() {
    command -v Xvfb >/dev/null && command -v xdotool >/dev/null && command -v openbox >/dev/null ||
        { echo "needs Xvfb, xdotool and openbox: skipped"; exit 77; }
    Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$scratch/display" >/dev/null 2>&1 & xvfb_pid=$!
    wait_for 10 test -s "$scratch/display" || fail "Xvfb did not start"
    export DISPLAY=":$(cat "$scratch/display")"
    openbox --sm-disable >/dev/null 2>&1 & wm_pid=$!
    wait_for 10 sh -c "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'" || fail "openbox did not start"
    # A server left by an offscreen program (a GUI test program) keeps every window off this display.
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
}

stop_all() {
    { wineserver -k; kill ${wm_pid:-} ${xvfb_pid:-}; wait; } 2>/dev/null || true
}

# The editor's registry values go: the prefix is shared, and an SDK found there wins over settings.qmxII.
forget_vendor_registry() {
    wine reg delete 'HKCU\Software\Valve' /f >/dev/null 2>&1 || true
}

# Unzips the download into "$scratch/<name>" and sets `prog` to the program folder in it.
unzip_program() {
    local zip
    zip=$(ls "$build"/qmxgui2-*-windows-x86_64.zip 2>/dev/null | head -1)
    [ -n "$zip" ] || fail "no zip in $build (the windows_zip test makes it)"
    unzip -q "$zip" -d "$scratch/$1"
    prog=$(ls -d "$scratch/$1"/qmxgui2-*-windows-x86_64)
    [ -f "$prog/qmxgui.exe" ] || fail "no qmxgui.exe in the zip"
}

# Drive Z: is the root.
winpath() {
    printf 'Z:%s' "$(printf '%s' "$1" | tr '/' '\\')"
}

# A stand-in SDK, a map folder with one map and a game folder under $1 (ASCII: cmd reads compile.bat in the
# OEM code page).
make_sdk() {
    sdk="$1/sdk/bin" maps="$1/maps" game="$1/game/maps"
    mkdir -p "$sdk" "$maps" "$game"
    cp "$build"/standin/qmx{bsp,vis,rad}.exe "$sdk/"
    printf 'versioninfo\r\n{\r\n}\r\n' >"$maps/demo_room.vmf"
    printf 'Compiled maps land here.\r\n' >"$game/README.txt"
}

# Writes settings.qmxII in the program folder (ANSI, CR LF): key=value pairs of [settings], and the last used
# options BSP, VIS and RAD, with the copy.
write_settings() {
    local options="LastUsedSettings=1,1,1|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|0,0,0|0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0|1"
    { printf '[settings]\r\n'; for pair in "$@" "$options"; do printf '%s\r\n' "$pair"; done; } |
        iconv -f UTF-8 -t CP1252 >"$prog/settings.qmxII"
}

# The id of the visible window titled exactly $1, or a failure; and the same once it is there, within $2 s.
window_named() {
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 | grep .
}
await_window() {
    wait_for "$2" window_named "$1" || fail "no window \"$1\" within $2 s"
    window_named "$1"
}

# Types keys into a window once it has the keyboard: Wine moves the X focus to a window itself once it has
# made it the active one, and keys sent before that are lost.
keys() {
    xdotool windowactivate "$1" 2>/dev/null
    wait_for 20 sh -c "[ \"\$(xdotool getwindowfocus 2>/dev/null)\" = $1 ]" || fail "no keyboard for window $1"
    xdotool key "${@:2}"
}

# A window's bottom strip (its status line) as a picture file.
status_line_picture() {
    import -window "$1" "$2.full.png"
    convert "$2.full.png" -gravity South -crop 0x24+0+0 +repage "$2"
}
