#!/usr/bin/env bash
# Start-up of the Windows program under Wine against a bare Qt window built with the same Qt for
# Windows: both from the same installed program folder (same DLLs and plugins), the same Wine prefix,
# under a private Xvfb display, with the prefix's wineserver kept running (as Windows is).
#
#   bench/bench_startup_wine.sh [mingw-build-dir] [runs] [display]
#
# Time: from just before `wine` starts the program to the moment its main window is first exposed
# (each program prints the wall clock then, when QMX_REPORT_SHOWN is set, and quits; Wine passes QMX_*
# variables through). The program starts fully: language file, sourcesdk set, both browsers restored
# from the settings file, options restored. Runs alternate between the two; the medians are compared.
set -euo pipefail
. "$(dirname "$0")/lib.sh"

build=$(cd "${1:-build-mingw}" && pwd)
runs=${2:-15}
display=${3:-:92}
[ -f "$build/qmxgui.exe" ] || { echo "build the Windows program first: QMX_QT_WINDOWS=... scripts/build --mingw" >&2; exit 1; }
cmake --build "$build" --target bare_window >/dev/null

work=$(mktemp -d /tmp/qmx-bench-wine-XXXXXX)
xvfb_pid=""
export WINEPREFIX="$build/bench-wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup()
{
    wineserver -k 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# The installed program folder, and the yardstick beside it so that both load the same DLLs.
cmake --install "$build" --prefix "$work/prog" >/dev/null
cp "$build/bench/bare_window.exe" "$work/prog/"
[ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
make_bench_workspace "$WINEPREFIX/drive_c/qmxbench" 'C:\qmxbench' "$work/prog"
start_bench_display
export DISPLAY=$display sourcesdk='C:\sdk' QMX_REPORT_SHOWN=1
wineserver -p

shown_ms()
{
    local start end
    start=$(date +%s%N)
    end=$(cd "$work/prog" && wine "$1" 2>/dev/null | tr -d "\r" | tail -1)
    [ -n "$end" ] || { echo "$1 printed no time" >&2; exit 1; }
    echo $(((end - start) / 1000))
}

median()
{
    sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Two warm-ups of each: the first start in a prefix also registers fonts and the like.
for _ in 1 2; do
    shown_ms qmxgui.exe >/dev/null
    shown_ms bare_window.exe >/dev/null
done
: >"$work/program.txt"
: >"$work/bare.txt"
for _ in $(seq 1 "$runs"); do
    shown_ms qmxgui.exe >>"$work/program.txt"
    shown_ms bare_window.exe >>"$work/bare.txt"
done

program_us=$(median <"$work/program.txt")
bare_us=$(median <"$work/bare.txt")
awk -v p="$program_us" -v b="$bare_us" -v n="$runs" 'BEGIN {
    printf "Wine: start to window shown, median of %d runs: qmxgui.exe %.1f ms, bare Qt window %.1f ms, ratio %.2f (target <= 1.3)\n",
        n, p / 1000, b / 1000, p / b
}'
