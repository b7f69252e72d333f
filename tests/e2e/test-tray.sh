#!/usr/bin/env bash
# The tray under a real window manager (xfwm4). In an XEmbed tray that starts after the program:
# the icon; its menu at the pointer, whose settings entry opens the dialog; one settings dialog
# however often the icon is double-clicked, its frame centred on the work area at every opening;
# Cancel changes nothing, OK saves and restarts the chorus at once with the new values.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/tray-lib.sh"
e2e_setup "$1"
own_bus
xfwm4 --compositor=off >"$E2E_DIR/err-xfwm4" 2>&1 &
wait_until 10 eval 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' ||
    fail "xfwm4 did not start"

# One never-disturbed cricket, all day; a fixed clock, so that its random draws (and so its
# loudness) are the same at every run.
write_settings 1000 0 1 100 0 0 0 23 59
start_program_at tray "2026-01-01 08:00:00"
wait_capture 1
trayer --edge top --align right --widthtype request --height 24 --transparent false &>/dev/null &
wait_until 6 eval '[[ -n $(icon_window) ]]' || fail "no icon in the tray"
read -r _ _ _ _ x y <<<"$(geometry "$(icon_window)")"

# A single left click does nothing. The icon handles its clicks in order, so once the right
# click's menu shows, the left click was handled: a menu it opened would have eaten the right
# click, a dialog would be there.
click_icon 1
click_icon 3
wait_until 5 menu_shown || fail "no menu (or the single click opened one)"
[[ -z $(dialog_windows) ]] || fail "a single click opened the dialog"
# At the pointer, shifted left only as far as the screen edge needs.
read -r mx my mw mh _ <<<"$(geometry "$(menu_window)")"
((my == y && mx + mw == 1024 && mx <= x)) || fail "menu at $mx,$my (${mw}x$mh), pointer at $x,$y"
((mh > 2 * 15 && mh < 4 * 30)) || fail "menu height $mh for two entries and a separator"
# Down from nothing selected lands on the first entry, the settings.
xdotool key Down Return

# centred WINDOW: its frame (from the extents the window manager reports) within a pixel of the
# work area's centre; sets fx fy fw fh.
centred() {
    local l r t b ax ay aw ah
    IFS=, read -r l r t b <<<"$(xprop -id "$1" _NET_FRAME_EXTENTS | tr -dc '0-9,')"
    read -r ax ay aw ah _ <<<"$(xprop -root _NET_WORKAREA | tr -dc '0-9, ' | tr ',' ' ')"
    read -r fx fy fw fh _ <<<"$(geometry "$1")"
    fx=$((fx - l)) fy=$((fy - t)) fw=$((fw + l + r)) fh=$((fh + t + b))
    [[ -n $b ]] && (((2 * fx + fw - 2 * ax - aw) ** 2 <= 4 && (2 * fy + fh - 2 * ay - ah) ** 2 <= 4))
}
# open_dialog CAUSE: CAUSE opened the dialog, centred and where it was before.
open_dialog() {
    wait_dialog "$1"
    wait_until 5 centred "$(dialog_windows)" || fail "frame ${fw}x$fh at $fx,$fy is not centred"
    [[ -z ${placed:-} || $placed == "$fx $fy" ]] || fail "dialog at $fx,$fy, earlier at $placed"
    placed="$fx $fy"
}

# Cancel, after a second double click that only raises the open dialog. The icon stays live
# under the dialog: its menu opens (after the double click was handled), and Escape closes the
# menu alone.
open_dialog "the settings entry of the menu"
before="$(settings_hex) $(stat -c %.9Y "$(settings_file)")" # bytes and mtime
click_icon 1 2
click_icon 3
wait_until 5 menu_shown || fail "no menu while the dialog is open"
(($(dialog_count) == 1)) || fail "$(dialog_count) dialogs after a second double click"
xdotool key Escape
wait_until 5 eval '! menu_shown' || fail "Escape left the menu open"
wait_dialog "Escape on the menu"
close_dialog

# OK with 16 crickets: saved, and the chorus sings louder at once (its loudest 50 ms).
wait_capture 6
quiet=$(level "$FROM" "$TO" "RMS Pk dB")
click_icon 1 2
open_dialog "a double click"
# A save comes before the program handles its next click: a Cancel that wrote the file has
# written it by now.
[[ "$(settings_hex) $(stat -c %.9Y "$(settings_file)")" == "$before" ]] || fail "Cancel wrote the file"
close_dialog "Tab End Return"
wait_capture 7
[[ $(settings_hex | cut -c17-24) == 10000000 ]] || fail "the file holds $(settings_hex) after OK"
loud=$(level "$FROM" "$TO" "RMS Pk dB")
db_above "$loud" "$quiet" 6 || fail "16 crickets at $loud dB after OK, 1 cricket at $quiet dB before"

stop_program "$PID_tray"
echo PASS
