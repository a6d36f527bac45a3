#!/usr/bin/env bash
# Without a display it can open, and without a forced headless backend, the program says why on
# standard error and ends with status 1 (the bound only catches a program that runs on unseen).
set -u
program=$1
failed=0
check() {  # check <expected line> <env arguments...>
    local expected=$1
    shift
    local output status
    output=$(timeout 60 env -u DISPLAY -u MORADEX_BACKEND "$@" "$program" 2>&1 >/dev/null)
    status=$?
    if [ "$status" -ne 1 ] || [ "$output" != "$expected" ]; then
        echo "$*: status $status, printed: $output (expected 1, $expected)"
        failed=1
    fi
}
check "Moradex needs an X display (DISPLAY is not set)."
check "Moradex needs an X display (DISPLAY is not set)." MORADEX_BACKEND=x11
# A display number no server listens on, and a socket path that does not exist.
check "Moradex: cannot open display ':65000'." DISPLAY=:65000
check "Moradex: cannot open display '/nonexistent/moradex-x:0'." DISPLAY=/nonexistent/moradex-x:0
exit $failed
