#!/usr/bin/env bash
# Makes the .deb, installs it into a scratch root with dpkg -x, checks the program folder, and starts
# the installed launcher with a scratch home: it must make the per-user copy and show a window.
set -euo pipefail
build=$1 cpack=$2
scratch=$(mktemp -d "${TMPDIR:-/tmp}/qmx package test.XXXXXX")
trap 'kill "${pid:-}" 2>/dev/null || true; rm -rf "$scratch"' EXIT

(cd "$scratch" && "$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/out" >/dev/null)
deb=$(ls "$scratch"/out/*.deb)
# The whole output first: grep -q closing a pipe early would fail the pipeline.
grep -q postinst <<<"$(dpkg-deb --ctrl-tarfile "$deb" | tar -t)"
dpkg -x "$deb" "$scratch/root"
prog="$scratch/root/opt/qmxgui2"
for f in qmxgui qmxcompile language.qmxII help.chm qmxgui2-launcher qmxgui2.desktop qmxgui2.png VERSION; do
    [ -e "$prog/$f" ] || { echo "missing in package: $f"; exit 1; }
done

if [ -z "${DISPLAY:-}" ] || ! command -v xdotool >/dev/null; then
    echo "no X display: package contents checked, start skipped"
    exit 77
fi
export HOME="$scratch/home dir"
unset XDG_DATA_HOME sourcesdk
mkdir -p "$HOME"
"$prog/qmxgui2-launcher" & pid=$!
# Without an SDK the program asks for the SDK folder; either window proves it started. Its own: other tests
# may show theirs on the same display.
timeout 60 xdotool search --sync --onlyvisible --pid "$pid" >/dev/null ||
    { echo "the installed program showed no window"; exit 1; }
copy="$HOME/.local/share/qmxgui2"
[ -x "$copy/qmxgui" ] && [ -f "$copy/language.qmxII" ] || { echo "no per-user copy with its language file"; exit 1; }
# The terminal command, called through the launcher as "qmxcompile" (the link postinst makes), runs from
# the same per-user copy, so it reads the settings the window wrote there.
ln -s "$prog/qmxgui2-launcher" "$scratch/qmxcompile"
printf '[settings]\r\nLastUsedSettings=0,0,0|0|0|0|0\r\n' >"$copy/settings.qmxII"
status=0
"$scratch/qmxcompile" "$scratch/none.vmf" 2>"$scratch/err" || status=$?
[ "$status" -eq 65 ] && grep -q "none.vmf" "$scratch/err" || { echo "qmxcompile: status $status, $(cat "$scratch/err")"; exit 1; }
echo "installed program started from $copy"
