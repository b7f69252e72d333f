#!/usr/bin/env bash
# Runs once with each of: xfce4-panel lxqt-panel
# A real StatusNotifierItem host draws the icon and, from what the program exports over
# DBusMenu, its menu: the settings entry opens the dialog, the exit entry ends the open dialog
# unsaved and the program, and takes the icon away; a left click opens the dialog. The item's tip
# is "Kirorin"; ContextMenu, which a host that draws no menu of its own calls, shows the
# program's menu at the pointer.
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
xdotool mousemove 300 200
item org.kde.StatusNotifierItem.ContextMenu 300 200 >/dev/null
wait_until 5 menu_shown || fail "ContextMenu showed no menu"
[[ $(geometry "$(menu_window)") == "300 200 "* ]] || fail "menu not at the pointer"
# Down from nothing selected lands on the first entry, the settings.
xdotool key Down Return
wait_dialog "the settings entry of the program's menu"
close_dialog

# click_menu ENTRY_Y: a right click shows the host's menu for the icon, two entries and a
# separator tall; then a click ENTRY_Y pixels from its top (from its bottom when negative).
click_menu() {
    xdotool mousemove "$x" "$y" sleep 0.2 click 3
    wait_until 5 eval '[[ -n $(host_menu_window) ]]' || fail "no menu on a right click"
    read -r mx my mw mh _ <<<"$(geometry "$(host_menu_window)")"
    ((mh < 120)) || fail "menu ${mw}x$mh is not the two-entry menu"
    xdotool mousemove $((mx + mw / 2)) $((my + ($1 + mh) % mh)) sleep 0.2 click 1
}

xdotool mousemove "$x" "$y" sleep 0.2 click 1
wait_dialog "a left click"
close_dialog
click_menu 14
wait_dialog "the first entry"
xdotool key End # wariness to its top, never saved
before=$(settings_hex)
click_menu -14
expect_exit 0 "$PID_host" "the second entry"
[[ $(settings_hex) == "$before" ]] || fail "the exit saved the dialog's values"
wait_until 5 eval '! panel_icon_shown' || fail "the icon stayed on $panel"
echo PASS
