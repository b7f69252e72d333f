#!/usr/bin/env bash
# Takes a screenshot of the settings dialog, showing the default settings, under Xvfb with the
# real xcb platform and the system's fonts.
# Usage: tools/screenshot-dialog.sh [-l LOCALE] [build directory] [output png]
# -l runs the dialog with LANG=LOCALE (e.g. en_US.UTF-8) and names the picture after its language
# (docs/images/dialog-en.png); without it the dialog shows its Japanese texts (dialog.png).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
locale=C.UTF-8
name=dialog
if [[ ${1:-} == -l ]]; then
    locale=$2
    name=dialog-${locale%%[_.]*}
    shift 2
fi
build=${1:-$root/build}
out=${2:-$root/docs/images/$name.png}
preview=$build/tools/kirorin-dialog-preview
if [[ ! -x $preview ]]; then
    echo "missing $preview: cmake --build --preset default --target kirorin-dialog-preview" >&2
    exit 1
fi

work=$(mktemp -d)
xvfb_pid=
preview_pid=
cleanup() {
    [[ -n $preview_pid ]] && kill "$preview_pid" 2>/dev/null || true
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display itself and writes its number once it accepts connections.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [[ -s $work/display ]] && break
    sleep 0.1
done
[[ -s $work/display ]] || { cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=:$(head -n1 "$work/display")

env -u LANGUAGE -u LC_ALL -u LC_MESSAGES LANG="$locale" QT_QPA_PLATFORM=xcb "$preview" >"$work/preview.log" 2>"$work/preview.err" &
preview_pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Kirorin$' | head -n1)
[[ -n $window ]] || { cat "$work/preview.err" >&2; exit 1; }
sleep 1 # let the first paint finish

mkdir -p "$(dirname "$out")"
import -window "$window" "$out"
head -n1 "$work/preview.log"
xdotool getwindowgeometry "$window" | sed 1d
echo "wrote $out ($(identify -format '%wx%h' "$out"))"
