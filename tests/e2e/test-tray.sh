#!/usr/bin/env bash
# The tray under a real window manager (xfwm4). In an XEmbed tray that starts after the program:
# the icon with its tip; its menu at the pointer; one settings dialog however often the icon is
# double-clicked, its frame centred on the work area at every opening; Cancel changes nothing, OK
# saves and restarts the chorus at once with the new values. With a StatusNotifierItem host: the
# item's tip, Activate, and the same menu from ContextMenu, whose exit entry ends the open dialog
# unsaved and the program.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
source "$here/tray-lib.sh"
tray_setup "$1"
xfwm4 --compositor=off >"$E2E_DIR/err-xfwm4" 2>&1 &
E2E_PIDS+=($!)
wait_until 10 eval 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' ||
    fail "xfwm4 did not start"

# One never-disturbed cricket, all day; the clock stands at 08:00, outside 09:00 to 17:00.
write_settings 1000 0 1 100 0 9 0 17 0
start_program_at tray "2026-01-01 08:00:00"
wait_capture 1
running "$PID_tray" || fail "the program ended without a tray"
trayer --edge top --align right --widthtype request --height 24 --transparent false &>/dev/null &
E2E_PIDS+=($!)
wait_until 6 eval '[[ -n $(icon_window) ]]' || fail "no icon in the tray"
read -r x y <<<"$(centre_of "$(icon_window)")"
xdotool mousemove --sync "$x" "$y"
# Its text is not readable from X (the item's ToolTip below is).
wait_until 5 tip_shown || fail "no tip on the icon"

# A single left click does nothing. The icon handles its clicks in order, so once the right
# click's menu shows, the left click was handled: a menu it opened would have eaten the right
# click, a dialog would be there.
click_icon 1
click_icon 3
wait_until 5 menu_shown || fail "no menu (or the single click opened one)"
dialog_closed || fail "a single click opened the dialog"
# At the pointer, shifted left only as far as the screen edge needs.
read -r mx my mw mh <<<"$(geometry "$(menu_window)")"
((my == y && mx + mw == 1024 && mx <= x)) || fail "menu at $mx,$my (${mw}x$mh), pointer at $x,$y"
((mh > 2 * 15 && mh < 4 * 30)) || fail "menu height $mh for two entries and a separator"
xdotool key Escape
wait_until 5 eval '! menu_shown' || fail "Escape left the menu open"

# centred WINDOW: its frame (from the extents the window manager reports) within a pixel of the
# work area's centre; sets fx fy fw fh.
centred() {
    local l r t b ax ay aw ah
    IFS=, read -r l r t b <<<"$(xprop -id "$1" _NET_FRAME_EXTENTS | tr -dc '0-9,')"
    read -r ax ay aw ah _ <<<"$(xprop -root _NET_WORKAREA | tr -dc '0-9, ' | tr ',' ' ')"
    read -r fx fy fw fh <<<"$(geometry "$1")"
    fx=$((fx - l)) fy=$((fy - t)) fw=$((fw + l + r)) fh=$((fh + t + b))
    local cx=$((2 * fx + fw - 2 * ax - aw)) cy=$((2 * fy + fh - 2 * ay - ah))
    [[ -n $b ]] && ((cx * cx <= 4 && cy * cy <= 4))
}
placed=
open_dialog() {
    click_icon 1 2
    wait_dialog "a double click"
    wait_until 5 centred "$(dialog_windows)" || fail "frame ${fw}x$fh at $fx,$fy is not centred"
    [[ -z $placed || $placed == "$fx $fy" ]] || fail "dialog at $fx,$fy, earlier at $placed"
    placed="$fx $fy"
}
# click_in_dialog X Y: a click at a point given in the dialog's 169 x 265 template units.
click_in_dialog() {
    local x y width height
    read -r x y width height <<<"$(geometry "$(dialog_windows)")"
    xdotool mousemove $((x + $1 * width / 169)) $((y + $2 * height / 265)) sleep 0.2 click 1
}
# "bytes mtime" of the settings file.
file_state() { echo "$(settings_hex) $(stat -c %.9Y "$(settings_file)")"; }

# Cancel, after a second double click that only raises the open dialog. The icon stays live
# under the dialog: its menu opens (after the double click was handled), and Escape closes the
# menu alone.
open_dialog
before=$(file_state)
click_icon 1 2
click_icon 3
wait_until 5 menu_shown || fail "no menu while the dialog is open"
(($(dialog_count) == 1)) || fail "$(dialog_count) dialogs after a second double click"
xdotool key Escape
wait_until 5 eval '! menu_shown' || fail "Escape left the menu open"
wait_dialog "Escape on the menu"
close_dialog

# OK with 16 crickets: saved, and the chorus sings louder at once (its loudest 50 ms).
from=$(capture_bytes)
wait_capture $((from / RATE_BYTES + 6))
quiet=$(level "$from" "$(capture_bytes)" "RMS Pk dB")
open_dialog
# A save comes before the program handles its next click: a Cancel that wrote the file has
# written it by now.
[[ $(file_state) == "$before" ]] || fail "Cancel touched the settings file"
xdotool key Tab End Return
wait_until 5 dialog_closed || fail "Return did not close the dialog"
ok=$(capture_bytes)
[[ $(settings_hex | cut -c17-24) == 10000000 ]] || fail "the file holds $(settings_hex) after OK"
wait_capture $((ok / RATE_BYTES + 7))
loud=$(level "$ok" $((ok + 7 * RATE_BYTES)) "RMS Pk dB")
db_above "$loud" "$(awk -v q="$quiet" 'BEGIN { print q + 6 }')" ||
    fail "16 crickets at $loud dB after OK, 1 cricket at $quiet dB before"

# OK with an activity window that excludes 08:00: silence from then on.
open_dialog
click_in_dialog 22 170 # the timed-window radio button
xdotool key Return
wait_until 5 dialog_closed || fail "Return did not close the dialog"
ok=$(capture_bytes)
[[ $(settings_hex | cut -c33-40) == 01000000 ]] || fail "the file holds $(settings_hex)"
wait_capture $((ok / RATE_BYTES + 3))
expect_silence $((ok + RATE_BYTES / 2)) $((ok + 3 * RATE_BYTES))

stop_program "$PID_tray"

# A StatusNotifierItem host (the tray above stays, unused).
items=$E2E_DIR/sni-items
/usr/bin/python3 "$here/tray-sni-watcher.py" "$items" &
E2E_PIDS+=($!)
wait_until 5 test -e "$items.ready" || fail "the watcher did not start"
start_program sni "LSAN_OPTIONS=suppressions=$here/tray-lsan.supp"
wait_until 10 test -s "$items" || fail "no item registered with the watcher"
read -r service path <"$items"
item() { gdbus call --session --dest "$service" --object-path "$path" --method "$@"; }
tip=$(item org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierItem ToolTip)
[[ $tip == *"'Kirorin'"* ]] || fail "tip $tip"
xdotool mousemove 300 200
item org.kde.StatusNotifierItem.Activate 300 200 >/dev/null
wait_dialog Activate
xdotool key End # wariness to its top, never saved
item org.kde.StatusNotifierItem.Activate 300 200 >/dev/null
# The menu at the pointer, over the open dialog; its exit cancels the dialog, then ends. The
# item handles its calls in order, so by the time the menu shows the second Activate was handled.
item org.kde.StatusNotifierItem.ContextMenu 300 200 >/dev/null
wait_until 5 menu_shown || fail "ContextMenu showed no menu"
(($(dialog_count) == 1)) || fail "a second Activate opened another dialog"
[[ $(geometry "$(menu_window)") == "300 200 "* ]] || fail "menu not at the pointer"
before=$(settings_hex)
# Up from nothing selected lands on the last entry, the exit.
xdotool key Up Return
expect_exit 0 "$PID_sni" "the exit entry"
[[ $(settings_hex) == "$before" ]] || fail "the exit saved the dialog's values"
echo PASS
