# Shared set-up of the start-up benchmarks; sourced after each sets `display` and `xvfb_pid=""`.

# A maps folder of 20 maps and a game folder under the host folder $1 (Windows form $2), and a
# settings.qmxII in the program folder $3 that restores both browsers and a mixed option set.
make_bench_workspace() {
    mkdir -p "$1/maps/work" "$1/games/hl2/maps" "$3"
    for i in $(seq 1 20); do : >"$1/maps/work/map$i.vmf"; done
    : >"$1/games/hl2/maps/readme.txt"
    printf '[settings]\r\nLastDir=%s\\maps\\work\r\nLastMapDir=%s\\games\\hl2\\maps\r\nLastUsedSettings=%s\r\n' "$2" "$2" \
        '1,1,1|0,0,0,0,0,1,0,0,0,0,0,0,0,0,0,0,0,0,1,2|1,0,0|1,0,0,0,0,0,0,0,0,0,0,1,8,0,0,0,0|1' >"$3/settings.qmxII"
}

# A private Xvfb on $display, ready when this returns.
start_bench_display() {
    Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 1 100); do
        xdpyinfo -display "$display" >/dev/null 2>&1 && break
        sleep 0.05
    done
}
