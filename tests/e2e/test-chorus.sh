#!/usr/bin/env bash
# The chorus heard through SDL's disk driver. With no settings file, start-up writes the defaults
# beside the program (wherever it is started from), shows no window, and the crickets sing. At
# the default wariness 2 the crickets stay quiet while the pointer moves and for 6 s after, and
# sing again once it rests. (The activity window opening is heard in test-pulse.sh, through real
# sound servers.)
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"

cd /
while xdotool mousemove 100 200 sleep 0.1 mousemove 300 200 sleep 0.1; do :; done &
motion=$!
start_program first
wait_until 10 eval '[[ $(settings_hex 2>/dev/null) == "$DEFAULT_SETTINGS_HEX" ]]' ||
    fail "the settings file does not hold the defaults"
# Moved for longer than the longest opening silence of a song (7 s): undisturbed, they would sing.
wait_capture 9
kill "$motion"
# 6 s of quiet, a new song's opening silence of at most 7 s, then a chirp.
wait_capture 16
[[ -z $(xdotool search --onlyvisible --name 'Kirorin' 2>/dev/null) ]] || fail "a window shows"
expect_silence 0 "$FROM"
expect_chirps "$FROM" "$TO"
stop_program "$PID_first" INT
echo PASS
