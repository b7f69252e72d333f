#!/usr/bin/env bash
# Start-ups that end at once. No usable audio device: one line naming the cause, then message
# 57667 in the desktop's language, and the program ends when it is dismissed; left to probe every
# driver, the sound library prints nothing of its own. --help and --version answer on standard
# output and end at once; anything else is a usage error. Without a reachable display the
# program says so in one line and exits with code 1 instead of aborting. None of them takes the
# lock or writes a file.
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"

mkdir -m 700 "$E2E_DIR/pulse"
printf 'autospawn = no\n' >"$E2E_DIR/pulse-client.conf"
probe="-u SDL_AUDIODRIVER PULSE_RUNTIME_PATH=$E2E_DIR/pulse PULSE_CLIENTCONFIG=$E2E_DIR/pulse-client.conf"
rows="C.UTF-8|SDL_AUDIODRIVER=nonexistent|サウンドの初期化に失敗しました Kirorinの起動を中断します
en_US.UTF-8|SDL_AUDIODRIVER=nonexistent|Failed to initialize the sound Aborting Kirorin's start-up"
# Probing every driver finds nothing only where there is no sound card.
[[ -e /dev/snd ]] || rows+="
C.UTF-8|$probe|サウンドの初期化に失敗しました Kirorinの起動を中断します"

while IFS='|' read -r locale environment line; do
    # shellcheck disable=SC2086 # the environment is a list of env arguments
    start_program noaudio $environment LANG="$locale"
    dismiss_message noaudio
    err=$E2E_DIR/err-noaudio
    [[ $(wc -l <"$err") == 2 ]] || fail "not two lines on standard error ($environment)"
    grep -q '^kirorin: cannot open the sound output: .' "$err" || fail "no cause ($environment)"
    grep -qxF "Kirorin: $line" "$err" || fail "message not on standard error ($locale)"
done <<<"$rows"

# The rest without a display, so that a program that started instead would say so and fail.
unset DISPLAY

# environment | arguments | exit code | standard output | standard error, its lines joined by ~
# ('' = empty)
cases=(
    "|--help|0|^Usage: kirorin .*Only one Kirorin runs at a time.*pkill -x kirorin|"
    "|-h|0|^Usage: kirorin |"
    "|--version|0|^kirorin [0-9]+\.[0-9]+\.[0-9]+$|"
    "|-V|0|^kirorin [0-9]|"
    "|--verbose|2||^kirorin: unknown option '--verbose'~Usage: kirorin "
    "|settings.sav|2||^kirorin: unexpected argument 'settings.sav'"
    "-u WAYLAND_DISPLAY||1||^kirorin: no display [^~]*$"
    "DISPLAY=:4242||1||^kirorin: cannot connect to X display :4242: [^~]*connection failed[^~]*$"
    "DISPLAY=:4242 QT_QPA_PLATFORM=xcb||1||^kirorin: cannot open the display: [^~]*$"
)
for case in "${cases[@]}"; do
    IFS='|' read -r environment args code out err <<<"$case"
    # shellcheck disable=SC2086 # lists of words
    run="$environment kirorin $args"
    env $environment "$E2E_DIR/app/kirorin" $args >"$E2E_DIR/out" 2>"$E2E_DIR/err" &&
        got=0 || got=$?
    [[ $got == "$code" ]] || fail "$run: exit code $got, not $code"
    for stream in out err; do
        # An empty pattern: the stream stays empty.
        pattern=${!stream} text=$(paste -sd~ "$E2E_DIR/$stream")
        grep -Eq "${pattern:-^$}" <<<"$text" || fail "$run: standard $stream is: $text"
    done
done
[[ ! -e $(settings_file) ]] || fail "a settings file was written"
lock_free || fail "lock held"
echo PASS
