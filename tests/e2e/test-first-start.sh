#!/usr/bin/env bash
# No settings file: start-up writes the defaults beside the program (wherever it is started
# from), no window shows, and the crickets sing.
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"

cd /
start_program main
wait_until 10 settings_written || fail "no 36-byte settings file"
[[ $(settings_hex) == "$DEFAULT_SETTINGS_HEX" ]] || fail "settings file holds $(settings_hex)"
# Four crickets, quiet for 6 s after the first cursor sample: all have begun to sing by 13 s.
wait_capture 15
running "$PID_main" || fail "the program ended"
[[ -z $(xdotool search --onlyvisible --name 'Kirorin' 2>/dev/null) ]] || fail "a window shows"
expect_chirps 0 $((15 * RATE_BYTES))
stop_program "$PID_main"
lock_free || fail "instance lock still held"
echo PASS
