#!/usr/bin/env bash
# Against a real sound server: outside the activity window the program keeps no stream open, so
# that the server suspends the sink; when the window opens the chorus is heard. In the server's
# mixer the program is "Kirorin" with its icon; when the sink it plays on is unloaded, the chorus
# goes on in the other sink.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/pulse-lib.sh"
e2e_setup "$1"
pulse_setup

# 16 crickets singing from 09:00; the clock starts at 08:59:56.
write_settings 1000 1 16 100 1 9 0 17 0
pulse_start
record two two
start_program_at song "2026-01-01 08:59:56"
rested() {
    ! sink_inputs_hold 'application.name = "Kirorin"' &&
        [[ $(pactl list short sinks | awk '$2 == "one" { print $NF }') == SUSPENDED ]]
}
wait_until 10 rested || fail "the stream did not rest or the sink did not suspend"
running "$PID_song" || fail "the program ended"
record one one
wait_chirps one 0 14
for property in 'application.name = "Kirorin"' 'application.icon_name = "kirorin"' \
    'media.name = "Cricket chorus"'; do
    sink_inputs | grep -qF "$property" || fail "stream lacks $property"
done

module=$(pactl list short modules | awk '/sink_name=one/ { print $1 }')
from=$(rec_bytes two)
pactl unload-module "$module"
wait_chirps two "$from"
running "$PID_song" || fail "the program ended with its sink"
stop_program "$PID_song"
echo PASS
