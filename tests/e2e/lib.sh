# Shared helpers for the end-to-end tests: the real program, copied into a fresh folder, under
# Xvfb with SDL's disk audio driver. Source it, then call e2e_setup "$1".
set -euo pipefail

readonly LOCK_NAME=TamberleApplication_C3650C37_E207_4D00_AD0E_FDF127E49E57_
readonly RATE_BYTES=192000 # S16LE stereo at 48000 Hz, per second
# The 36 bytes of a settings file holding the defaults.
readonly DEFAULT_SETTINGS_HEX=e8030000020000000400000064000000000000000000000000000000170000003b000000

E2E_PIDS=()

fail() {
    echo "FAIL: $*" >&2
    for f in "$E2E_DIR"/err*; do
        [[ -f $f ]] && { echo "--- $f" >&2; tail -n 20 "$f" >&2; }
    done
    exit 1
}

e2e_cleanup() {
    local pid
    for pid in "${E2E_PIDS[@]}"; do
        kill -KILL "$pid" 2>/dev/null || true
    done
    [[ -n ${XVFB_PID:-} ]] && kill "$XVFB_PID" 2>/dev/null || true
    wait 2>/dev/null || true
    [[ -n ${E2E_DIR:-} ]] && rm -rf "$E2E_DIR"
}

# e2e_setup EXECUTABLE: fresh folder $E2E_DIR with the program as $E2E_DIR/app/kirorin, its own
# runtime directory (so the instance lock is private to the test) and a display.
e2e_setup() {
    local executable=$1
    E2E_DIR=$(mktemp -d /tmp/kirorin-e2e.XXXXXX)
    trap e2e_cleanup EXIT
    chmod 755 "$E2E_DIR"
    mkdir -m 755 "$E2E_DIR/app"
    cp "$executable" "$E2E_DIR/app/kirorin"
    mkdir -m 700 "$E2E_DIR/run"
    mkdir -m 700 "$E2E_DIR/home"
    export XDG_RUNTIME_DIR=$E2E_DIR/run HOME=$E2E_DIR/home
    export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$E2E_DIR/capture.raw
    export TZ=UTC
    unset WAYLAND_DISPLAY QT_QPA_PLATFORM SESSION_MANAGER
    start_xvfb
}

start_xvfb() {
    exec {fd}>"$E2E_DIR/display"
    Xvfb -displayfd "$fd" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
    XVFB_PID=$!
    exec {fd}>&-
    local i
    for ((i = 0; i < 100; i++)); do
        if [[ -s $E2E_DIR/display ]]; then
            export DISPLAY=:$(head -n1 "$E2E_DIR/display")
            return 0
        fi
        sleep 0.1
    done
    fail "Xvfb did not start"
}

# start_program NAME [env VAR=value...]: runs the copied program in the background; its pid in
# PID_<NAME>, its output in $E2E_DIR/out-NAME and err-NAME.
start_program() {
    local name=$1
    shift
    env "$@" "$E2E_DIR/app/kirorin" >"$E2E_DIR/out-$name" 2>"$E2E_DIR/err-$name" </dev/null &
    local pid=$!
    E2E_PIDS+=("$pid")
    printf -v "PID_$name" '%s' "$pid"
}

# wait_until SECONDS COMMAND...: polls every 0.1 s; false when the time runs out.
wait_until() {
    local limit=$1
    shift
    local i
    for ((i = 0; i < limit * 10; i++)); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

running() { kill -0 "$1" 2>/dev/null; }
ended() { ! kill -0 "$1" 2>/dev/null; }

# exit_code PID: waits for the program and prints its exit status.
exit_code() {
    local status=0
    wait "$1" || status=$?
    echo "$status"
}

settings_file() { echo "$E2E_DIR/app/tamberle.sav"; }
settings_hex() { od -An -v -tx1 "$(settings_file)" | tr -d ' \n'; }

# le32 VALUE: the value as four little-endian bytes (two's complement).
le32() {
    local v=$(($1 & 0xFFFFFFFF))
    printf '\\x%02x\\x%02x\\x%02x\\x%02x' $((v & 255)) $((v >> 8 & 255)) $((v >> 16 & 255)) \
        $((v >> 24 & 255))
}

# write_settings FIELD... : the nine 32-bit fields, written little-endian as the settings file.
write_settings() {
    local field bytes=
    for field in "$@"; do
        bytes+=$(le32 "$field")
    done
    printf "$bytes" >"$(settings_file)"
}

capture_bytes() { stat -c %s "$SDL_DISKAUDIOFILE" 2>/dev/null || echo 0; }
capture_seconds() { echo $(($(capture_bytes) / RATE_BYTES)); }

# band_rms_db FROM_BYTE TO_BYTE LOW HIGH: RMS level in dBFS of the capture between two byte
# offsets, band-passed to LOW..HIGH Hz; -999 for digital silence.
band_rms_db() {
    local from=$(($1 / 4 * 4)) to=$(($2 / 4 * 4))
    local slice=$E2E_DIR/slice.raw
    tail -c +$((from + 1)) "$SDL_DISKAUDIOFILE" | head -c $((to - from)) >"$slice"
    local filter=()
    [[ -n ${3:-} ]] && filter=(sinc "$3-$4")
    local level
    level=$(sox -t raw -r 48000 -e signed -b 16 -c 2 "$slice" -n remix - "${filter[@]}" stats 2>&1 |
        awk '/^RMS lev dB/ { print $4 }')
    [[ -z $level || $level == -inf ]] && level=-999
    echo "$level"
}

# peak_db FROM_BYTE TO_BYTE: the capture's peak level in dBFS; -999 for digital silence.
peak_db() {
    local from=$(($1 / 4 * 4)) to=$(($2 / 4 * 4))
    local slice=$E2E_DIR/slice.raw
    tail -c +$((from + 1)) "$SDL_DISKAUDIOFILE" | head -c $((to - from)) >"$slice"
    local level
    level=$(sox -t raw -r 48000 -e signed -b 16 -c 2 "$slice" -n stats 2>&1 |
        awk '/^Pk lev dB/ { print $4 }')
    [[ -z $level || $level == -inf ]] && level=-999
    echo "$level"
}

db_above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

# expect_chirps FROM_BYTE TO_BYTE: sound is there, and it is the crickets' (most of its energy
# near 5 kHz).
expect_chirps() {
    local all band
    all=$(band_rms_db "$1" "$2")
    band=$(band_rms_db "$1" "$2" 4000 6000)
    db_above "$band" -60 || fail "no chirp in the capture between bytes $1 and $2 (band $band dB)"
    db_above "$band" "$(awk -v a="$all" 'BEGIN { print a - 3 }')" ||
        fail "the sound is not the crickets' (band $band dB of $all dB)"
}

# expect_silence FROM_BYTE TO_BYTE
expect_silence() {
    local peak
    peak=$(peak_db "$1" "$2")
    [[ $peak == -999 ]] || fail "sound between bytes $1 and $2 (peak $peak dB)"
}

# wait_capture SECONDS: until the capture holds that many seconds.
capture_holds() { (($(capture_bytes) >= $1)); }
wait_capture() {
    wait_until $(($1 + 20)) capture_holds $(($1 * RATE_BYTES)) ||
        fail "capture stuck at $(capture_bytes) bytes"
}

# message_box_window: id of the visible window titled Kirorin (the message box), if any.
message_box_window() { xdotool search --onlyvisible --name '^Kirorin$' 2>/dev/null | head -n1; }
message_box_shown() { [[ -n $(message_box_window) ]]; }
settings_size_is() { [[ $(stat -c %s "$(settings_file)" 2>/dev/null) == "$1" ]]; }

lock_free() { flock -n "$XDG_RUNTIME_DIR/$LOCK_NAME" true; }
