#!/usr/bin/env bash
# Runs the x11 backend's tests on a private X server:
#   x11_run.sh [--compositor] [--wm] <binary> [args]
# Starts Xvfb on a free display (and xcompmgr, and the openbox window manager, when asked), runs
# the binary with DISPLAY set, and stops whatever it started, however it ends.
set -euo pipefail

compositor=0
wm=0
while [ $# -gt 0 ]; do
    case "$1" in
        --compositor) compositor=1 ;;
        --wm) wm=1 ;;
        *) break ;;
    esac
    shift
done

dir=$(mktemp -d)
pids=()
cleanup() {
    local i
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
        wait "${pids[i]}" 2>/dev/null || true
    done
    rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# -displayfd: the server takes a free display number and writes it once it accepts clients;
# -noreset: it stays up between tests, when no client is connected for a moment.
Xvfb -displayfd 3 -screen 0 1024x768x24 -br -noreset -nolisten tcp 3>"$dir/display" 2>"$dir/xvfb.log" &
pids+=($!)
for _ in $(seq 400); do
    [ -s "$dir/display" ] && break
    if ! kill -0 "${pids[0]}" 2>/dev/null; then
        cat "$dir/xvfb.log" >&2
        exit 1
    fi
    sleep 0.05
done
if [ ! -s "$dir/display" ]; then
    echo "x11_run.sh: Xvfb did not start" >&2
    exit 1
fi
export DISPLAY=":$(head -n1 "$dir/display")"
unset MORADEX_BACKEND MORADEX_TEST_COMPOSITOR MORADEX_TEST_WM

if [ "$wm" = 1 ]; then
    # Its own empty configuration folder: no user's settings, no autostart.
    mkdir -p "$dir/config"
    XDG_CONFIG_HOME="$dir/config" openbox --sm-disable >"$dir/openbox.log" 2>&1 &
    pids+=($!)
    # Managed once it names its check window on the root.
    for _ in $(seq 400); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        if ! kill -0 "${pids[-1]}" 2>/dev/null; then
            cat "$dir/openbox.log" >&2
            exit 1
        fi
        sleep 0.05
    done
    if ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
        echo "x11_run.sh: openbox did not start" >&2
        exit 1
    fi
    export MORADEX_TEST_WM=1
fi

if [ "$compositor" = 1 ]; then
    xcompmgr 2>"$dir/xcompmgr.log" &
    pids+=($!)
    # The tests wait until the compositor owns the screen before they start.
    export MORADEX_TEST_COMPOSITOR=1
fi

"$@"
