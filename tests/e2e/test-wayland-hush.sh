#!/usr/bin/env bash
# Under a real Wayland compositor started headless, input it reports hushes one cricket:
# at wariness 1 no chirp begins while the pointer moves nor within 3 s after, and the cricket
# sings again later.
# Runs once with each of: mutter kwin-ext kwin-kde sway
# (kwin-ext and kwin-kde: the program limited to ext-idle-notify-v1 and to org_kde_kwin_idle.)
# mutter: the program on Qt's Wayland platform (Qt's choice where WAYLAND_DISPLAY is set), its
# tray item (on a real panel, drawn on Xvfb) and settings dialog too.
# Others: the program's windows on Xvfb, so that the compositor can be killed under it: the
# program keeps running and says so in one line.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
source "$here/tray-lib.sh"
compositor=$2
e2e_setup "$1"
own_bus
comp_run=$XDG_RUNTIME_DIR

# The compositor; how to move its pointer every 100 ms; the program's environment.
socket=kirorin-wayland
env=(QT_QPA_PLATFORM=xcb)
case $compositor in
mutter)
    mutter --headless --wayland --no-x11 --virtual-monitor 1024x768 \
        --wayland-display "$socket" >"$E2E_DIR/err-compositor" 2>&1 &
    motion=(/usr/bin/python3 "$here/mutter-pointer.py")
    # Qt 6.4's Wayland plugin leaks at exit, partly from a library it has unloaded by then (no
    # suppression can name it): leaks are checked in the other runs, which use our own Wayland code.
    env=(-u DISPLAY "ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0")
    ;;
kwin-*)
    # A copy drops the file capability that a container may not grant.
    cp /usr/bin/kwin_wayland "$E2E_DIR/kwin_wayland"
    KWIN_WAYLAND_NO_PERMISSION_CHECKS=1 "$E2E_DIR/kwin_wayland" --virtual --no-lockscreen \
        --socket "$socket" --width 1024 --height 768 >"$E2E_DIR/err-compositor" 2>&1 &
    # Built beside the program (tests/e2e/kwin-fake-pointer.c).
    motion=(env WAYLAND_DISPLAY="$socket" "$(dirname "$1")/tests/e2e/kwin-fake-pointer")
    [[ $compositor == kwin-ext ]] && source=ext-idle-notify-v1 || source=org_kde_kwin_idle
    env+=(KIRORIN_ACTIVITY_SOURCE=$source)
    ;;
sway)
    # sway refuses root: run it as an unprivileged user, in a runtime folder of its own.
    as=()
    comp_run=$E2E_DIR/sway-run
    mkdir -m 700 "$comp_run"
    if ((EUID == 0)); then
        chown nobody "$comp_run"
        as=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
        "${as[@]}" true 2>/dev/null || { echo "SKIP: cannot run sway unprivileged"; exit 77; }
    fi
    echo "output HEADLESS-1 resolution 1024x768" >"$E2E_DIR/sway.conf"
    env XDG_RUNTIME_DIR="$comp_run" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 \
        WLR_RENDERER=pixman "${as[@]}" sway -c "$E2E_DIR/sway.conf" \
        >"$E2E_DIR/err-compositor" 2>&1 &
    wait_until 20 compgen -G "$comp_run/sway-ipc.*.sock" >/dev/null || fail "sway did not start"
    socket=$(cd "$comp_run" && ls wayland-* | grep -v lock | head -n1)
    export SWAYSOCK=$(compgen -G "$comp_run/sway-ipc.*.sock")
    motion=(bash -c 'while swaymsg -q seat seat0 cursor move 5 5 &&
        swaymsg -q -- seat seat0 cursor move -5 -5; do sleep 0.1; done')
    ;;
*) fail "unknown compositor $compositor" ;;
esac
COMPOSITOR_PID=$!
wait_until 30 test -S "$comp_run/$socket" || fail "$compositor did not start"
env+=(WAYLAND_DISPLAY="$comp_run/$socket")
if [[ $compositor == mutter ]]; then
    gdbus wait --session --timeout 20 org.gnome.Mutter.RemoteDesktop || fail "no RemoteDesktop"
    start_panel xfce4-panel
fi

# One cricket at wariness 1. Undisturbed, it sings within 13 s of the start (6 s of first quiet,
# then at most two opening silences of a song); moved for longer, it must stay silent. (That
# wariness 0 never asks the desktop about input is a unit test's.)
"${motion[@]}" >>"$E2E_DIR/err-motion" 2>&1 &
motion_pid=$!
write_settings 1000 1 1 100 0 0 0 23 59
start_program hush "${env[@]}"
wait_capture 14
kill "$motion_pid"
wait_capture 3
expect_silence 0 "$TO"
# A new song's opening silence is at most 6 s.
wait_capture 8
expect_chirps "$FROM" "$TO"

if [[ $compositor == mutter ]]; then
    # Its item on the panel; Activate opens the settings dialog, whose OK (Return, typed
    # through the compositor) writes the settings file anew.
    wait_until 10 panel_icon_shown || fail "no icon on the panel"
    item org.kde.StatusNotifierItem.Activate 0 0 >/dev/null || fail "Activate failed"
    rm "$(settings_file)"
    /usr/bin/python3 "$here/mutter-pointer.py" Return &
    wait_until 10 test -s "$(settings_file)" || fail "no settings dialog took Return"
else
    # The compositor goes away: one line, then the program goes on as if the user rested.
    { kill -KILL "$COMPOSITOR_PID" && wait "$COMPOSITOR_PID" || true; } 2>/dev/null
    wait_until 5 grep -q 'no longer reported' "$E2E_DIR/err-hush" || fail "nothing said"
    wait_capture 2
    running "$PID_hush" || fail "the program ended with the compositor"
    [[ $(grep -c '^kirorin:' "$E2E_DIR/err-hush") == 1 ]] || fail "more than one line"
fi
stop_program "$PID_hush"
echo PASS
