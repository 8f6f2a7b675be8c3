#!/bin/bash
# `make screenshots`: PNGs of Torvane's windows under build/screenshots/, so anyone can look at
# the real layout and the Japanese text. The Windows tests named Screenshot* save them when
# TORVANE_SCREENSHOTS names a folder; the headless `make run` adds the main window with the
# sample data.
set -euo pipefail
build="$1"
out="$2"
root="$(cd "$(dirname "$0")/.." && pwd)"
mkdir -p "$out"
"$root/scripts/wine-session.sh" -- bash -c "cd '$build' && TORVANE_SCREENSHOTS='$out' wine ./win_tests.exe --gtest_filter='Screenshot*'"
TORVANE_HOME="$root/build/screenshot-home" "$root/scripts/run.sh"
ls "$out"/*.png
