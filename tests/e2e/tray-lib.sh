# Helpers for the tray tests: a private session bus, an XEmbed tray (trayer), the icon, the
# settings dialog and the tray menu as X windows. Source it after lib.sh, then call tray_setup "$1".

# The display, and a session bus of the test's own, stopped with the rest at the end.
tray_setup() {
    e2e_setup "$1"
    unset QT_QPA_PLATFORMTHEME XDG_CURRENT_DESKTOP
    dbus-daemon --session --fork --print-address=3 --print-pid=4 \
        3>"$E2E_DIR/bus" 4>"$E2E_DIR/bus.pid" 2>"$E2E_DIR/bus.log" || fail "no session bus"
    E2E_PIDS+=("$(cat "$E2E_DIR/bus.pid")")
    export DBUS_SESSION_BUS_ADDRESS=$(cat "$E2E_DIR/bus")
}

start_tray() {
    trayer --edge top --align right --widthtype request --height 24 --transparent false \
        >/dev/null 2>&1 &
    E2E_PIDS+=($!)
    TRAY_PID=$!
}

# The icon: the program's window embedded in trayer's panel.
icon_window() {
    xwininfo -root -tree 2>/dev/null | awk '/"panel": \("panel" "trayer"\)/ { p = 1 }
        p && /"kirorin": \("kirorin" "kirorin"\)/ { print $1; exit }'
}
icon_shown() { [[ -n $(icon_window) ]]; }
wait_icon() { wait_until "${1:-10}" icon_shown || fail "no icon in the tray"; }

# x y of the icon's centre, in root coordinates.
icon_centre() {
    xwininfo -id "$(icon_window)" | awk '/Absolute upper-left X/ { x = $4 }
        /Absolute upper-left Y/ { y = $4 } /Width/ { w = $2 } /Height/ { h = $2 }
        END { print x + int(w / 2), y + int(h / 2) }'
}

click_icon() {
    local xy
    read -r -a xy <<<"$(icon_centre)"
    # --sync would wait for a movement that never comes when the pointer is already there.
    xdotool mousemove "${xy[0]}" "${xy[1]}" sleep 0.2 click --repeat "${2:-1}" --delay 80 "$1"
}

# The settings dialog: visible windows titled Kirorin larger than the icon.
dialog_windows() {
    local w
    for w in $(xdotool search --onlyvisible --name '^Kirorin$' 2>/dev/null); do
        (($(xwininfo -id "$w" | awk '/Width/ { print $2 }') > 100)) && echo "$w"
    done
    return 0
}
dialog_count() { dialog_windows | wc -l; }
dialog_open() { (($(dialog_count) == 1)); }
dialog_closed() { (($(dialog_count) == 0)); }

# The tray menu: a viewable override-redirect window of the program, taller than a tip.
menu_window() {
    popup_windows | awk '$3 > 30 { print $1; exit }'
}
# The program's viewable override-redirect windows (menus, tips) as "id width height".
popup_windows() {
    local w
    for w in $(xwininfo -root -children 2>/dev/null |
        awk '/"kirorin": \("kirorin" "kirorin"\)/ { print $1 }'); do
        xwininfo -id "$w" -stats | awk -v w="$w" '/Width/ { x = $2 } /Height/ { y = $2 }
            /Map State: IsViewable/ { v = 1 } /Override Redirect State: yes/ { o = 1 }
            END { if (v && o) print w, x, y }'
    done
}
tip_shown() { [[ -n $(popup_windows | awk '$3 <= 30') ]]; }
menu_shown() { [[ -n $(menu_window) ]]; }

# "x y" of a window's upper-left corner.
window_corner() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
        END { print x, y }'
}
window_size() { xwininfo -id "$1" | awk '/Width/ { w = $2 } /Height/ { h = $2 } END { print w, h }'; }
