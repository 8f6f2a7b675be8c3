#!/bin/bash
# Runs one Windows executable under Wine with a time limit; used as CMake's emulator.
# Expects the environment of scripts/wine-session.sh.
exec timeout -k 5 "${TORVANE_WINE_TIMEOUT:-120}" wine "$@"
