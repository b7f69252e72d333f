#!/usr/bin/env bash
# Runs once with each of: xfce4-panel lxqt-panel
# A real StatusNotifierItem host draws the icon and, from what the program exports over
# DBusMenu, its menu: the exit entry ends the open dialog unsaved and the program, and takes the
# icon away; a left click opens the dialog. The item's tip is "Kirorin". (The entries and the
# program's own menu, which a host that draws no menu of its own asks for through ContextMenu as
# an XEmbed tray does through a right click, are tested in test-tray.sh.)
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/tray-lib.sh"
e2e_setup "$1"
own_bus
panel=$2

start_panel "$panel"
start_program host "LSAN_OPTIONS=suppressions=$(cd "$(dirname "$0")" && pwd)/tray-lsan.supp"
wait_until 20 panel_icon_shown || fail "no icon on $panel"
read -r w h x y <<<"$(panel_drawing)"
x=$((x + w / 2)) y=$((y + h / 2))

tip=$(item org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierItem ToolTip)
[[ $tip == *"'Kirorin'"* ]] || fail "tip $tip"

xdotool mousemove "$x" "$y" sleep 0.2 click 1
wait_dialog "a left click"
xdotool key End # wariness to its top, never saved
before=$(settings_hex)
# A right click shows the host's menu for the icon, two entries and a separator tall; a click
# near its bottom chooses the exit.
xdotool mousemove "$x" "$y" sleep 0.2 click 3
wait_until 5 eval '[[ -n $(host_menu_window) ]]' || fail "no menu on a right click"
read -r mx my mw mh _ <<<"$(geometry "$(host_menu_window)")"
((mh < 120)) || fail "menu ${mw}x$mh is not the two-entry menu"
xdotool mousemove $((mx + mw / 2)) $((my + mh - 14)) sleep 0.2 click 1
expect_exit 0 "$PID_host" "the second entry"
[[ $(settings_hex) == "$before" ]] || fail "the exit saved the dialog's values"
wait_until 5 eval '! panel_icon_shown' || fail "the icon stayed on $panel"
echo PASS
