#!/usr/bin/env bash
# Runs once with each of: pulseaudio pipewire
# Against a real sound server: outside the activity window the program keeps no stream open, so
# that the server suspends the sink; when the window opens the chorus is heard. In the server's
# mixer the program is "Kirorin" with its icon; when the sink it plays on goes away, the chorus
# goes on in the other sink. Killed mid-song, the server is missed on little CPU, said once to be
# gone and once back, and heard again when restarted; SIGTERM ends the program at once during a
# second outage.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/pulse-lib.sh"
SERVER=$2
if [[ $SERVER == pipewire ]] && ! type -P pipewire-pulse wireplumber pw-cli >/dev/null; then
    echo "SKIP: no PipeWire"
    exit 77
fi
e2e_setup "$1"
pulse_setup

# 16 crickets singing from 09:00; the clock starts at 08:59:56.
write_settings 1000 1 16 100 1 9 0 17 0
pulse_start
record two two
start_program_at song "2026-01-01 08:59:56"
rested() {
    ! LC_ALL=C pactl list sink-inputs | grep -qF 'application.name = "Kirorin"' &&
        [[ $(pactl list short sinks | awk '$2 == "one" { print $NF }') == SUSPENDED ]]
}
wait_until 10 rested || fail "the stream did not rest or the sink did not suspend"
record one one
wait_chirps one 0 14
for property in 'application.name = "Kirorin"' 'application.icon_name = "kirorin"' \
    'media.name = "Cricket chorus"'; do
    LC_ALL=C pactl list sink-inputs | grep -qF "$property" || fail "stream lacks $property"
done
from=$(capture_bytes "$E2E_DIR/rec-two.raw")
sink_remove one
wait_chirps two "$from"

pulse_kill
cpu_before=$(awk '{ print $14 + $15 }' "/proc/$PID_song/stat")
sleep 3
cpu_after=$(awk '{ print $14 + $15 }' "/proc/$PID_song/stat")
running "$PID_song" || fail "the program ended with the server"
# Clock ticks of 10 ms: a few percent of a core over 3 s is under 15.
((cpu_after - cpu_before < 15)) || fail "$((cpu_after - cpu_before)) ticks of CPU in 3 s"
pulse_start
record after one
wait_chirps after 0
[[ $(grep -c 'sound output went away' "$E2E_DIR/err-song") == 1 ]] || fail "loss not told once"
[[ $(grep -c 'sound output is back' "$E2E_DIR/err-song") == 1 ]] || fail "return not told once"
pulse_kill
sleep 1
stop_program "$PID_song"
echo PASS
