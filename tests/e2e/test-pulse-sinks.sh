#!/usr/bin/env bash
# In a sound server's mixer the program is "Kirorin" with its icon; when the sink it plays on
# is unloaded, the chorus goes on in the other sink.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/pulse-lib.sh"
e2e_setup "$1"
pulse_setup
write_settings 1000 1 16 100 0 0 0 23 59

pulse_start
record one one
record two two
start_program song
wait_chirps one 0 12
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
