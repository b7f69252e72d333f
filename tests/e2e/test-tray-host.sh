#!/usr/bin/env bash
# Runs once with each of: xfce4-panel lxqt-panel
# A real StatusNotifierItem host draws the icon and, from what the program exports over
# DBusMenu, its menu: the settings entry opens the dialog, the exit entry ends the program and
# takes the icon away; a left click opens the dialog. With E2E_SHOTS=folder it keeps a
# screenshot of the open menu there.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/tray-lib.sh"
tray_setup "$1"
panel=$2

start_panel "$panel"
start_program host "LSAN_OPTIONS=suppressions=$(cd "$(dirname "$0")" && pwd)/tray-lsan.supp"
wait_until 20 panel_icon_shown || fail "no icon on $panel"
read -r w h x y <<<"$(panel_drawing)"
x=$((x + w / 2)) y=$((y + h / 2))

# click_menu ENTRY_Y: a right click shows the host's menu for the icon, two entries and a
# separator tall; then a click ENTRY_Y pixels from its top (from its bottom when negative).
click_menu() {
    xdotool mousemove "$x" "$y" sleep 0.2 click 3
    wait_until 5 eval '[[ -n $(host_menu_window) ]]' || fail "no menu on a right click"
    read -r mx my mw mh <<<"$(geometry "$(host_menu_window)")"
    ((mh < 120)) || fail "menu ${mw}x$mh is not the two-entry menu"
    [[ -z ${E2E_SHOTS:-} ]] || import -window root -crop $((mw + 40))x$((my + mh + 8))+$((mx - 20))+0 \
        +repage "$E2E_SHOTS/tray-menu-$panel.png"
    xdotool mousemove $((mx + mw / 2)) $((my + ($1 + mh) % mh)) sleep 0.2 click 1
}

xdotool mousemove "$x" "$y" sleep 0.2 click 1
wait_dialog "a left click"
close_dialog
click_menu 14
wait_dialog "the first entry"
close_dialog
click_menu -14
expect_exit 0 "$PID_host" "the second entry"
wait_until 5 eval '! panel_icon_shown' || fail "the icon stayed on $panel"
echo PASS
