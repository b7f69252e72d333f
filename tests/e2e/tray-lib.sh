# Helpers for the tray tests: a private session bus, an XEmbed tray (trayer), real
# StatusNotifierItem hosts, the icon, the settings dialog and the menus as X windows. Source it
# after lib.sh, then call tray_setup "$1".

tray_setup() {
    e2e_setup "$1"
    unset QT_QPA_PLATFORMTHEME XDG_CURRENT_DESKTOP
    own_bus
}

# geometry WINDOW: "x y width height", in root coordinates.
geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
        /Width/ { w = $2 } /Height/ { h = $2 } END { print x, y, w, h }'
}
# centre_of WINDOW: "x y" of its centre.
centre_of() {
    local x y w h
    read -r x y w h <<<"$(geometry "$1")"
    echo $((x + w / 2)) $((y + h / 2))
}

# The icon: the program's window embedded in trayer's panel.
icon_window() {
    xwininfo -root -tree 2>/dev/null | awk '/"panel": \("panel" "trayer"\)/ { p = 1 }
        p && /"kirorin": \("kirorin" "kirorin"\)/ { print $1; exit }'
}

click_icon() {
    local xy
    read -r -a xy <<<"$(centre_of "$(icon_window)")"
    # --sync would wait for a movement that never comes when the pointer is already there.
    xdotool mousemove "${xy[0]}" "${xy[1]}" sleep 0.2 click --repeat "${2:-1}" --delay 80 "$1"
}

# The settings dialog: visible windows titled Kirorin larger than the icon.
dialog_windows() {
    local w
    for w in $(kirorin_windows); do
        (($(geometry "$w" | cut -d' ' -f3) > 100)) && echo "$w"
    done
    return 0
}
dialog_count() { dialog_windows | wc -l; }
dialog_closed() { (($(dialog_count) == 0)); }
# wait_dialog CAUSE: until one dialog has the keyboard focus.
wait_dialog() {
    wait_until 5 eval '[[ $(dialog_windows) == "$(xdotool getwindowfocus)" ]]' ||
        fail "$1 opened no dialog with the focus ($(dialog_count) dialogs)"
}
close_dialog() {
    xdotool key Escape
    wait_until 5 dialog_closed || fail "Escape did not close the dialog"
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
tip_shown() { [[ -n $(popups '"kirorin": [(]"kirorin"' | awk '$3 <= 30') ]]; }
host_menu_window() { popups | awk '$2 > 40 && $3 > 40 { print $1; exit }'; }

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
      <property name="plugin-ids" type="array"><value type="int" value="1"/></property>
    </property>
  </property>
  <property name="plugins" type="empty">
    <property name="plugin-1" type="string" value="systray"/>
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
    wait_until 30 eval 'gdbus call --session --dest org.kde.StatusNotifierWatcher \
        --object-path /StatusNotifierWatcher --method org.freedesktop.DBus.Properties.Get \
        org.kde.StatusNotifierWatcher IsStatusNotifierHostRegistered 2>/dev/null | grep -q true' ||
        fail "$1 registered no StatusNotifierItem host"
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
