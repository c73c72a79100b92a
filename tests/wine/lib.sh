# Shared steps of the Windows program's tests under Wine and Xvfb: a private X display, the zip
# unpacked into a folder whose path has a blank and a non-ASCII letter, a stand-in SDK, and small
# waits on windows and files. Sourced by the test scripts; each sets `build` (the mingw build tree)
# and `scratch` (its own temporary folder, removed on exit) first.

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset sourcesdk vproject

fail() {
    echo "FAIL: $*" >&2
    [ -n "${QMX_TEST_SHOTS:-}" ] && [ -n "${DISPLAY:-}" ] && import -window root "$QMX_TEST_SHOTS/failed.png" 2>/dev/null
    exit 1
}

# Starts Xvfb on a free display and exports DISPLAY.
start_display() {
    command -v Xvfb >/dev/null && command -v xdotool >/dev/null || { echo "needs Xvfb and xdotool: skipped"; exit 77; }
    exec 5>"$scratch/display"
    Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 1 100); do
        [ -s "$scratch/display" ] && break
        sleep 0.05
    done
    exec 5>&-
    [ -s "$scratch/display" ] || fail "Xvfb did not start"
    export DISPLAY=":$(cat "$scratch/display")"
    # Wine's desktop belongs to the prefix's running server: one left by a program started without a
    # display (the GUI test programs run offscreen) would keep every window off this one.
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
}

# Ends what the test started: the prefix's Windows processes and the display.
stop_all() {
    {
        wineserver -k || true
        [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" || true
        wait || true
    } 2>/dev/null
}

# Removes the editor's and launcher's registry values: the prefix is shared, and the SDK found there
# would win over the one in settings.qmxII.
forget_vendor_registry() {
    wine reg delete 'HKCU\Software\Valve' /f >/dev/null 2>&1 || true
}

# Unzips the download into "$scratch/<name>" and sets `prog` to the program folder in it.
unzip_program() {
    local zip
    zip=$(ls "$build"/qmxgui2-*-windows-x86_64.zip 2>/dev/null | head -1)
    [ -n "$zip" ] || fail "no zip in $build (the windows_zip test makes it)"
    mkdir -p "$scratch/$1"
    unzip -q "$zip" -d "$scratch/$1"
    prog=$(ls -d "$scratch/$1"/qmxgui2-*-windows-x86_64)
    [ -f "$prog/qmxgui.exe" ] || fail "no qmxgui.exe in the zip"
}

# The Windows form of a host path: drive Z: is the root.
winpath() {
    printf 'Z:%s' "$(printf '%s' "$1" | tr '/' '\\')"
}

# Makes a stand-in SDK (bin/ with the stand-in tools), a map folder with one map and a game folder under
# $1. Wine's cmd reads compile.bat in the OEM code page, so the SDK and map paths stay ASCII.
make_sdk() {
    sdk="$1/sdk/bin" maps="$1/maps" game="$1/game/maps"
    mkdir -p "$sdk" "$maps" "$game"
    for tool in qmxbsp qmxvis qmxrad; do
        cp "$build/standin/$tool.exe" "$sdk/"
    done
    printf 'versioninfo\r\n{\r\n}\r\n' >"$maps/demo_room.vmf"
    printf 'Compiled maps land here.\r\n' >"$game/README.txt"
}

# Writes settings.qmxII in the program folder (ANSI, CR LF): key=value pairs of [settings].
write_settings() {
    { printf '[settings]\r\n'; for pair in "$@"; do printf '%s\r\n' "$pair"; done; } |
        iconv -f UTF-8 -t CP1252 >"$prog/settings.qmxII"
}

# wait_for SECONDS COMMAND...: polls until the command succeeds.
wait_for() {
    local deadline=$(($(date +%s) + $1))
    shift
    until "$@" >/dev/null 2>&1; do
        [ "$(date +%s)" -lt "$deadline" ] || return 1
        sleep 0.2
    done
}

# The id of the visible window whose title is exactly $1, or nothing.
window_named() {
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1
}

# Waits up to $2 seconds for a window titled exactly $1 and prints its id.
await_window() {
    local id=""
    wait_for "$2" sh -c "xdotool search --onlyvisible --name '^$1\$' | grep -q ." || fail "no window \"$1\" within $2 s"
    id=$(window_named "$1")
    echo "$id"
}

# Gives a window the keyboard and types keys into it. Without a window manager Wine activates a
# window on a click, not on X focus alone, so it gets one click on its bottom edge first (the status
# line of the main window, blank space below a message box's button), as a user clicks a window to
# bring it forward.
keys() {
    local id=$1 w h
    shift
    eval "$(xdotool getwindowgeometry --shell "$id")"
    # A click on a window that has only just appeared can get lost while Wine still sets it up.
    sleep 1
    xdotool mousemove --window "$id" $((WIDTH / 2)) $((HEIGHT - 3)) click 1
    sleep 0.3
    xdotool key --delay 150 "$@"
}

# The bottom strip of a window (its status line) as a picture file.
status_line_picture() {
    import -window "$1" "$2.full.png"
    convert "$2.full.png" -gravity South -crop 0x24+0+0 +repage "$2"
}

# Bytes of a file as hex, for exact comparisons in messages.
hex() {
    od -An -tx1 -v "$1" | tr -d ' \n'
}
