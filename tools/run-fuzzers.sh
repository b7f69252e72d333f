#!/usr/bin/env bash
# Runs every fuzz target in a build folder for a bounded time, starting from its seed corpus.
set -euo pipefail
dir=${1:?build folder}
seconds=${2:-60}
found=0
for target in "$dir"/fuzz/fuzz_*; do
    [[ -x "$target" && -f "$target" ]] || continue
    found=1
    name=$(basename "$target")
    corpus=$(mktemp -d)
    seeds="$dir/fuzz/${name}_seeds"
    [[ -d "$seeds" ]] && cp -r "$seeds"/. "$corpus"/
    echo "== $name for ${seconds}s"
    "$target" -max_total_time="$seconds" -print_final_stats=1 "$corpus" 2>&1 | tail -n 12
    rm -rf "$corpus"
done
[[ $found -eq 1 ]] || { echo "no fuzz targets in $dir/fuzz" >&2; exit 1; }
