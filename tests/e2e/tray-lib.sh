# Helpers for the tray tests: an XEmbed tray (trayer), real StatusNotifierItem hosts, the icon,
# the settings dialog and the menus as X windows. Source it after lib.sh; call e2e_setup "$1" and
# own_bus.

# geometry WINDOW: "x y width height" and the "x y" of its centre, in root coordinates.
geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
        /Width/ { w = $2 } /Height/ { h = $2 }
        END { print x, y, w, h, x + int(w / 2), y + int(h / 2) }'
}

# The icon: the program's window embedded in trayer's panel.
icon_window() {
    xwininfo -root -tree 2>/dev/null | awk '/"panel": \("panel" "trayer"\)/ { p = 1 }
        p && /"kirorin": \("kirorin" "kirorin"\)/ { print $1; exit }'
}

# click_icon BUTTON [COUNT]: at the icon's centre. (--sync would wait for a movement that never
# comes when the pointer is already there.)
# shellcheck disable=SC2046 # the centre as two words, x and y
click_icon() {
    xdotool mousemove $(geometry "$(icon_window)" | cut -d' ' -f5,6) sleep 0.2 \
        click --repeat "${2:-1}" --delay 80 "$1"
}

# The settings dialog: visible windows titled Kirorin larger than the icon.
dialog_windows() {
    local w
    for w in $(kirorin_windows); do geometry "$w" | awk -v w="$w" '$3 > 100 { print w }'; done
}
dialog_count() { dialog_windows | wc -l; }
# wait_dialog CAUSE: until one dialog has the keyboard focus.
wait_dialog() {
    wait_until 5 eval '[[ $(dialog_windows) == "$(xdotool getwindowfocus)" ]]' ||
        fail "$1 opened no dialog with the focus ($(dialog_count) dialogs)"
}
# close_dialog [KEYS]: KEYS (Escape) close the dialog.
close_dialog() {
    xdotool key ${1:-Escape}
    wait_until 5 eval '[[ -z $(dialog_windows) ]]' || fail "${1:-Escape} did not close the dialog"
}

# popups [PATTERN]: the viewable override-redirect windows (menus, tips) whose line in the root's
# window list matches PATTERN, as "id width height".
popups() {
    local w
    for w in $(xwininfo -root -children 2>/dev/null |
        awk -v p="${1:-}" '/^ +0x/ && $0 ~ p { print $1 }'); do
        xwininfo -id "$w" -stats | awk -v w="$w" '/Width/ { x = $2 } /Height/ { y = $2 }
            /Map State: IsViewable/ { v = 1 } /Override Redirect State: yes/ { o = 1 }
            END { if (v && o) print w, x, y }'
    done
}
# The program's menu is taller than its tip; a host's menu is one drawn by another program.
menu_window() { popups '"kirorin": [(]"kirorin"' | awk '$3 > 30 { print $1; exit }'; }
menu_shown() { [[ -n $(menu_window) ]]; }
host_menu_window() { popups | awk '$2 > 40 && $3 > 40 { print $1; exit }'; }

# start_panel xfce4-panel|lxqt-panel: a real StatusNotifierItem host, one 32-pixel panel along
# the top holding only the tray, configured before it starts (xfce4-panel's through xfconfd,
# which the session bus starts); waits until its host registers.
start_panel() {
    if [[ $1 == xfce4-panel ]]; then
        local set=(xfconf-query -c xfce4-panel --create -p)
        "${set[@]}" /configver -t int -s 2
        "${set[@]}" /panels -a -t int -s 1
        "${set[@]}" /panels/panel-1/position -t string -s 'p=6;x=0;y=0'
        "${set[@]}" /panels/panel-1/length -t uint -s 100
        "${set[@]}" /panels/panel-1/position-locked -t bool -s true # no handles to draw
        "${set[@]}" /panels/panel-1/size -t uint -s 32
        "${set[@]}" /panels/panel-1/plugin-ids -a -t int -s 1
        "${set[@]}" /plugins/plugin-1 -t string -s systray
        xfce4-panel --disable-wm-check >"$E2E_DIR/err-panel" 2>&1 &
    else
        mkdir -p "$XDG_CONFIG_HOME/lxqt"
        printf '%s\n' '[General]' 'panels=panel1' '[panel1]' 'plugins=statusnotifier' \
            'position=Top' 'panelSize=32' '[statusnotifier]' 'type=statusnotifier' \
            >"$XDG_CONFIG_HOME/lxqt/panel.conf"
        lxqt-panel >"$E2E_DIR/err-panel" 2>&1 &
    fi
    wait_until 30 eval 'gdbus call --session --dest org.kde.StatusNotifierWatcher \
        --object-path /StatusNotifierWatcher --method org.freedesktop.DBus.Properties.Get \
        org.kde.StatusNotifierWatcher IsStatusNotifierHostRegistered 2>/dev/null | grep -q true' ||
        fail "$1 registered no StatusNotifierItem host"
}

# item METHOD [ARGUMENTS...]: calls the one StatusNotifierItem registered with the panel.
item() {
    local id
    id=$(gdbus call --session --dest org.kde.StatusNotifierWatcher --object-path \
        /StatusNotifierWatcher --method org.freedesktop.DBus.Properties.Get \
        org.kde.StatusNotifierWatcher RegisteredStatusNotifierItems | grep -o "[^']*/[^']*")
    gdbus call --session --dest "${id%%/*}" --object-path "/${id#*/}" --method "$@"
}

# "width height x y" of what the panel draws besides its background: the panel holds nothing but
# the tray, so that is the icon.
panel_drawing() {
    import -window root -crop 1024x32+0+0 +repage png:- 2>/dev/null |
        convert - -trim -format '%w %h %X %Y' info: 2>/dev/null
}
panel_icon_shown() { panel_drawing | awk '{ ok = $1 >= 12 && $1 <= 32 && $2 >= 12 } END { exit !ok }'; }
