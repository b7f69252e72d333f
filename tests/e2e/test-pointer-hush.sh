#!/usr/bin/env bash
# One cricket, wariness 1: while the pointer moves it stays quiet; once the pointer rests it
# sings again.
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"

write_settings 1000 1 1 100 0 0 0 23 59
start_program hush
# Longer than the longest opening silence of a song (7 s): undisturbed, it would have sung.
x=100
while ! capture_holds $((9 * RATE_BYTES)); do
    running "$PID_hush" || fail "the program ended"
    x=$((400 - x))
    xdotool mousemove "$x" 200
    sleep 0.1
done
rested=$(capture_bytes)
expect_silence 0 "$rested"
# 3 s of quiet, a new song's opening silence of at most 7 s, then a chirp.
wait_capture $((rested / RATE_BYTES + 13))
expect_chirps "$rested" "$(capture_bytes)"
stop_program "$PID_hush"
echo PASS
