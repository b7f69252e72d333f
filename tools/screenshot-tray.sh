#!/usr/bin/env bash
# Screenshots of the program in an XEmbed tray (trayer) under Xvfb: the icon, its open menu, and
# the settings dialog opened by a double click.
# Usage: tools/screenshot-tray.sh [-l LOCALE] [build directory] [output folder]
# -l runs the program with LANG=LOCALE (e.g. en_US.UTF-8) and names the pictures after its
# language (tray-menu-en.png); without it the program shows its Japanese texts (tray-menu.png).
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tests/e2e/lib.sh"
source "$root/tests/e2e/tray-lib.sh"
locale=C.UTF-8
suffix=
if [[ ${1:-} == -l ]]; then
    locale=$2
    suffix=-${locale%%[_.]*}
    shift 2
fi
build=${1:-$root/build}
out=${2:-$root/docs/images}
[[ -x $build/kirorin ]] || { echo "missing $build/kirorin" >&2; exit 1; }
e2e_setup "$build/kirorin"
own_bus
mkdir -p "$out"

trayer --edge top --align right --widthtype request --height 24 --transparent false &>/dev/null &
start_program shot LANG="$locale"
wait_until 10 eval '[[ -n $(icon_window) ]]' || fail "no icon in the tray"
sleep 1
# The panel sits at the top right corner; a little of the desktop around it.
import -window root -crop 96x40+928+0 +repage "$out/tray-icon$suffix.png"

click_icon 3
wait_until 5 menu_shown || fail "no menu"
sleep 0.5
read -r mx my mw mh _ <<<"$(geometry "$(menu_window)")"
import -window root -crop $((1024 - mx + 8))x$((my + mh + 8))+$((mx - 8))+0 +repage \
    "$out/tray-menu$suffix.png"
xdotool key Escape

click_icon 1 2
wait_dialog "a double click"
sleep 1
import -window "$(dialog_windows)" "$out/dialog-from-tray$suffix.png"
stop_program "$PID_shot"
for png in tray-icon$suffix tray-menu$suffix dialog-from-tray$suffix; do
    echo "wrote $out/$png.png ($(identify -format '%wx%h' "$out/$png.png"))"
done
