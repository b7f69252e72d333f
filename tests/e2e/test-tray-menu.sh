#!/usr/bin/env bash
# The icon in an XEmbed tray that starts after the program (it appears within a few seconds):
# its tip, its menu at the pointer, and the exit entry.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/tray-lib.sh"
tray_setup "$1"

start_program menu
wait_capture 1
running "$PID_menu" || fail "the program ended without a tray"
start_tray
wait_icon 6
read -r x y <<<"$(icon_centre)"

# Resting on the icon shows a tip; its text is not readable from X (the SNI test reads it).
xdotool mousemove --sync "$x" "$y"
wait_until 5 tip_shown || fail "no tip on the icon"

# A single left click does nothing. The icon handles its clicks in order, so once the right
# click's menu shows, the left click was handled: a menu it opened would have eaten the right
# click, a dialog would be there.
click_icon 1
# Right click: the menu at the pointer (shifted left only as far as the screen edge needs).
click_icon 3
wait_until 5 menu_shown || fail "no menu (or the single click opened one)"
dialog_closed || fail "a single click opened the dialog"
read -r mx my <<<"$(window_corner "$(menu_window)")"
read -r _ mw mh <<<"$(popup_windows | awk '$3 > 30')"
((my == y && mx + mw == 1024 && mx <= x)) || fail "menu at $mx,$my (${mw}x$mh), pointer at $x,$y"
((mh > 2 * 15 && mh < 4 * 30)) || fail "menu height $mh for two entries and a separator"

# Up from nothing selected lands on the last entry, the exit.
xdotool key Up Return
wait_until 5 ended "$PID_menu" || fail "the exit entry did not end the program"
[[ $(exit_code "$PID_menu") == 0 ]] || fail "exit code"
icon_shown && fail "the icon is still in the tray"
echo PASS
