#!/bin/bash
# `make screenshots`: PNGs of Torvane's windows under build/screenshots/, so anyone can look at
# the real layout and the Japanese text: the windows as the Windows tests show them, and the
# main window with the sample data as `make run` starts it. Both run on virtual displays of
# their own, in a prefix of their own, whatever DISPLAY says and whatever else runs.
set -euo pipefail
build="$1"
out="$2"
root="$(cd "$(dirname "$0")/.." && pwd)"
prefix="$root/build/wineprefix-screenshots"
mkdir -p "$out"
"$root/scripts/screenshot.sh" --prefix "$prefix" "$build" "$out"
rm -rf "$root/build/screenshot-home"
TORVANE_HOME="$root/build/screenshot-home" TORVANE_WINEPREFIX="$prefix" "$root/scripts/run.sh" --screenshot
