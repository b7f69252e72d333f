#!/usr/bin/env bash
# The sound server killed mid-song, PulseAudio and then PipeWire: the program keeps running on
# little CPU, says once that the output went away, sings again in the restarted server, and
# ends at once on SIGTERM during a second outage.
[[ -n ${OWN_BUS:-} ]] || OWN_BUS=1 exec dbus-run-session -- bash "$0" "$@" 2> >(grep -v 'fd limit' >&2)
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/pulse-lib.sh"
e2e_setup "$1"
pulse_setup
write_settings 1000 1 16 100 0 0 0 23 59

servers=(pulseaudio)
command -v pipewire-pulse >/dev/null && command -v wireplumber >/dev/null && servers+=(pipewire)
for SERVER in "${servers[@]}"; do
    pulse_start
    record "$SERVER-before" one
    start_program "song_$SERVER"
    pid_var=PID_song_$SERVER
    wait_chirps "$SERVER-before" 0 12

    pulse_kill
    cpu_before=$(awk '{ print $14 + $15 }' "/proc/${!pid_var}/stat")
    sleep 3
    cpu_after=$(awk '{ print $14 + $15 }' "/proc/${!pid_var}/stat")
    running "${!pid_var}" || fail "the program ended with $SERVER"
    # Clock ticks of 10 ms: a few percent of a core over 3 s is under 15.
    ((cpu_after - cpu_before < 15)) || fail "$((cpu_after - cpu_before)) ticks of CPU in 3 s"

    pulse_start
    record "$SERVER-after" one
    wait_chirps "$SERVER-after" 0
    err=$E2E_DIR/err-song_$SERVER
    [[ $(grep -c 'sound output went away' "$err") == 1 ]] || fail "loss not told once ($SERVER)"
    [[ $(grep -c 'sound output is back' "$err") == 1 ]] || fail "return not told once ($SERVER)"

    pulse_kill
    sleep 1
    stop_program "${!pid_var}"
done
echo PASS
