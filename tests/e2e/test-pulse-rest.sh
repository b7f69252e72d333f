#!/usr/bin/env bash
# Outside the activity window the program keeps no stream open, so that the sound server
# suspends the sink; when the window opens the chorus is heard.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/pulse-lib.sh"
e2e_setup "$1"
pulse_setup

# 16 crickets singing from 09:00; the clock starts at 08:59:56.
write_settings 1000 1 16 100 1 9 0 17 0
pulse_start
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0
start_program rest LD_PRELOAD=/usr/lib/x86_64-linux-gnu/faketime/libfaketimeMT.so.1 \
    "FAKETIME=@2026-01-01 08:59:56" FAKETIME_DONT_FAKE_MONOTONIC=1
rested() {
    ! sink_inputs_hold 'application.name = "Kirorin"' &&
        [[ $(pactl list short sinks | awk '$2 == "one" { print $NF }') == SUSPENDED ]]
}
wait_until 10 rested || fail "the stream did not rest or the sink did not suspend"
running "$PID_rest" || fail "the program ended"
record window one
wait_chirps window 0 14
stop_program "$PID_rest"
echo PASS
