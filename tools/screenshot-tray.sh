#!/usr/bin/env bash
# Screenshots of the program in an XEmbed tray (trayer) under Xvfb: the icon, its open menu, and
# the settings dialog opened by a double click.
# Usage: tools/screenshot-tray.sh [build directory] [output folder]
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
out=${2:-$root/docs/images}
source "$root/tests/e2e/lib.sh"
source "$root/tests/e2e/tray-lib.sh"
[[ -x $build/kirorin ]] || { echo "missing $build/kirorin" >&2; exit 1; }
tray_setup "$build/kirorin"
mkdir -p "$out"

start_tray
start_program shot
wait_icon
sleep 1
# The panel sits at the top right corner; a little of the desktop around it.
import -window root -crop 96x40+928+0 +repage "$out/tray-icon.png"

click_icon 3
wait_until 5 menu_shown || fail "no menu"
sleep 0.5
read -r mx my <<<"$(window_corner "$(menu_window)")"
read -r mw mh <<<"$(window_size "$(menu_window)")"
import -window root -crop $((1024 - mx + 8))x$((my + mh + 8))+$((mx - 8))+0 +repage \
    "$out/tray-menu.png"
xdotool key Escape

click_icon 1 2
wait_until 5 dialog_open || fail "no dialog"
sleep 1
import -window "$(dialog_windows)" "$out/dialog-from-tray.png"
stop_program "$PID_shot"
for png in tray-icon tray-menu dialog-from-tray; do
    echo "wrote $out/$png.png ($(identify -format '%wx%h' "$out/$png.png"))"
done
