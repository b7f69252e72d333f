#!/usr/bin/env bash
# No usable audio device: one line naming the cause, then message 57667 in the desktop's
# language, and the program ends when it is dismissed. Left to probe every driver, the sound
# library prints nothing of its own.
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
    wait_until 15 message_box_shown || fail "no message box ($locale $environment)"
    err=$E2E_DIR/err-noaudio
    [[ $(wc -l <"$err") == 2 ]] || fail "not two lines on standard error ($environment)"
    grep -q '^kirorin: cannot open the sound output: .' "$err" || fail "no cause ($environment)"
    grep -qxF "Kirorin: $line" "$err" || fail "message not on standard error ($locale)"
    xdotool windowfocus --sync "$(message_box_window)" key Return
    expect_exit 1 "$PID_noaudio" "Enter on the message"
    [[ ! -e $(settings_file) ]] || fail "the settings file was written"
    lock_free || fail "lock held"
done <<<"$rows"
echo PASS
