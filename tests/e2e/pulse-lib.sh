# Helpers for tests against a real sound server speaking PulseAudio's protocol: Debian's
# pulseaudio, or PipeWire with pipewire-pulse and wireplumber (SERVER=pipewire), started
# headless with a private runtime folder and session bus and two null sinks; the program on
# SDL's PulseAudio driver; the sinks recorded with parec. Source after lib.sh, then call
# pulse_setup after e2e_setup.
SERVER=pulseaudio
SERVER_PIDS=()

pulse_setup() {
    own_bus
    mkdir -m 700 "$E2E_DIR/pulse"
    # No client may start a server of its own: an outage must stay one.
    printf 'autospawn = no\n' >"$E2E_DIR/pulse-client.conf"
    export PULSE_RUNTIME_PATH=$E2E_DIR/pulse PULSE_CLIENTCONFIG=$E2E_DIR/pulse-client.conf
    export SDL_AUDIODRIVER=pulseaudio
    unset SDL_DISKAUDIOFILE PULSE_SERVER
    # PipeWire's sinks come from its own configuration: pipewire-pulse's load-module waits for
    # the session manager and times out on a busy machine.
    mkdir -p "$XDG_CONFIG_HOME/pipewire/pipewire.conf.d"
    local sink
    for sink in one two; do
        printf 'context.objects = [ { factory = adapter args = { factory.name = support.null-audio-sink node.name = %s media.class = Audio/Sink audio.position = [ FL FR ] object.linger = true } } ]\n' \
            "$sink" >"$XDG_CONFIG_HOME/pipewire/pipewire.conf.d/sink-$sink.conf"
    done
    export LSAN_OPTIONS=suppressions=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/pulse-lsan.supp
}

server_process() {
    "$@" >>"$E2E_DIR/err-server-$SERVER" 2>&1 &
    SERVER_PIDS+=($!)
    E2E_PIDS+=($!)
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
    kill -KILL "${SERVER_PIDS[@]}"
    wait "${SERVER_PIDS[@]}" 2>/dev/null || true
    SERVER_PIDS=()
    # A killed PipeWire leaves its socket behind; the next start is awaited by it.
    rm -f "$XDG_RUNTIME_DIR"/pipewire-0*
}

# sink_remove NAME: the sink goes away as an unplugged device's would.
sink_remove() {
    if [[ $SERVER == pipewire ]]; then
        pw-cli destroy "$(pw-cli ls Node | awk -v n="node.name = \"$1\"" '$1 == "id" { id = $2 + 0 }
            index($0, n) { print id }')"
    else
        pactl unload-module "$(pactl list short modules |
            awk -v n="sink_name=$1" 'index($0, n) { print $1 }')"
    fi
}

# record NAME SINK: the sink's monitor as S16LE stereo at 48000 Hz in $E2E_DIR/rec-NAME.raw.
record() {
    parec -d "$2.monitor" --format=s16le --rate=48000 --channels=2 \
        >"$E2E_DIR/rec-$1.raw" 2>>"$E2E_DIR/err-parec" &
    E2E_PIDS+=($!)
}

# wait_chirps NAME FROM_BYTE [SECONDS]: until the recording holds chirps in the SECONDS (6)
# after FROM_BYTE.
wait_chirps() {
    local to=$(($2 + ${3:-6} * RATE_BYTES)) SDL_DISKAUDIOFILE=$E2E_DIR/rec-$1.raw
    wait_until 30 capture_holds "$to" || fail "recording $1 stuck at $(capture_bytes) bytes"
    expect_chirps "$2" "$to"
}
