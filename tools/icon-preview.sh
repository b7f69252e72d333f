#!/usr/bin/env bash
# Draws the icon's rendered sizes on a light and a dark panel, at their own size and enlarged
# (16 px x8, 32 and 48 px x4, nearest neighbour so every pixel shows), into one PNG sheet.
# Usage: tools/icon-preview.sh <folder with kirorin-16/32/48.png> <output.png>
set -euo pipefail
[[ $# -eq 2 ]] || { echo "usage: $0 <icon folder> <output.png>" >&2; exit 2; }
in=$1 out=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

tile() { # background colour, image, enlargement, output file
    convert "$2" -scale "$3" -background "$1" -flatten -bordercolor "$1" -border 8 "$4"
}
row() { # background colour, output file
    tile "$1" "$in/kirorin-16.png" 100% "$work/a.png"
    tile "$1" "$in/kirorin-32.png" 100% "$work/b.png"
    tile "$1" "$in/kirorin-48.png" 100% "$work/c.png"
    tile "$1" "$in/kirorin-16.png" 800% "$work/d.png"
    tile "$1" "$in/kirorin-32.png" 400% "$work/e.png"
    tile "$1" "$in/kirorin-48.png" 400% "$work/f.png"
    convert -background "$1" "$work"/[a-f].png -gravity center +append "$2"
}
row '#f2f2f2' "$work/light.png"
row '#2b2b2b' "$work/dark.png"
convert "$work/light.png" "$work/dark.png" -append -strip "$out"
