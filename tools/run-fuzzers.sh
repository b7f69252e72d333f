#!/usr/bin/env bash
# Runs every fuzz target in a build folder for a bounded time, starting from its seed corpus.
# The corpora grow in a temporary folder that goes at the end; an input that crashes a target is
# kept in <build folder>/fuzz/artifacts/ to reproduce it, never in the current folder.
set -euo pipefail
dir=${1:?build folder}
seconds=${2:-60}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
artifacts=$dir/fuzz/artifacts
found=0 failed=0
for target in "$dir"/fuzz/fuzz_*; do
    [[ -x "$target" && -f "$target" ]] || continue
    found=1
    name=$(basename "$target")
    corpus=$work/$name
    mkdir -p "$corpus" "$artifacts"
    seeds="$dir/fuzz/${name}_seeds"
    [[ -d "$seeds" ]] && cp -r "$seeds"/. "$corpus"/
    echo "== $name for ${seconds}s"
    status=0
    # An input that hangs is a finding too: report it in seconds, not after libFuzzer's 20 minutes.
    "$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 -artifact_prefix="$artifacts/$name-" \
        "$corpus" >"$work/$name.log" 2>&1 || status=$?
    tail -n 12 "$work/$name.log"
    if ((status != 0)); then
        echo "$name failed (status $status); inputs kept in $artifacts" >&2
        failed=1
    fi
done
[[ $found -eq 1 ]] || { echo "no fuzz targets in $dir/fuzz" >&2; exit 1; }
exit "$failed"
