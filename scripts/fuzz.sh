#!/bin/bash
# Runs every fuzz target of a build tree with the given libFuzzer options, each on its own
# corpus folder (kept under the build tree, seeded from fuzz/corpus/<target> when present).
set -euo pipefail
build="$1"; shift
root="$(cd "$(dirname "$0")/.." && pwd)"
status=0
for exe in "$build"/fuzz_*; do
    [ -x "$exe" ] || continue
    name="$(basename "$exe")"
    corpus="$build/corpus/$name"
    mkdir -p "$corpus"
    seeds=()
    [ -d "$root/fuzz/corpus/$name" ] && seeds=("$root/fuzz/corpus/$name")
    if "$exe" "$@" "$corpus" "${seeds[@]}" >"$build/$name.log" 2>&1; then
        echo "$name: ok ($(grep -o 'Done [0-9]* runs' "$build/$name.log" | tail -1))"
    else
        echo "$name: FAILED, see $build/$name.log"; tail -30 "$build/$name.log"; status=1
    fi
done
exit $status
