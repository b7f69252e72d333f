#!/usr/bin/env bash
# No usable audio device: message 57667, and the program ends when it is dismissed.
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"

start_program noaudio SDL_AUDIODRIVER=nonexistent
wait_until 15 message_box_shown || fail "no message box"
grep -qx 'Kirorin: サウンドの初期化に失敗しました Kirorinの起動を中断します' "$E2E_DIR/err-noaudio" ||
    fail "message not on standard error"
xdotool windowfocus --sync "$(message_box_window)" key Return
wait_until 5 ended "$PID_noaudio" || fail "the program did not end after Enter"
[[ $(exit_code "$PID_noaudio") == 1 ]] || fail "exit code is not 1"
[[ ! -e $(settings_file) ]] || fail "the settings file was written"
lock_free || fail "lock held"
echo PASS
