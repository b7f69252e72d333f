#!/usr/bin/env bash
# With a StatusNotifierItem host: the item's tip, Activate opens the settings, ContextMenu shows
# the menu, whose exit entry ends the open dialog and the program.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/tray-lib.sh"
tray_setup "$1"

items=$E2E_DIR/sni-items
/usr/bin/python3 "$(dirname "$0")/tray-sni-watcher.py" "$items" &
E2E_PIDS+=($!)
wait_until 5 test -e "$items.ready" || fail "the watcher did not start"
start_program sni LSAN_OPTIONS=suppressions=$(cd "$(dirname "$0")" && pwd)/tray-lsan.supp
wait_until 10 test -s "$items" || fail "no item registered with the watcher"
read -r service path <"$items"
item() {
    gdbus call --session --dest "$service" --object-path "$path" --method "$@" >/dev/null
}

tip=$(gdbus call --session --dest "$service" --object-path "$path" \
    --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierItem ToolTip)
[[ $tip == *"'Kirorin'"* ]] || fail "tip $tip"

xdotool mousemove 300 200
item org.kde.StatusNotifierItem.Activate 300 200
wait_until 5 dialog_open || fail "Activate opened no dialog"
sleep 0.5
xdotool key End # wariness to its top, never saved
item org.kde.StatusNotifierItem.Activate 300 200

# The menu at the pointer, over the open dialog; its exit cancels the dialog, then ends. The
# item handles its calls in order, so by the time the menu shows the second Activate was handled.
item org.kde.StatusNotifierItem.ContextMenu 300 200
wait_until 5 menu_shown || fail "ContextMenu showed no menu"
(($(dialog_count) == 1)) || fail "a second Activate opened another dialog"
[[ $(window_corner "$(menu_window)") == "300 200" ]] || fail "menu not at the pointer"
before=$(settings_hex)
xdotool key Up Return
wait_until 5 ended "$PID_sni" || fail "the exit entry did not end the program"
[[ $(exit_code "$PID_sni") == 0 ]] || fail "exit code"
[[ $(settings_hex) == "$before" ]] || fail "the exit saved the dialog's values"
echo PASS
