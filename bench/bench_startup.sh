#!/usr/bin/env bash
# Start-up of the program against a bare Qt program that shows an empty main window (bench/bare_window.cpp,
# same compiler, flags and Qt), in one run: builds what it needs, starts a private Xvfb display, and runs
# the two alternately (A B, then B A), each start timed from outside by bench/startup_probe.cpp.
#
#   bench/bench_startup.sh [--pairs N] [--no-wine] [--against OTHER-QMXGUI]
#
# Figures, each with both programs' min/median/max over N pairs (default 20), the ratio of the medians
# and the goal:
#   shown    exec to the main window's first frame (each program prints the wall clock after its first
#            expose, when QMX_REPORT_SHOWN is set, and quits: the same code in both, gui/toolkit/ShownReport.h)
#   whole    the whole process: start, shown, quit, ended
#   cpu      its processor time (user and system; no goal)
#   memory   peak resident memory
#   listed   exec until a window manager (openbox) lists the window in _NET_CLIENT_LIST; here the
#            programs stay until the probe ends them
#   Wine     shown, for qmxgui.exe and the bare window built with the same Qt for Windows, both run with
#            `wine` from the installed program folder in one prefix whose wineserver stays up (as Windows
#            does). Needs the mingw build with Qt for Windows: QMX_QT_WINDOWS as for scripts/build, or a
#            build-mingw/ made with it; --no-wine leaves this figure out.
# --against puts another build of qmxgui (say, the commit before a change) in the bare window's place, in a
# program folder of its own with the same files; the goals then do not apply and Wine is left out.
# The program starts fully: language file, sourcesdk set, both browsers restored from the settings
# file, options restored. Exits 1 when a goal is missed.
set -euo pipefail
# Build and set-up steps run quietly: say which one failed.
trap 'echo "bench/bench_startup.sh: line $LINENO failed" >&2' ERR
cd "$(dirname "$0")/.."
root=$(pwd)

pairs=20 wine=1 against=""
while [ $# -gt 0 ]; do
    case $1 in
    --pairs) pairs=$2; shift ;;
    --no-wine) wine=0 ;;
    --against) against=$(realpath "$2") wine=0; shift ;;
    *) echo "usage: bench/bench_startup.sh [--pairs N] [--no-wine] [--against OTHER-QMXGUI]" >&2; exit 2 ;;
    esac
    shift
done

# ---- build: what scripts/build makes, only these targets ----
if [ ! -f build/CMakeCache.txt ]; then
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build build -j2 --target qmxgui bare_window startup_probe >/dev/null
probe=$root/build/bench/startup_probe
if [ $wine -eq 1 ]; then
    cached=$(sed -n 's/^QMX_QT_WINDOWS:STRING=//p' build-mingw/CMakeCache.txt 2>/dev/null || true)
    if [ -n "${QMX_QT_WINDOWS:-}" ] && [ "$(realpath -m "$QMX_QT_WINDOWS")" != "$cached" ]; then
        rm -rf build-mingw/CMakeCache.txt build-mingw/CMakeFiles
        cmake -S . -B build-mingw --toolchain cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
            -DQMX_QT_WINDOWS="$(realpath -m "$QMX_QT_WINDOWS")" >/dev/null
    elif [ -z "$cached" ]; then
        echo "The Wine figure needs Qt for Windows: set QMX_QT_WINDOWS (see scripts/build), or give --no-wine" >&2
        exit 2
    fi
    cmake --build build-mingw -j2 --target qmxgui qmxcompile bare_window >/dev/null
fi

work=$(mktemp -d /tmp/qmx-bench-XXXXXX)
xvfb_pid="" wm_pid=""
cleanup()
{
    [ $wine -eq 0 ] || WINEPREFIX=$root/build-mingw/bench-wineprefix wineserver -k 2>/dev/null || true
    [ -z "$wm_pid" ] || kill "$wm_pid" 2>/dev/null || true
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# A maps folder of 20 maps and a game folder under the host folder $1 (Windows form $2), and a
# settings.qmxII in the program folder $3 that restores both browsers and a mixed option set.
make_workspace()
{
    mkdir -p "$1/maps/work" "$1/games/hl2/maps" "$3"
    for i in $(seq 1 20); do : >"$1/maps/work/map$i.vmf"; done
    : >"$1/games/hl2/maps/readme.txt"
    printf '[settings]\r\nLastDir=%s\\maps\\work\r\nLastMapDir=%s\\games\\hl2\\maps\r\nLastUsedSettings=%s\r\n' "$2" "$2" \
        '1,1,1|0,0,0,0,0,1,0,0,0,0,0,0,0,0,0,0,0,0,1,2|1,0,0|1,0,0,0,0,0,0,0,0,0,0,1,8,0,0,0,0|1' >"$3/settings.qmxII"
}

# The program folder, with the yardstick beside the program: both start from it, with the same environment.
mkdir -p "$work/prefix/dosdevices"
ln -s ../drive_c "$work/prefix/dosdevices/c:"
make_workspace "$work/prefix/drive_c" 'C:' "$work/prog"
cp build/qmxgui build/language.qmxII build/bench/bare_window "$work/prog/"
bare=./bare_window yardstick="a bare Qt window" label=bare
if [ -n "$against" ]; then
    make_workspace "$work/prefix/drive_c" 'C:' "$work/other"
    cp "$against" "$work/other/qmxgui"
    cp build/language.qmxII "$work/other/"
    bare=../other/qmxgui yardstick="$against" label=other
fi

# A private display: Xvfb picks a free number and writes it once it takes connections.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
until [ -s "$work/display" ]; do
    kill -0 "$xvfb_pid" 2>/dev/null || { echo "Xvfb did not start" >&2; exit 2; }
    sleep 0.02
done
export DISPLAY=:$(head -1 "$work/display") sourcesdk='C:\sdk' QMX_REPORT_SHOWN=1 WINEDEBUG=-all
unset QT_QPA_PLATFORM

loads=""
note_load() { loads+="${loads:+; }$1 $(cut -d' ' -f1-3 /proc/loadavg)"; }

# run_pairs NAME PROBE-OPTION PROGRAM BARE: two warm-ups of each, then the pairs, alternating which goes
# first; one probe line a start into $work/NAME.program and $work/NAME.bare.
run_pairs()
{
    local name=$1 option=$2 program=$3 bare=$4 i
    : >"$work/$name.program"
    : >"$work/$name.bare"
    for i in 1 2; do
        $probe $option -- $program >/dev/null
        $probe $option -- $bare >/dev/null
    done
    for i in $(seq 1 "$pairs"); do
        if [ $((i % 2)) -eq 1 ]; then
            $probe $option -- $program >>"$work/$name.program"
            $probe $option -- $bare >>"$work/$name.bare"
        else
            $probe $option -- $bare >>"$work/$name.bare"
            $probe $option -- $program >>"$work/$name.program"
        fi
    done
}

note_load start
(cd "$work/prog" && WINEPREFIX=$work/prefix run_pairs plain "" ./qmxgui $bare)
note_load "after the plain display"

if [ $wine -eq 1 ]; then
    export WINEPREFIX=$root/build-mingw/bench-wineprefix WINEDLLOVERRIDES="mscoree,mshtml="
    cmake --install build-mingw --prefix "$work/winprog" >/dev/null
    cp build-mingw/bench/bare_window.exe "$work/winprog/"
    [ -d "$WINEPREFIX/drive_c" ] || wineboot -i >/dev/null 2>&1
    make_workspace "$WINEPREFIX/drive_c/qmxbench" 'C:\qmxbench' "$work/winprog"
    # A server that wineboot or an earlier run left behind would refuse -p: start from none.
    wineserver -k 2>/dev/null || true
    wineserver -w
    wineserver -p
    (cd "$work/winprog" && run_pairs wine "" "wine qmxgui.exe" "wine bare_window.exe")
    wineserver -k
    unset WINEPREFIX
    note_load "after Wine"
fi

openbox --sm-disable >/dev/null 2>&1 &
wm_pid=$!
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
    kill -0 "$wm_pid" 2>/dev/null || { echo "openbox did not start" >&2; exit 2; }
    sleep 0.02
done
(cd "$work/prog" && WINEPREFIX=$work/prefix QMX_REPORT_SHOWN=keep run_pairs wm --listed ./qmxgui $bare)
note_load "after the window manager"

echo "Start-up of qmxgui against $yardstick, $pairs interleaved pairs each; $(date -u '+%Y-%m-%d %H:%M UTC')," \
    "$(nproc) cores, Qt $(pkg-config --modversion Qt6Core 2>/dev/null || echo '?')"
echo "load average (1, 5, 15 min): $loads"
printf '%-40s %-25s %-25s %8s  %s\n' "figure" "qmxgui min/median/max" "$label min/median/max" \
    "ratio" "goal"

# figure TITLE NAME COLUMN SCALE KIND GOAL: KIND "ratio" (median ratio at most GOAL), "plus" (median at
# most the bare one's plus GOAL) or "none". Prints one row; returns 1 when the goal is missed.
figure()
{
    local title=$1 name=$2 column=$3 scale=$4 kind=$5 goal=$6
    [ -z "$against" ] || kind=none
    [ -s "$work/$name.program" ] || return 0
    awk -v title="$title" -v c="$column" -v s="$scale" -v kind="$kind" -v goal="$goal" '
        function stats(file, v,   n, line, f, i, j, t) {
            n = 0
            while ((getline line < file) > 0) { split(line, f, " "); v[++n] = f[c] / s }
            for (i = 2; i <= n; i++) { t = v[i]; for (j = i - 1; j > 0 && v[j] > t; j--) v[j + 1] = v[j]; v[j + 1] = t }
            return n
        }
        function median(v, n) { return n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2 }
        BEGIN {
            n = stats(ARGV[1], a); m = stats(ARGV[2], b)
            pa = median(a, n); pb = median(b, m)
            if (kind == "ratio") { ok = pa / pb <= goal; target = sprintf("<= %.2fx", goal) }
            else if (kind == "plus") { ok = pa - pb <= goal; target = sprintf("<= bare + %g", goal) }
            else { ok = 1; target = "(none)" }
            verdict = kind == "none" ? "" : (ok ? "  met" : "  MISSED")
            diff = kind == "plus" ? sprintf("  (%+.1f)", pa - pb) : ""
            printf "%-40s %7.1f %7.1f %7.1f   %7.1f %7.1f %7.1f   %6.2fx  %s%s%s\n", title, a[1], pa, a[n], b[1], pb, b[m],
                pa / pb, target, verdict, diff
            exit !ok
        }' "$work/$name.program" "$work/$name.bare"
}

missed=0
figure "exec to window shown (ms)" plain 1 1000 ratio 1.15 || missed=1
figure "whole process, start to end (ms)" plain 3 1000 ratio 1.15 || missed=1
figure "processor time (ms)" plain 4 1000 none 0 || missed=1
figure "peak resident memory (MiB)" plain 5 1024 plus 6 || missed=1
figure "exec to listed by openbox (ms)" wm 2 1000 ratio 1.25 || missed=1
figure "  and to shown, with openbox (ms)" wm 1 1000 none 0 || missed=1
figure "Wine: exec to window shown (ms)" wine 1 1000 ratio 1.15 || missed=1
exit $missed
