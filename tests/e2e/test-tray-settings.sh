#!/usr/bin/env bash
# The settings dialog from the tray: one dialog however often the icon is double-clicked, Cancel
# changes nothing, OK saves and restarts the chorus at once with the new values.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/tray-lib.sh"
tray_setup "$1"

# One never-disturbed cricket, all day; the clock stands at 08:00, outside 09:00 to 17:00.
write_settings 1000 0 1 100 0 9 0 17 0
start_tray
start_program_at settings "2026-01-01 08:00:00"
wait_icon
wait_capture 1

open_dialog() {
    click_icon 1 2
    wait_until 5 dialog_open || fail "a double click opened no dialog"
    sleep 0.5 # the dialog takes keys once it has the focus
}
# click_in_dialog X Y: a click at a point given in the dialog's 169 x 265 template units.
click_in_dialog() {
    local w=$(dialog_windows) x y width height
    read -r x y <<<"$(window_corner "$w")"
    read -r width height <<<"$(window_size "$w")"
    xdotool mousemove $((x + $1 * width / 169)) $((y + $2 * height / 265)) sleep 0.2 click 1
}
# "bytes mtime" of the settings file.
file_state() { echo "$(settings_hex) $(stat -c %.9Y "$(settings_file)")"; }
count_field() { settings_hex | cut -c17-24; }

# Cancel, after a second double click that only raises the open dialog.
open_dialog
read -r dx dy <<<"$(window_corner "$(dialog_windows)")"
read -r dw dh <<<"$(window_size "$(dialog_windows)")"
cx=$((dx + dw / 2 - 512)) cy=$((dy + dh / 2 - 384))
((cx * cx <= 1 && cy * cy <= 1)) || fail "dialog ${dw}x$dh at $dx,$dy is not centred"
before=$(file_state)
click_icon 1 2
# The icon stays live under the dialog: its menu opens (after the double click was handled, as
# the icon handles its clicks in order), and Escape closes the menu alone.
click_icon 3
wait_until 5 menu_shown || fail "no menu while the dialog is open"
(($(dialog_count) == 1)) || fail "$(dialog_count) dialogs after a second double click"
xdotool key Escape
wait_until 5 eval '! menu_shown' || fail "Escape left the menu open"
dialog_open || fail "Escape on the menu closed the dialog"
xdotool key Escape
wait_until 5 dialog_closed || fail "Escape did not close the dialog"

# OK with 16 crickets: saved, and the chorus sings louder at once (its loudest 50 ms).
from=$(capture_bytes)
wait_until 26 capture_holds $((from + 6 * RATE_BYTES)) || fail "capture stuck at $(capture_bytes)"
quiet=$(level "$from" "$(capture_bytes)" "RMS Pk dB")
open_dialog
# A save comes before the program handles its next click: a Cancel that wrote the file has
# written it by now.
[[ $(file_state) == "$before" ]] || fail "Cancel touched the settings file"
xdotool key Tab End Return
wait_until 5 dialog_closed || fail "Return did not close the dialog"
ok=$(capture_bytes)
[[ $(count_field) == 10000000 ]] || fail "the file holds $(settings_hex) after OK"
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
stop_program "$PID_settings"
echo PASS
