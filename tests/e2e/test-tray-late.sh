#!/usr/bin/env bash
# A tray that starts after the program: the icon appears in it within a few seconds.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/tray-lib.sh"
tray_setup "$1"

start_program late
wait_capture 1
running "$PID_late" || fail "the program ended without a tray"
start_tray
wait_icon 6
stop_program "$PID_late"
echo PASS
