#!/bin/bash
# The Windows measurement programs under Wine, in the environment of scripts/wine-session.sh
# (scripts/bench.sh runs it there):
#   scripts/bench-wine.sh <release-build-dir> <exe>...
# The record list's comparison with the native build (list_io_timing) is run in rounds, each
# right after a native run of its own, and judged by the median of the rounds' ratios: measured
# minutes apart, the two builds met a shared machine in different moods, which moved the ratio
# by a third.
set -uo pipefail
release="$1"; shift
rounds=3
status=0

# "BM_LoadPlain=<ms>,BM_SavePlain=<ms>,..." from a run of the native list benchmarks, as
# list_io_timing takes them (TORVANE_NATIVE_TIMES).
native_times() {
    local file; file="$(mktemp)"
    TORVANE_NATIVE_TIMES="$file" "$release/pass_list_bench" --benchmark_filter='BM_(Load|Save)' >/dev/null 2>&1
    awk '{ printf "%s%s=%s", (NR > 1 ? "," : ""), $1, $2 }' "$file"
    rm -f "$file"
}

# The goal lines of the rounds ("plain load   61.3 ms  native   71.4 ms   0.86x, goal <= 1.5x: met")
# give each measure's median ratio, judged against its goal.
median_ratios() {
    awk '
        / goal <= / {
            label = $1 " " $2
            for (i = 3; i <= NF; ++i) if ($i ~ /x,$/) { ratio = substr($i, 1, length($i) - 2); goal[label] = substr($(i + 3), 1, length($(i + 3)) - 2) }
            if (!(label in count)) order[++labels] = label
            ratios[label, ++count[label]] = ratio + 0
        }
        END {
            for (k = 1; k <= labels; ++k) {
                label = order[k]; n = count[label]
                for (i = 1; i <= n; ++i) r[i] = ratios[label, i]
                for (i = 1; i <= n; ++i) for (j = i + 1; j <= n; ++j) if (r[j] < r[i]) { t = r[i]; r[i] = r[j]; r[j] = t }
                m = r[int((n + 1) / 2)]
                printf "%-15s %5.2fx, goal <= %sx: %s\n", label, m, goal[label], m <= goal[label] + 0 ? "met" : "NOT MET"
            }
        }' "$1"
}

for exe in "$@"; do
    name="$(basename "$exe")"
    echo "--- $name ---"
    cd "$(dirname "$exe")" || { status=1; continue; }
    if [ "$name" != list_io_timing.exe ]; then
        timeout -k 5 900 wine "$exe" || status=1
        continue
    fi
    lines="$(mktemp)"
    for round in $(seq "$rounds"); do
        echo "round $round of $rounds:"
        TORVANE_NATIVE_TIMES="$(native_times)" timeout -k 5 900 wine "$exe" --goal | tee -a "$lines" || status=1
    done
    echo "The same work, median of the $rounds rounds' ratios:"
    median_ratios "$lines"
    rm -f "$lines"
    TORVANE_NATIVE_TIMES="$(native_times)" timeout -k 5 900 wine "$exe" --information || status=1
done
exit $status
