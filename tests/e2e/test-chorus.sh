#!/usr/bin/env bash
# The chorus heard through SDL's disk driver. With no settings file, start-up writes the defaults
# beside the program (wherever it is started from), shows no window, and the crickets sing. At
# wariness 1 a cricket stays quiet while the pointer moves and sings again once it rests. (The
# activity window opening is heard in test-pulse.sh, through real sound servers.)
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"

cd /
start_program first
wait_until 10 settings_written || fail "no 36-byte settings file"
[[ $(settings_hex) == "$DEFAULT_SETTINGS_HEX" ]] || fail "settings file holds $(settings_hex)"
# Four crickets, quiet for 6 s after the first cursor sample: all have begun to sing by 13 s.
wait_capture 15
[[ -z $(xdotool search --onlyvisible --name 'Kirorin' 2>/dev/null) ]] || fail "a window shows"
expect_chirps 0 $((15 * RATE_BYTES))
stop_program "$PID_first"

# Moved for longer than the longest opening silence of a song (7 s): undisturbed, it would sing.
write_settings 1000 1 1 100 0 0 0 23 59
rm "$SDL_DISKAUDIOFILE"
start_program hush
while xdotool mousemove 100 200 sleep 0.1 mousemove 300 200 sleep 0.1; do :; done &
motion=$!
wait_capture 9
kill "$motion"
# 3 s of quiet, a new song's opening silence of at most 7 s, then a chirp.
wait_capture 13
expect_silence 0 "$FROM"
expect_chirps "$FROM" "$TO"
stop_program "$PID_hush"
echo PASS
