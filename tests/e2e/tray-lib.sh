# Helpers for the tray tests: a private session bus, an XEmbed tray (trayer), the icon, the
# settings dialog and the tray menu as X windows. Source it after lib.sh, then call tray_setup "$1".

# The display, and a session bus of the test's own, stopped with the rest at the end. The bus
# starts services (xfconfd) with its own environment, so the test's home and XDG folders come first.
tray_setup() {
    e2e_setup "$1"
    unset QT_QPA_PLATFORMTHEME XDG_CURRENT_DESKTOP
    export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
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

# start_panel xfce4-panel|lxqt-panel: a real StatusNotifierItem host, one 32-pixel panel along
# the top holding only the tray, configured before it starts; waits until its host registers.
start_panel() {
    if [[ $1 == xfce4-panel ]]; then
        mkdir -p "$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml"
        cat >"$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml/xfce4-panel.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-panel" version="1.0">
  <property name="configver" type="int" value="2"/>
  <property name="panels" type="array">
    <value type="int" value="1"/>
    <property name="panel-1" type="empty">
      <property name="position" type="string" value="p=6;x=0;y=0"/>
      <property name="position-locked" type="bool" value="true"/>
      <property name="length" type="uint" value="100"/>
      <property name="size" type="uint" value="32"/>
      <property name="plugin-ids" type="array">
        <value type="int" value="1"/>
        <value type="int" value="2"/>
      </property>
    </property>
  </property>
  <property name="plugins" type="empty">
    <property name="plugin-1" type="string" value="separator">
      <property name="expand" type="bool" value="true"/>
      <property name="style" type="uint" value="0"/>
    </property>
    <property name="plugin-2" type="string" value="systray">
      <property name="known-items" type="array">
        <value type="string" value="kirorin"/>
      </property>
    </property>
  </property>
</channel>
XML
        xfce4-panel --disable-wm-check >"$E2E_DIR/err-panel" 2>&1 &
    else
        mkdir -p "$XDG_CONFIG_HOME/lxqt"
        printf '%s\n' '[General]' 'panels=panel1' '[panel1]' 'plugins=statusnotifier' \
            'position=Top' 'panelSize=32' '[statusnotifier]' 'type=statusnotifier' \
            >"$XDG_CONFIG_HOME/lxqt/panel.conf"
        lxqt-panel >"$E2E_DIR/err-panel" 2>&1 &
    fi
    E2E_PIDS+=($!)
    wait_until 30 host_registered || fail "$1 registered no StatusNotifierItem host"
}
host_registered() {
    gdbus call --session --dest org.kde.StatusNotifierWatcher \
        --object-path /StatusNotifierWatcher --method org.freedesktop.DBus.Properties.Get \
        org.kde.StatusNotifierWatcher IsStatusNotifierHostRegistered 2>/dev/null |
        grep -q true
}

# "width height x y" of what the panel draws besides its background: the panel holds nothing but
# the tray, so that is the icon.
panel_drawing() {
    import -window root -crop 1024x32+0+0 +repage png:- 2>/dev/null |
        convert - -trim -format '%w %h %X %Y' info: 2>/dev/null
}
panel_icon_shown() {
    local w h
    read -r w h _ <<<"$(panel_drawing)"
    ((w >= 12 && w <= 32 && h >= 12))
}
# x y of the icon's centre.
panel_icon_centre() {
    local w h x y
    read -r w h x y <<<"$(panel_drawing)"
    echo $((x + w / 2)) $((y + h / 2))
}

# A menu drawn by another program: a viewable override-redirect window taller than a tip.
host_menu_window() {
    local w
    for w in $(xwininfo -root -children 2>/dev/null | awk '/^ +0x/ { print $1 }'); do
        xwininfo -id "$w" -stats | awk -v w="$w" '/Width/ { x = $2 } /Height/ { y = $2 }
            /Map State: IsViewable/ { v = 1 } /Override Redirect State: yes/ { o = 1 }
            END { if (v && o && y > 40 && x > 40) print w }'
    done | head -n1
}
host_menu_shown() { [[ -n $(host_menu_window) ]]; }
