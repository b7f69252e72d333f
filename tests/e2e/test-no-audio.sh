#!/usr/bin/env bash
# No usable audio device: one line naming the cause, then message 57667, and the program ends
# when it is dismissed. Left to probe every driver, the sound library prints nothing of its own.
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"

mkdir -m 700 "$E2E_DIR/pulse"
printf 'autospawn = no\n' >"$E2E_DIR/pulse-client.conf"
cases=(SDL_AUDIODRIVER=nonexistent)
# Probing every driver finds nothing only where there is no sound card.
[[ -e /dev/snd ]] || cases+=("-u SDL_AUDIODRIVER PULSE_RUNTIME_PATH=$E2E_DIR/pulse
    PULSE_CLIENTCONFIG=$E2E_DIR/pulse-client.conf")
for i in "${!cases[@]}"; do
    # shellcheck disable=SC2086 # the case is a list of env arguments
    start_program "noaudio$i" ${cases[i]}
    pid_var=PID_noaudio$i
    wait_until 15 message_box_shown || fail "no message box (${cases[i]})"
    err=$E2E_DIR/err-noaudio$i
    [[ $(wc -l <"$err") == 2 ]] || fail "not two lines on standard error (${cases[i]})"
    grep -q '^kirorin: cannot open the sound output: .' "$err" || fail "no cause (${cases[i]})"
    grep -qx 'Kirorin: サウンドの初期化に失敗しました Kirorinの起動を中断します' "$err" ||
        fail "message not on standard error"
    xdotool windowfocus --sync "$(message_box_window)" key Return
    wait_until 5 ended "${!pid_var}" || fail "the program did not end after Enter"
    [[ $(exit_code "${!pid_var}") == 1 ]] || fail "exit code is not 1"
done
[[ ! -e $(settings_file) ]] || fail "the settings file was written"
lock_free || fail "lock held"
echo PASS
