#!/bin/bash
# Compiles the manual (docs/help, UTF-8) into the HTML help file:
#   scripts/build_help.sh SOURCE_DIR WORK_DIR OUTPUT.chm
# The viewer reads the project, contents and index files in the help file's language code
# page, so those three are converted to Shift_JIS; the pages say their own charset.
set -euo pipefail
src="$1"
work="$2"
out="$3"
rm -rf "$work"
mkdir -p "$work"
cp -r "$src"/. "$work"/
for f in "$work"/*.hhp "$work"/*.hhc "$work"/*.hhk; do
    iconv -f UTF-8 -t CP932 "$f" >"$f.sjis"
    mv "$f.sjis" "$f"
done
cd "$work"
log="$(chmcmd torvane.hhp 2>&1)" || { echo "$log" >&2; exit 1; }
# chmcmd reports files it cannot find as hints and still writes the file: a missing page or
# picture is an error here.
if grep -qi "couldn't find\|error" <<<"$log"; then
    echo "$log" >&2
    exit 1
fi
mv Torvane.chm "$out"
