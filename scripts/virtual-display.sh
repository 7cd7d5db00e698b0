# Sourced by the screenshot scripts: a virtual X display with a small window manager.
# start_virtual_display picks the first free display number, exports DISPLAY and starts Xvfb and
# openbox; every process added to `pids` is ended by kill_started.

pids=()

kill_started() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
}

start_virtual_display() {
    local display=99
    while [ -e "/tmp/.X${display}-lock" ]; do
        display=$((display + 1))
    done
    export DISPLAY=":$display"

    Xvfb "$DISPLAY" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
    pids+=($!)
    for _ in $(seq 50); do
        xdpyinfo >/dev/null 2>&1 && break
        sleep 0.1
    done
    openbox >/dev/null 2>&1 &
    pids+=($!)
    sleep 1
}
