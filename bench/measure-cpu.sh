#!/usr/bin/env bash
# CPU time and peak memory of the running program (16 crickets, pointer at rest; singing, and
# outside its activity window) against the floor program, each for SECONDS (default 65), ROUNDS
# times (default 3), under Xvfb. Sound goes to a private headless PulseAudio with a null sink
# that suspends when idle, as a desktop's would (SOUND=disk: SDL's disk driver instead, which
# never lets the output rest).
# Usage: bench/measure-cpu.sh [build folder] [seconds] [rounds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tests/e2e/lib.sh"
build=${1:-$root/build}
seconds=${2:-65}
rounds=${3:-3}
[[ -x $build/kirorin && -x $build/bench/floor_program ]] || {
    echo "build kirorin and floor_program in $build first" >&2
    exit 2
}

work=$(mktemp -d /tmp/kirorin-measure.XXXXXX)
# No command here may fail: under set -e the trap would stop before removing the folder.
cleanup() {
    if [[ -n ${xvfb:-} ]]; then
        kill "$xvfb" 2>/dev/null || true
    fi
    if [[ -n ${pulse:-} ]]; then
        kill "$pulse" 2>/dev/null || true
    fi
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
exec {fd}>"$work/display"
Xvfb -displayfd "$fd" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
exec {fd}>&-
for _ in $(seq 50); do [[ -s $work/display ]] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$work/display")
export XDG_RUNTIME_DIR=$work HOME=$work
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
if [[ ${SOUND:-pulse} == disk ]]; then
    export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null
else
    mkdir -m 700 "$work/pulse"
    printf 'autospawn = no\n' >"$work/client.conf"
    export SDL_AUDIODRIVER=pulseaudio PULSE_RUNTIME_PATH=$work/pulse PULSE_CLIENTCONFIG=$work/client.conf
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
        -L "module-native-protocol-unix auth-anonymous=1" -L "module-null-sink sink_name=one" \
        -L "module-suspend-on-idle timeout=1" >/dev/null 2>&1 &
    pulse=$!
    for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
fi

ticks=$(getconf CLK_TCK)
# measure NAME COMMAND: runs it for the set time; prints CPU seconds and peak RSS.
measure() {
    local name=$1
    shift
    "$@" >/dev/null 2>&1 &
    local pid=$!
    sleep "$seconds"
    local stat hwm
    stat=$(cut -d' ' -f14,15 "/proc/$pid/stat")
    hwm=$(awk '/^VmHWM/ { print $2 }' "/proc/$pid/status")
    kill -TERM "$pid"
    wait "$pid" || true
    local cpu
    cpu=$(echo "$stat" | awk -v t="$ticks" '{ printf "%.2f", ($1 + $2) / t }')
    printf '%-8s cpu %6s s in %s s (%5.2f %%)  peak RSS %6d KiB\n' "$name" "$cpu" "$seconds" \
        "$(awk -v c="$cpu" -v s="$seconds" 'BEGIN { print 100 * c / s }')" "$hwm"
}

# settings FOLDER MODE START_HOUR END_HOUR: marker 1000, wariness 1 (the pointer is read on
# every tick, as in the floor), 16 crickets, volume 100, the schedule.
settings() {
    mkdir "$1"
    cp "$build/kirorin" "$1/"
    SETTINGS_FILE=$1/tamberle.sav write_settings 1000 1 16 100 "$2" "$3" 0 "$4" 59
}
settings "$work/singing" 0 0 23
# An activity window twelve hours away.
away=$(((10#$(date +%H) + 12) % 24))
settings "$work/outside" 1 "$away" "$away"
for ((round = 1; round <= rounds; round++)); do
    echo "round $round"
    measure floor "$build/bench/floor_program"
    measure singing "$work/singing/kirorin"
    measure outside "$work/outside/kirorin"
done
