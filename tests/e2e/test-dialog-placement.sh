#!/usr/bin/env bash
# The settings dialog under a real window manager (xfwm4): every opening puts the frame, title
# bar included, at the centre of the work area, the same place each time.
# SHOT_DIR=folder keeps a screenshot of each opening there.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/tray-lib.sh"
tray_setup "$1"

xfwm4 --compositor=off >"$E2E_DIR/out-xfwm4" 2>&1 &
E2E_PIDS+=($!)
wait_until 10 eval 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' ||
    fail "xfwm4 did not start"
start_tray
start_program placement
wait_icon

# "x y w h" of the dialog's frame, from its client window and the frame extents the WM reports.
frame_of() {
    local x y w h e
    read -r x y <<<"$(window_corner "$1")"
    read -r w h <<<"$(window_size "$1")"
    e=$(xprop -id "$1" _NET_FRAME_EXTENTS | tr -dc '0-9,') # left, right, top, bottom
    IFS=, read -r l r t b <<<"$e"
    echo $((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))
}
framed() { xprop -id "$(dialog_windows)" _NET_FRAME_EXTENTS | grep -q '='; }

read -r ax ay aw ah _ <<<"$(xprop -root _NET_WORKAREA | tr -dc '0-9, ' | tr ',' ' ')"
# centred: the frame's centre within a pixel of the work area's.
centred() {
    read -r fx fy fw fh <<<"$(frame_of "$(dialog_windows)")"
    local cx=$((2 * fx + fw - 2 * ax - aw)) cy=$((2 * fy + fh - 2 * ay - ah))
    ((cx * cx <= 4 && cy * cy <= 4))
}
first=
for opening in 1 2; do
    click_icon 1 2
    wait_until 5 dialog_open || fail "opening $opening: a double click opened no dialog"
    wait_until 5 framed || fail "opening $opening: the dialog got no frame"
    wait_until 5 centred ||
        fail "opening $opening: frame ${fw}x$fh at $fx,$fy is not centred in ${aw}x$ah at $ax,$ay"
    [[ -z $first || $first == "$fx $fy" ]] || fail "opening 2 at $fx,$fy, opening 1 at $first"
    first="$fx $fy"
    [[ -n ${SHOT_DIR:-} ]] && import -window root "$SHOT_DIR/dialog-opening-$opening.png"
    xdotool key Escape
    wait_until 5 dialog_closed || fail "Escape did not close the dialog"
done
stop_program "$PID_placement"
echo PASS
