#!/usr/bin/env bash
# Makes a minimal Debian 12 root in DIR, as a fresh machine would be: minbase plus git, make,
# sudo and CA certificates. The mirror is the one this machine's own apt sources name for
# bookworm, so none is written here. Needs root and debootstrap; takes a few minutes.
# Usage: tools/make-debian-root.sh DIR
set -euo pipefail

if [[ $# -ne 1 ]]; then
    echo "usage: $0 DIR" >&2
    exit 2
fi
dir=$1
if [[ -e "$dir" && -n "$(ls -A "$dir" 2>/dev/null)" ]]; then
    echo "$0: $dir exists and is not empty" >&2
    exit 2
fi
command -v debootstrap >/dev/null || { echo "$0: debootstrap not found (apt-get install debootstrap)" >&2; exit 1; }

# The first source of type deb whose suites include plain "bookworm": one-line
# (/etc/apt/sources.list, *.list) and deb822 (*.sources) formats.
find_mirror() {
    local f
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [[ -r "$f" ]] || continue
        awk '$1 == "deb" {
                 i = 2
                 if ($i ~ /^\[/) { while ($i !~ /\]$/) i++; i++ }
                 if ($(i + 1) == "bookworm") { print $i; exit }
             }' "$f"
    done
    for f in /etc/apt/sources.list.d/*.sources; do
        [[ -r "$f" ]] || continue
        awk 'function flush() {
                 if (types ~ /(^| )deb( |$)/ && suites ~ /(^| )bookworm( |$)/ && uris != "") {
                     split(uris, u, " "); print u[1]; found = 1; exit
                 }
                 types = uris = suites = ""
             }
             /^[ \t]*#/ { next }
             /^[ \t]*$/ { flush(); next }
             tolower($1) == "types:" { $1 = ""; types = $0 " " }
             tolower($1) == "uris:" { $1 = ""; uris = $0 }
             tolower($1) == "suites:" { $1 = ""; suites = $0 " " }
             END { if (!found) flush() }' "$f"
    done
}

mirror=$(find_mirror | head -n 1)
if [[ -z "$mirror" ]]; then
    echo "$0: no bookworm source of type deb in /etc/apt/sources.list or /etc/apt/sources.list.d" >&2
    exit 1
fi
echo "Mirror: $mirror"
debootstrap --variant=minbase --include=ca-certificates,git,make,sudo bookworm "$dir" "$mirror"
