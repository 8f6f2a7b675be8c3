#!/bin/bash
# Runs one command inside a prepared Wine session: the prefix (made once, with fonts and
# a 1024x768 virtual desktop), a private Xvfb display unless --use-display is given and
# DISPLAY is set, and a persistent wineserver so each exe starts fast. Everything the
# session started is stopped afterwards; the command's exit status is returned.
#
#   scripts/wine-session.sh [--prefix DIR] [--lang LOCALE] [--use-display] -- command args...
#
# Inside the command, WINEPREFIX, DISPLAY, LANG and WINEDEBUG are set, and `wine` works.
# The wineserver stopped at the end is the prefix's own, so sessions in other prefixes (the
# tests' build/wineprefix, `make run`'s build/wineprefix-run) never end each other's programs.
# LOCALE (default ja_JP.UTF-8) decides Wine's ANSI code page: en_US.UTF-8 gives 1252.
set -uo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
prefix="$(cd "$here/.." && pwd)/build/wineprefix"
use_display=0
lang=ja_JP.UTF-8
while (($#)); do
    case "$1" in
    --prefix) prefix="$2"; shift 2 ;;
    --use-display) use_display=1; shift ;;
    --lang) lang="$2"; shift 2 ;;
    --) shift; break ;;
    *) break ;;
    esac
done

export WINEPREFIX="$prefix"
export WINEDEBUG=-all
export LANG="$lang"
export LC_ALL="$lang"
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

xvfb_pid=""
cleanup() {
    wineserver -k >/dev/null 2>&1
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; fi
}
trap cleanup EXIT

if [ "$use_display" = 0 ] || [ -z "${DISPLAY:-}" ]; then
    n=90
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    for _ in $(seq 100); do
        [ -e "/tmp/.X11-unix/X$n" ] && break
        sleep 0.05
    done
fi

if [ ! -f "$WINEPREFIX/.torvane-ready" ]; then
    echo "Preparing the Wine prefix in $WINEPREFIX ..."
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wineserver -w
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
    reg="$(mktemp --suffix=.reg)"
    cat >"$reg" <<'EOF'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1024x768"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug]
"Debugger"=""
EOF
    wine regedit /S "$reg" >/dev/null 2>&1
    wineserver -w
    rm -f "$reg"
    touch "$WINEPREFIX/.torvane-ready"
fi

wineserver -p >/dev/null 2>&1
# Start Wine's own background processes (services, the desktop) now, detached from any pipe:
# started by a test, they would inherit its output pipe and keep a reader waiting forever.
wine cmd /c exit </dev/null >/dev/null 2>&1
"$@"
status=$?
exit $status
