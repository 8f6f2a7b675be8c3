#!/bin/bash
# Runs one Windows executable under Wine with a time limit; used as CMake's emulator.
# Expects the environment of scripts/wine-session.sh.
#
# On a loaded machine Wine now and then fails to start a program at all: it ends at once, having
# written nothing. A program that failed without a word is started once more (saying so), so
# that such a failure is not taken for a failing test; one that wrote anything, or ran out of
# time, is not.
out="$(mktemp)"
trap 'rm -f "$out"' EXIT
for attempt in 1 2; do
    timeout -k 5 "${TORVANE_WINE_TIMEOUT:-120}" wine "$@" >"$out"
    status=$?
    if [ "$status" -eq 0 ] || [ -s "$out" ] || [ "$status" -eq 124 ] || [ "$status" -eq 137 ] || [ "$attempt" -eq 2 ]; then
        break
    fi
    echo "wine-exec: $1 ended with status $status before writing anything; starting it again" >&2
done
cat "$out"
exit "$status"
