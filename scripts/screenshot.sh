#!/bin/bash
# Saves PNG pictures of the program's windows, as the Windows tests show them under Wine, so
# anyone can look at the real layout and the Japanese text.
#
#   scripts/screenshot.sh [--prefix WINEPREFIX] BUILD_DIR [OUT_DIR] [GTEST_FILTER]
#
# Runs BUILD_DIR/win_tests.exe with TORVANE_SCREENSHOT_DIR set: every test that calls
# SaveScreenshot(window, name) leaves <name>.bmp, converted here to OUT_DIR/<name>.png
# (default: build/screenshots).
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/.." && pwd)"
session_args=()
if [ "${1:-}" = "--prefix" ]; then
    mkdir -p "$2"
    session_args=(--prefix "$(cd "$2" && pwd)")
    shift 2
fi
build="$(cd "${1:?usage: screenshot.sh [--prefix P] BUILD_DIR [OUT_DIR] [FILTER]}" && pwd)"
out="${2:-$root/build/screenshots}"
filter="${3:-*}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

"$here/wine-session.sh" "${session_args[@]}" -- bash -c '
    export TORVANE_SCREENSHOT_DIR="$(winepath -w "$1")"
    cd "$2" && timeout -k 5 300 wine ./win_tests.exe --gtest_filter="$3" >"$1/log.txt" 2>&1
' _ "$work" "$build" "$filter" || {
    echo "win_tests failed; its output:" >&2
    cat "$work/log.txt" >&2
}

shopt -s nullglob
count=0
for bmp in "$work"/*.bmp; do
    name="$(basename "$bmp" .bmp)"
    convert "$bmp" "$out/$name.png"
    echo "$out/$name.png"
    count=$((count + 1))
done
[ "$count" -gt 0 ] || { echo "no screenshots were taken" >&2; exit 1; }
