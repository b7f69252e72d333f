#!/usr/bin/env bash
# Usage: translations-complete.sh LUPDATE LRELEASE TS... -- SOURCES...
# Runs lupdate over the sources into a copy of each .ts file, which must come out unchanged, and
# lrelease over it, which must find every text translated.
set -euo pipefail
lupdate=$1 lrelease=$2 ts=()
shift 2
while [[ $1 != -- ]]; do ts+=("$1") && shift; done
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for file in "${ts[@]}"; do
    copy=$work/$(basename "$file")
    cp "$file" "$copy"
    "$lupdate" -silent -locations none -no-obsolete -source-language ja "$@" -ts "$copy"
    diff -u "$file" "$copy" || { echo "FAIL: $file differs from what lupdate makes of the sources" >&2 && exit 1; }
    report=$("$lrelease" "$copy" -qm "$work/out.qm")
    echo "$report"
    grep -q ' 0 unfinished)' <<<"$report" && ! grep -q 'Ignored' <<<"$report" ||
        { echo "FAIL: $file has unfinished or missing translations" >&2 && exit 1; }
done
