#!/usr/bin/env bash
# The program in a folder its user cannot write: message 57668, its text on standard error,
# Enter dismisses the box and the program ends without a sound.
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"

if ((EUID == 0)); then
    # Root writes anywhere: an unprivileged user with writable places of its own, the program's
    # folder staying root's.
    mkdir -m 777 "$E2E_DIR/user"
    chown nobody "$E2E_DIR/run" "$E2E_DIR/home"
    export SDL_DISKAUDIOFILE=$E2E_DIR/user/capture.raw
    start_program ro setpriv --reuid=nobody --regid=nogroup --clear-groups
else
    chmod 555 "$E2E_DIR/app"
    trap 'chmod 755 "$E2E_DIR/app"; e2e_cleanup' EXIT
    if touch "$E2E_DIR/app/probe" 2>/dev/null; then
        echo "SKIP: this user writes into read-only folders"
        exit 77
    fi
    start_program ro
fi
wait_until 15 message_box_shown || fail "no message box"
grep -qx 'Kirorin: 設定ファイルの保存に失敗しました Kirorinの起動を中断します' "$E2E_DIR/err-ro" ||
    fail "message not on standard error"
xdotool windowfocus --sync "$(message_box_window)" key Return
wait_until 5 ended "$PID_ro" || fail "the program did not end after Enter"
[[ $(exit_code "$PID_ro") == 1 ]] || fail "exit code is not 1"
[[ ! -e $(settings_file) ]] || fail "a settings file appeared"
expect_silence 0 "$(capture_bytes)"
echo PASS
