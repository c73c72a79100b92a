#!/usr/bin/env bash
# Runs the window-placement test on an X server of its own with a window manager that frames windows,
# so the frame the test centres on is a real one. Skips (77) without Xvfb or openbox.
set -u
exe=${1:?usage: placement_test.sh TEST_EXECUTABLE}
command -v Xvfb >/dev/null && command -v openbox >/dev/null || { echo "needs Xvfb and openbox: skipped"; exit 77; }

work=$(mktemp -d)
trap 'kill ${wm:-} ${xvfb:-} 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
# -displayfd picks a free display and writes its number once the server is ready.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=":$(cat "$work/display")"
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
# The window manager is ready once it has announced itself on the root window.
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.05
done
QT_QPA_PLATFORM=xcb "$exe" --gtest_filter='*WindowsAreCentredWithTheirFrames*'
