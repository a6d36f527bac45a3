#!/usr/bin/env bash
# Without a display and without a forced backend the program says why and ends with status 1.
set -u
program=$1
output=$(env -u DISPLAY -u MORADEX_BACKEND "$program" 2>&1)
status=$?
expected="Moradex needs an X display (DISPLAY is not set)."
[ "$status" -eq 1 ] || { echo "status $status, expected 1"; exit 1; }
[ "$output" = "$expected" ] || { echo "printed: $output"; exit 1; }
