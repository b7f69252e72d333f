#!/usr/bin/env bash
# The sound server going away, measured against a private headless PulseAudio:
#  1. outage_probe (16 crickets ticked every 10 ms on the real output): the longest tick while
#     the server is away, and the time from the server's return to the first voice playing;
#  2. the real program under Xvfb: how long SIGTERM takes to end it 2 s into an outage.
# Usage: bench/measure-outage.sh [BUILD_DIR] [ROUNDS]
set -euo pipefail
source "$(dirname "$0")/../tests/e2e/lib.sh"
build=$(realpath "${1:-build}")
rounds=${2:-3}
dir=$(mktemp -d /tmp/kirorin-outage.XXXXXX)
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill -KILL "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$dir"
}
trap cleanup EXIT
mkdir -m 700 "$dir/pulse" "$dir/run" "$dir/home" "$dir/app"
printf 'autospawn = no\n' >"$dir/client.conf"
export PULSE_RUNTIME_PATH=$dir/pulse PULSE_CLIENTCONFIG=$dir/client.conf XDG_RUNTIME_DIR=$dir/run
export HOME=$dir/home SDL_AUDIODRIVER=pulseaudio
unset PULSE_SERVER WAYLAND_DISPLAY

now() { date +%s.%N; }
pulse_start() {
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
        -L "module-native-protocol-unix auth-anonymous=1" -L "module-null-sink sink_name=one" \
        >>"$dir/pulse.log" 2>&1 &
    pulse=$!
    pids+=("$pulse")
    until pactl info >/dev/null 2>&1; do sleep 0.01; done
}
pulse_kill() {
    kill -KILL "$pulse"
    wait "$pulse" 2>/dev/null || true
}

exec {fd}>"$dir/display"
Xvfb -displayfd "$fd" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
exec {fd}>&-
until [[ -s $dir/display ]]; do sleep 0.1; done
export DISPLAY=:$(head -n1 "$dir/display")
cp "$build/kirorin" "$dir/app/kirorin"
# Wariness 1, 16 crickets, full volume, all day.
SETTINGS_FILE=$dir/app/tamberle.sav write_settings 1000 1 16 100 0 0 0 23 59

for ((round = 1; round <= rounds; round++)); do
    pulse_start
    "$build/bench/outage_probe" 12 >"$dir/ticks" 2>"$dir/probe.err" &
    probe=$!
    pids+=("$probe")
    sleep 3
    lost=$(now)
    pulse_kill
    sleep 3
    pulse_start
    back=$(now)
    wait "$probe"
    awk -v lost="$lost" -v back="$back" -v round="$round" '
        $1 >= lost && $1 < back && $2 > worst { worst = $2 }
        $1 >= back && $2 > after { after = $2 }
        $1 >= back && $3 > 0 && !first { first = $1 }
        END {
            printf "round %d: longest tick while lost %.2f ms (after the return %.2f ms); ", round,
                worst / 1000, after / 1000
            printf "first voice %.0f ms after the server answered\n", (first - back) * 1000
        }' "$dir/ticks"

    "$dir/app/kirorin" >/dev/null 2>"$dir/kirorin.err" &
    program=$!
    pids+=("$program")
    sleep 3
    pulse_kill
    sleep 2
    sent=$(now)
    kill -TERM "$program"
    wait "$program" || true
    ended=$(now)
    awk -v a="$sent" -v b="$ended" -v round="$round" 'BEGIN {
        printf "round %d: SIGTERM 2 s into the outage ended the program in %.0f ms\n", round,
            (b - a) * 1000 }'
done
