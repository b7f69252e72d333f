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
read -r x y <<<"$(panel_icon_centre)"

# right_click_menu: the host's menu for the icon, two entries and a separator tall; sets mx my mw mh.
right_click_menu() {
    xdotool mousemove "$x" "$y" sleep 0.2 click 3
    wait_until 5 host_menu_shown || fail "no menu on a right click"
    read -r mx my <<<"$(window_corner "$(host_menu_window)")"
    read -r mw mh <<<"$(window_size "$(host_menu_window)")"
    ((mh < 120)) || fail "menu ${mw}x$mh is not the two-entry menu"
}
close_dialog() {
    sleep 0.5 # the dialog takes keys once it has the focus
    xdotool key Escape
    wait_until 5 dialog_closed || fail "Escape did not close the dialog"
}

xdotool mousemove "$x" "$y" sleep 0.2 click 1
wait_until 5 dialog_open || fail "a left click opened no dialog"
close_dialog

right_click_menu
[[ -z ${E2E_SHOTS:-} ]] || import -window root -crop $((mw + 40))x$((my + mh + 8))+$((mx - 20))+0 \
    +repage "$E2E_SHOTS/tray-menu-$panel.png"
xdotool mousemove $((mx + mw / 2)) $((my + 14)) sleep 0.2 click 1
wait_until 5 dialog_open || fail "the first entry opened no dialog"
close_dialog

right_click_menu
xdotool mousemove $((mx + mw / 2)) $((my + mh - 14)) sleep 0.2 click 1
wait_until 5 ended "$PID_host" || fail "the second entry did not end the program"
[[ $(exit_code "$PID_host") == 0 ]] || fail "exit code"
wait_until 5 eval '! panel_icon_shown' || fail "the icon stayed on $panel"
echo PASS
