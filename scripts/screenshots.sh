#!/bin/bash
# `make screenshots`: PNGs of Torvane's windows under build/screenshots/, so anyone can look at
# the real layout and the Japanese text: the windows as the Windows tests show them, and the
# main window with the sample data as `make run` starts it.
set -euo pipefail
build="$1"
out="$2"
root="$(cd "$(dirname "$0")/.." && pwd)"
mkdir -p "$out"
"$root/scripts/screenshot.sh" "$build" "$out"
rm -rf "$root/build/screenshot-home"
TORVANE_HOME="$root/build/screenshot-home" "$root/scripts/run.sh"
