# Helpers for the end-to-end tests: the real program, copied into a fresh folder, under Xvfb
# with SDL's disk audio driver. Source it, then call e2e_setup "$1".
set -euo pipefail

readonly LOCK_NAME=TamberleApplication_C3650C37_E207_4D00_AD0E_FDF127E49E57_
readonly RATE_BYTES=192000 # S16LE stereo at 48000 Hz, per second
readonly DEFAULT_SETTINGS_HEX=e8030000020000000400000064000000000000000000000000000000170000003b000000
E2E_CLEANUP= # commands run at exit, after the programs have ended, each ending in ";"

fail() {
    echo "FAIL: $*" >&2
    tail -n 20 "$E2E_DIR"/err-* >&2 || true
    exit 1
}

e2e_cleanup() {
    # All the test started, and all that those started in turn (services the session bus
    # activated, an accessibility bus, a D-Bus launcher), has the test's folder in its environment
    # or on its command line and ends now, by its process id: a service that outlived its bus
    # would write into the folder as it goes. Twice, for one that a launcher was starting as the
    # first round came.
    for _ in 1 2; do
        kill -KILL $(grep -lsF "$E2E_DIR/" /proc/[0-9]*/{environ,cmdline} | cut -d/ -f3) \
            2>/dev/null || true
        wait 2>/dev/null || true
        sleep 0.2
    done
    eval "$E2E_CLEANUP" || true
    rm -rf "$E2E_DIR"
}

# e2e_setup EXECUTABLE: the program as $E2E_DIR/app/kirorin, a private runtime folder (so the
# instance lock is the test's own), the disk audio capture and a display.
e2e_setup() {
    E2E_DIR=$(mktemp -d /tmp/kirorin-e2e.XXXXXX)
    trap e2e_cleanup EXIT
    chmod 755 "$E2E_DIR"
    mkdir -m 755 "$E2E_DIR/app"
    mkdir -m 700 "$E2E_DIR/run" "$E2E_DIR/home"
    cp "$1" "$E2E_DIR/app/kirorin"
    # LANG: the program's own (Japanese) texts, whatever language the caller's desktop speaks.
    export XDG_RUNTIME_DIR=$E2E_DIR/run HOME=$E2E_DIR/home TZ=UTC LANG=C.UTF-8
    unset LANGUAGE LC_ALL LC_MESSAGES
    export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$E2E_DIR/capture.raw
    unset WAYLAND_DISPLAY QT_QPA_PLATFORM QT_QPA_PLATFORMTHEME XDG_CURRENT_DESKTOP SESSION_MANAGER
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 \
        3>"$E2E_DIR/display" &
    wait_until 10 test -s "$E2E_DIR/display" || fail "Xvfb did not start"
    export DISPLAY=:$(head -n1 "$E2E_DIR/display")
}

# own_bus: a session bus of the test's own, its socket in the test's folder. The bus starts
# services (xfconfd) with its own environment, so the test's home and XDG folders come first.
own_bus() {
    export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share \
        XDG_CACHE_HOME=$HOME/.cache DBUS_SESSION_BUS_ADDRESS
    DBUS_SESSION_BUS_ADDRESS=$(dbus-daemon --session --fork --print-address \
        --address="unix:path=$E2E_DIR/bus") || fail "no session bus"
}

# start_program NAME [env arguments...]: runs the copy in the background; pid in PID_<NAME>,
# output in $E2E_DIR/out-NAME and err-NAME.
start_program() {
    env "${@:2}" "$E2E_DIR/app/kirorin" >"$E2E_DIR/out-$1" 2>"$E2E_DIR/err-$1" </dev/null &
    printf -v "PID_$1" '%s' $!
}

# wait_until SECONDS COMMAND...: polls every 0.1 s.
wait_until() {
    local i
    for ((i = 0; i < $1 * 10; i++)); do
        "${@:2}" && return 0
        sleep 0.1
    done
    return 1
}

running() { kill -0 "$1" 2>/dev/null; }
exit_code() { wait "$1" && echo 0 || echo $?; }

# expect_exit CODE PID CAUSE: CAUSE ends the program within 10 s with exit code CODE.
expect_exit() {
    wait_until 10 eval "! running $2" || fail "$3 did not end the program"
    [[ $(exit_code "$2") == "$1" ]] || fail "exit code $(exit_code "$2") after $3, not $1"
}
# stop_program PID [SIGNAL]: SIGNAL (TERM; INT and HUP alike) ends the program with exit code 0.
stop_program() {
    kill -"${2:-TERM}" "$1" 2>/dev/null || fail "the program ended before SIG${2:-TERM}"
    expect_exit 0 "$1" "SIG${2:-TERM}"
}

settings_file() { echo "$E2E_DIR/app/tamberle.sav"; }
settings_hex() { od -An -v -tx1 "${1:-$(settings_file)}" | tr -d ' \n'; }

# write_settings FIELD...: the nine fields as little-endian 32-bit values, into $SETTINGS_FILE or
# the file beside the program.
write_settings() {
    perl -e 'print pack("l<*", @ARGV)' "$@" >"${SETTINGS_FILE:-$(settings_file)}"
}

# The words that run a command as nobody, for the runs that need a user other than root.
AS_NOBODY=(setpriv --reuid=nobody --regid=nogroup --clear-groups)

capture_bytes() { stat -c %s "${1:-$SDL_DISKAUDIOFILE}" 2>/dev/null || echo 0; }
# wait_capture SECONDS: until the capture holds that much more sound than now; FROM and TO are
# those seconds' byte offsets.
wait_capture() {
    FROM=$(capture_bytes) TO=$(($(capture_bytes) + $1 * RATE_BYTES))
    wait_until $(($1 + 20)) eval '(($(capture_bytes) >= TO))' || fail "capture stuck at $(capture_bytes) bytes"
}

# level FROM_BYTE TO_BYTE STAT [sox effects...]: a sox statistic of the capture's mono mix
# between two byte offsets, in dBFS; -999 for digital silence.
level() {
    local from=$(($1 / 4 * 4)) value
    value=$(tail -c +$((from + 1)) "$SDL_DISKAUDIOFILE" | head -c $(($2 / 4 * 4 - from)) |
        sox -t raw -r 48000 -e signed -b 16 -c 2 - -n remix - "${@:4}" stats 2>&1 |
        awk -v s="$3" '$0 ~ "^" s { print $4 }')
    # No statistic at all is sox failing, not silence.
    [[ -n $value ]] || fail "sox measured nothing between bytes $1 and $2"
    [[ $value == -inf ]] && value=-999
    echo "$value"
}

# db_above A B [MARGIN]: A is above B + MARGIN.
db_above() { awk -v a="$1" -v b="$2" -v m="${3:-0}" 'BEGIN { exit !(a > b + m) }'; }

# expect_chirps FROM_BYTE TO_BYTE: sound, most of its energy near 5 kHz as the crickets'.
expect_chirps() {
    local all band peak
    all=$(level "$1" "$2" "RMS lev dB")
    band=$(level "$1" "$2" "RMS lev dB" sinc 4000-6000)
    # By the peak: one quiet chirp (-38 dB at worst) in seconds of silence has a tiny RMS.
    peak=$(level "$1" "$2" "Pk lev dB" sinc 4000-6000)
    db_above "$peak" -50 || fail "no chirp between bytes $1 and $2 (band peak $peak dB)"
    db_above "$band" "$all" -3 || fail "the sound is not the crickets' (band $band dB of $all dB)"
}

expect_silence() {
    local peak
    peak=$(level "$1" "$2" "Pk lev dB")
    [[ $peak == -999 ]] || fail "sound between bytes $1 and $2 (peak $peak dB)"
}

# The visible windows titled Kirorin: a message box, the settings dialog.
kirorin_windows() { xdotool search --onlyvisible --name '^Kirorin$' 2>/dev/null || true; }
# dismiss_message NAME: the message box shows; Enter on it ends the program with exit code 1.
dismiss_message() {
    local pid=PID_$1
    wait_until 15 eval '[[ -n $(kirorin_windows) ]]' || fail "no message box from $1"
    xdotool windowfocus --sync "$(kirorin_windows | head -n1)" key Return
    expect_exit 1 "${!pid}" "Enter on the message"
}

# start_program_at NAME TIME [env arguments...]: start_program with the wall clock starting at
# TIME ("2026-01-01 08:59:54") through libfaketime (its multithreaded library for the compiler's
# architecture); the monotonic clock stays real. The crickets' random draws are seeded from that
# clock, so a fixed TIME also fixes them.
start_program_at() {
    local lib=/usr/lib/$(gcc -print-multiarch)/faketime/libfaketimeMT.so.1
    [[ -f $lib ]] || fail "no $lib: libfaketime is not installed"
    export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0
    start_program "$1" LD_PRELOAD="$lib" "FAKETIME=@$2" FAKETIME_DONT_FAKE_MONOTONIC=1 "${@:3}"
}
