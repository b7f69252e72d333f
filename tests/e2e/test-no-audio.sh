#!/usr/bin/env bash
# No usable audio device: message 57667, in the desktop's language, and the program ends when it
# is dismissed.
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"

while IFS='|' read -r locale line; do
    start_program noaudio SDL_AUDIODRIVER=nonexistent LANG="$locale"
    wait_until 15 message_box_shown || fail "no message box ($locale)"
    grep -qxF "Kirorin: $line" "$E2E_DIR/err-noaudio" || fail "message not on standard error ($locale)"
    xdotool windowfocus --sync "$(message_box_window)" key Return
    wait_until 5 ended "$PID_noaudio" || fail "the program did not end after Enter"
    [[ $(exit_code "$PID_noaudio") == 1 ]] || fail "exit code is not 1"
    [[ ! -e $(settings_file) ]] || fail "the settings file was written"
    lock_free || fail "lock held"
done <<'ROWS'
C.UTF-8|サウンドの初期化に失敗しました Kirorinの起動を中断します
en_US.UTF-8|Failed to initialize the sound Aborting Kirorin's start-up
ROWS
echo PASS
