#!/usr/bin/env bash
# CPU time and peak memory of the running program (16 crickets, pointer at rest) against the
# floor program, each for SECONDS (default 60) under Xvfb with SDL's disk audio driver.
# Usage: bench/measure-cpu.sh [build folder] [seconds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
seconds=${2:-60}
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
    rm -rf "$work"
}
trap cleanup EXIT
exec {fd}>"$work/display"
Xvfb -displayfd "$fd" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
exec {fd}>&-
for _ in $(seq 50); do [[ -s $work/display ]] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$work/display")
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null XDG_RUNTIME_DIR=$work
unset WAYLAND_DISPLAY QT_QPA_PLATFORM

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

mkdir "$work/app"
cp "$build/kirorin" "$work/app/"
# marker 1000, wariness 1 (the pointer is read on every tick, as in the floor), 16 crickets,
# volume 100, all day.
printf '\xe8\x03\0\0\x01\0\0\0\x10\0\0\0\x64\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\x17\0\0\0\x3b\0\0\0' \
    >"$work/app/tamberle.sav"
measure floor "$build/bench/floor_program"
measure kirorin "$work/app/kirorin"
