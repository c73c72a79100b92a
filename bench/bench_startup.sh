#!/usr/bin/env bash
# Start-up time and memory of the program against a bare Qt program that shows an empty main window,
# same machine, same run, under a private Xvfb display.
#
#   bench/bench_startup.sh [build-dir] [runs] [display]
#
# Time: from just before exec to the moment the main window is first exposed (each program prints the
# wall clock then, when QMX_REPORT_SHOWN is set, and quits). The program starts fully: language file,
# sourcesdk set, both browsers restored from the settings file, options restored. Runs alternate
# between the two programs; the medians are compared. Memory: maximum resident set size of one run of
# each, from /usr/bin/time -v.
set -euo pipefail
. "$(dirname "$0")/lib.sh"

build=$(cd "${1:-build}" && pwd)
runs=${2:-20}
display=${3:-:91}

work=$(mktemp -d /tmp/qmx-bench-XXXXXX)
xvfb_pid=""
cleanup()
{
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# A program directory and a Wine prefix of its own.
mkdir -p "$work/prefix/dosdevices"
ln -s ../drive_c "$work/prefix/dosdevices/c:"
make_bench_workspace "$work/prefix/drive_c" 'C:' "$work/prog"
cp "$build/qmxgui" "$build/language.qmxII" "$work/prog/"
start_bench_display

export DISPLAY=$display WINEPREFIX=$work/prefix sourcesdk='C:\sdk' QMX_REPORT_SHOWN=1 WINEDEBUG=-all
unset QT_QPA_PLATFORM

shown_ms()
{
    local start end
    start=$(date +%s%N)
    end=$("$@" 2>/dev/null | tail -1)
    echo $(((end - start) / 1000))
}

median()
{
    sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

: >"$work/program.txt"
: >"$work/bare.txt"
# One warm-up of each so that both start from a warm file cache.
shown_ms "$work/prog/qmxgui" >/dev/null
shown_ms "$build/bench/bare_window" >/dev/null
for _ in $(seq 1 "$runs"); do
    shown_ms "$work/prog/qmxgui" >>"$work/program.txt"
    shown_ms "$build/bench/bare_window" >>"$work/bare.txt"
done

program_us=$(median <"$work/program.txt")
bare_us=$(median <"$work/bare.txt")
rss()
{
    /usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F': ' '/Maximum resident set size/ { print $2 }'
}
program_kb=$(rss "$work/prog/qmxgui")
bare_kb=$(rss "$build/bench/bare_window")

awk -v p="$program_us" -v b="$bare_us" -v n="$runs" -v pk="$program_kb" -v bk="$bare_kb" 'BEGIN {
    printf "start to window shown, median of %d runs: program %.1f ms, bare Qt window %.1f ms, ratio %.2f (target <= 1.5)\n",
        n, p / 1000, b / 1000, p / b
    printf "maximum resident set: program %.1f MiB, bare Qt window %.1f MiB, difference %+.1f MiB (target <= +15)\n",
        pk / 1024, bk / 1024, (pk - bk) / 1024
}'
