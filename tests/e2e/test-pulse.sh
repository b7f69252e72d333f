#!/usr/bin/env bash
# Runs once with each of: pulseaudio pipewire
# Against a real sound server: outside the activity window the program keeps no stream open, so
# that the server suspends the sink; when the window opens the chorus is heard. In the server's
# mixer the program is "Kirorin" with its icon; when the sink it plays on goes away, the chorus
# goes on in the other sink. Killed mid-song, the server is missed on little CPU, said once to be
# gone and once back, and heard again when restarted; SIGTERM ends the program at once during a
# second outage.
# The server is Debian's pulseaudio or PipeWire with pipewire-pulse and wireplumber, started
# headless with a private runtime folder and session bus; the program on SDL's PulseAudio
# driver; the sinks recorded with parec.
source "$(dirname "$0")/lib.sh"
SERVER=$2
if [[ $SERVER == pipewire ]] && ! type -P pipewire-pulse wireplumber pw-cli >/dev/null; then
    echo "SKIP: no PipeWire"
    exit 77
fi
e2e_setup "$1"
own_bus
mkdir -m 700 "$E2E_DIR/pulse"
# No client may start a server of its own: an outage must stay one.
printf 'autospawn = no\n' >"$E2E_DIR/pulse-client.conf"
export PULSE_RUNTIME_PATH=$E2E_DIR/pulse PULSE_CLIENTCONFIG=$E2E_DIR/pulse-client.conf
export SDL_AUDIODRIVER=pulseaudio LSAN_OPTIONS=suppressions=$(cd "$(dirname "$0")" && pwd)/pulse-lsan.supp
unset SDL_DISKAUDIOFILE PULSE_SERVER
# PipeWire's sinks come from its own configuration: pipewire-pulse's load-module waits for the
# session manager and times out on a busy machine.
mkdir -p "$XDG_CONFIG_HOME/pipewire/pipewire.conf.d"
sink='{ factory = adapter args = { factory.name = support.null-audio-sink node.name = %s media.class = Audio/Sink audio.position = [ FL FR ] object.linger = true } } '
printf "context.objects = [ $sink$sink]\n" one two >"$XDG_CONFIG_HOME/pipewire/pipewire.conf.d/sinks.conf"

server_pids=()
server_process() {
    "$@" >>"$E2E_DIR/err-server-$SERVER" 2>&1 &
    server_pids+=($!)
}
# pulse_start: the server with sinks "one" (the default) and "two".
pulse_start() {
    if [[ $SERVER == pipewire ]]; then
        server_process pipewire
        # The session manager and the PulseAudio server give up without a running PipeWire.
        wait_until 10 test -S "$XDG_RUNTIME_DIR/pipewire-0" || fail "pipewire did not start"
        server_process wireplumber
        server_process pipewire-pulse
        wait_until 10 pactl info >/dev/null 2>&1 || fail "pipewire-pulse did not start"
    else
        server_process pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
            -L "module-native-protocol-unix auth-anonymous=1" \
            -L "module-null-sink sink_name=one" -L "module-null-sink sink_name=two" \
            -L "module-suspend-on-idle timeout=1"
    fi
    wait_until 10 pactl set-default-sink one 2>/dev/null || fail "$SERVER did not start"
}
pulse_kill() {
    kill -KILL "${server_pids[@]}"
    wait "${server_pids[@]}" 2>/dev/null || true
    server_pids=()
    # A killed PipeWire leaves its socket behind; the next start is awaited by it.
    rm -f "$XDG_RUNTIME_DIR"/pipewire-0*
}
# record NAME SINK: the sink's monitor as S16LE stereo at 48000 Hz in $E2E_DIR/rec-NAME.raw.
record() {
    parec -d "$2.monitor" --format=s16le --rate=48000 --channels=2 \
        >"$E2E_DIR/rec-$1.raw" 2>>"$E2E_DIR/err-parec" &
}
# wait_chirps NAME FROM_BYTE [SECONDS]: until the recording holds chirps in the SECONDS (6)
# after FROM_BYTE.
wait_chirps() {
    local to=$(($2 + ${3:-6} * RATE_BYTES)) SDL_DISKAUDIOFILE=$E2E_DIR/rec-$1.raw
    wait_until 30 eval '(($(capture_bytes) >= to))' || fail "recording $1 stuck at $(capture_bytes) bytes"
    expect_chirps "$2" "$to"
}

# 16 crickets singing from 09:00; the clock starts at 08:59:56.
write_settings 1000 1 16 100 1 9 0 17 0
pulse_start
start_program_at song "2026-01-01 08:59:56"
rested() {
    ! LC_ALL=C pactl list sink-inputs | grep -qF 'application.name = "Kirorin"' &&
        [[ $(pactl list short sinks | awk '$2 == "one" { print $NF }') == SUSPENDED ]]
}
wait_until 10 rested || fail "the stream did not rest or the sink did not suspend"
record one one
wait_chirps one 0 14
# Each of the three properties, once.
LC_ALL=C pactl list sink-inputs >"$E2E_DIR/stream"
[[ $(grep -cF -e 'application.name = "Kirorin"' -e 'application.icon_name = "kirorin"' \
    -e 'media.name = "Cricket chorus"' "$E2E_DIR/stream") == 3 ]] || fail "stream: $(<"$E2E_DIR/stream")"
record two two
# Sink "one" goes away as an unplugged device's would.
if [[ $SERVER == pipewire ]]; then
    pw-cli destroy "$(pw-cli ls Node | awk '$1 == "id" { id = $2 + 0 }
        index($0, "node.name = \"one\"") { print id }')"
else
    pactl unload-module "$(pactl list short modules | awk '/sink_name=one/ { print $1 }')"
fi
wait_chirps two 0

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
