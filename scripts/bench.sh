#!/bin/bash
# Runs the benchmarks of one machine in one go, so their figures can be compared as ratios:
#   1. OpenSSL's DES-ECB throughput (openssl speed, largest block size), exported as
#      TORVANE_OPENSSL_DES_MBS in MB/s (10^6 bytes per second) for the benchmarks to compare with;
#   2. every *_bench executable of the release build;
#   3. the Windows measurement programs (sources in bench/wine/) of the mingw build, under Wine
#      (scripts/bench-wine.sh), the record list's beside native runs of pass_list_bench.
#
#   scripts/bench.sh <release-build-dir> <mingw-build-dir>
set -uo pipefail

if [ $# -ne 2 ]; then
    echo "usage: $0 <release-build-dir> <mingw-build-dir>" >&2
    exit 2
fi
release="$(cd "$1" && pwd)" || exit 2
mingw="$2"
root="$(cd "$(dirname "$0")/.." && pwd)"
status=0

echo "=== OpenSSL DES-ECB (openssl speed -evp des-ecb) ==="
# -mr prints "+F:<n>:DES-ECB:<bytes per second for each block size>"; the last field is the largest size.
speed="$(openssl speed -evp des-ecb -provider legacy -provider default -seconds 2 -bytes 16384 -mr 2>/dev/null |
    awk -F: '/^\+F:/ { print $NF }' | tail -1)"
if [ -n "$speed" ]; then
    TORVANE_OPENSSL_DES_MBS="$(awk -v b="$speed" 'BEGIN { printf "%.1f", b / 1e6 }')"
    export TORVANE_OPENSSL_DES_MBS
    echo "TORVANE_OPENSSL_DES_MBS=$TORVANE_OPENSSL_DES_MBS (MB/s, 16384-byte blocks)"
else
    echo "openssl speed gave no figure (is the legacy provider installed?); benchmarks print no ratios"
fi

for exe in "$release"/*_bench; do
    [ -x "$exe" ] || continue
    echo
    echo "=== $(basename "$exe") ==="
    "$exe" || status=1
done

wine_exes=()
for src in "$root"/bench/wine/*.cpp; do
    [ -f "$src" ] || continue
    exe="$mingw/$(basename "$src" .cpp).exe"
    [ -f "$exe" ] && wine_exes+=("$(cd "$(dirname "$exe")" && pwd)/$(basename "$exe")")
done
if ((${#wine_exes[@]})); then
    echo
    echo "=== Under Wine ==="
    "$root/scripts/wine-session.sh" -- "$root/scripts/bench-wine.sh" "$release" "${wine_exes[@]}" || status=1
fi
exit $status
