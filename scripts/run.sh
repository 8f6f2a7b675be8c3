#!/bin/bash
# `make run`: starts Torvane.exe under Wine from a folder outside the build tree, so that
# rebuilding never touches the user's data file and settings. The folder is seeded on first
# use with a sample data file and a settings file that opens it.
#
# With a DISPLAY the program runs there until the user closes it. Without one, or with
# --screenshot, it runs on a virtual display, a screenshot of the main window is saved once the
# window shows, and the program is closed the normal way (WM_CLOSE), so it writes its settings as
# after any run.
#
# The program runs in a Wine prefix of its own (TORVANE_WINEPREFIX, default build/wineprefix-run),
# so `make test`, which stops the tests' wineserver, never ends it.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build/mingw"
home_dir="${TORVANE_HOME:-$HOME/Torvane}"
shots="$root/build/screenshots"
prefix="${TORVANE_WINEPREFIX:-$root/build/wineprefix-run}"
screenshot_only=0
[ "${1:-}" = "--screenshot" ] && screenshot_only=1

mkdir -p "$home_dir"
cp "$build/Torvane.exe" "$home_dir/Torvane.exe"
# The manual beside the program, where its help command looks for it.
cp "$build/Torvane.chm" "$home_dir/Torvane.chm"

if [ ! -e "$home_dir/Torvane.ini" ] && [ ! -e "$home_dir/sample.csv" ]; then
    # The data file is Shift_JIS with CR LF line ends, as the program writes it.
    iconv -f UTF-8 -t CP932 "$root/scripts/sample/sample.csv" | sed 's/$/\r/' >"$home_dir/sample.csv"
    seeded=1
else
    seeded=0
fi

if [ -n "${DISPLAY:-}" ] && [ "$screenshot_only" = 0 ]; then
    exec "$root/scripts/wine-session.sh" --prefix "$prefix" --use-display -- bash -c '
        if [ "'"$seeded"'" = 1 ]; then
            printf "LASTOPEN=%s\r\nLASTNODE=ソフトウェア\\画像編集\r\n" "$(winepath -w "'"$home_dir"'/sample.csv")" |
                iconv -f UTF-8 -t CP932 >"'"$home_dir"'/Torvane.ini"
        fi
        cd "'"$home_dir"'" && wine ./Torvane.exe'
fi

mkdir -p "$shots"
"$root/scripts/wine-session.sh" --prefix "$prefix" -- bash -c '
    set -e
    if [ "'"$seeded"'" = 1 ]; then
        printf "LASTOPEN=%s\r\nLASTNODE=ソフトウェア\\画像編集\r\n" "$(winepath -w "'"$home_dir"'/sample.csv")" |
            iconv -f UTF-8 -t CP932 >"'"$home_dir"'/Torvane.ini"
    fi
    cd "'"$home_dir"'"
    wine ./Torvane.exe &
    if ! wine "'"$build"'/winctl.exe" wait "Torvane (v." 60; then
        echo "The main window did not appear." >&2
        exit 1
    fi
    # The window is there; the picture is taken once the screen has stopped changing (painted,
    # and the desktop caught up), two equal captures in a row, within ten seconds.
    grab() { import -window root -crop 1024x768+0+0 +repage rgb:- | md5sum; }
    last="$(grab)"
    for _ in $(seq 50); do
        now="$(grab)"
        [ "$now" = "$last" ] && break
        last="$now"
    done
    import -window root -crop 1024x768+0+0 +repage "'"$shots"'/run.png"
    echo "Screenshot of the main window: '"$shots"'/run.png"
    wine "'"$build"'/winctl.exe" close "Torvane (v." 30
    wait
'
