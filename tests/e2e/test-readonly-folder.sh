#!/usr/bin/env bash
# The program in a folder its user cannot write, as a system package installs it: the settings
# go to ~/.config/kirorin/ (read from there at the next start), and without XDG_RUNTIME_DIR the
# lock is taken in a private /tmp/kirorin-<uid> made for that user; a writable
# file in that folder is still used, rewritten in place. When neither place can be written:
# message 57668, with both files and their causes on standard error, and a silent end.
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"
unset XDG_CONFIG_HOME # the settings go to the default ~/.config

# As root the user is nobody, without XDG_RUNTIME_DIR (so its lock folder is
# /tmp/kirorin-<uid>), and the folders stay root's; otherwise the folders lose their write
# permission.
chmod 555 "$E2E_DIR/app"
E2E_CLEANUP+="chmod -R u+w '$E2E_DIR';"
run_as=()
if [[ $(id -u) == 0 ]]; then
    chown nobody "$E2E_DIR/home"
    run_as=(-u XDG_RUNTIME_DIR "${AS_NOBODY[@]}")
    lock_dir=/tmp/kirorin-$(id -u nobody)
    rm -rf "$lock_dir"
    E2E_CLEANUP+="rm -rf '$lock_dir';"
elif touch "$E2E_DIR/app/probe" 2>/dev/null; then
    echo "SKIP: this user writes into read-only folders"
    exit 77
fi
user_file=$HOME/.config/kirorin/tamberle.sav
# The capture in the user's home, made before that home is write-protected below.
export SDL_DISKAUDIOFILE=$HOME/capture.raw

start_program user "${run_as[@]}"
wait_until 10 eval '[[ $(settings_hex "$user_file" 2>/dev/null) == "$DEFAULT_SETTINGS_HEX" ]]' ||
    fail "no settings file holding the defaults in ~/.config/kirorin"
[[ $(stat -c %a "${user_file%/*}") == 700 ]] || fail "$HOME/.config/kirorin is not private"
[[ ! -e $(settings_file) ]] || fail "a settings file appeared beside the program"
[[ -z ${lock_dir:-} || $(stat -c '%U %a' "$lock_dir") == "nobody 700" ]] || fail "$lock_dir is not private"
[[ -z ${lock_dir:-} ]] || ! flock -n "$lock_dir/$LOCK_NAME" true || fail "the lock in $lock_dir is not held"
stop_program "$PID_user" HUP

# The next start reads that file and writes it back (a new file renamed over it).
SETTINGS_FILE=$user_file write_settings 1000 1 11 40 0 0 0 0 0
before=$(settings_hex "$user_file") inode=$(stat -c %i "$user_file")
start_program again "${run_as[@]}"
wait_until 10 eval '[[ $(stat -c %i "$user_file") != "$inode" ]]' ||
    fail "the per-user file was not written back"
[[ $(settings_hex "$user_file") == "$before" ]] || fail "the per-user file was not read"
# Killed outright, it leaves the next start free.
kill -KILL "$PID_again"
expect_exit 137 "$PID_again" SIGKILL

# in_app COMMAND...: COMMAND with the program's folder writable for a moment.
in_app() { chmod u+w "$E2E_DIR/app" && "$@" && chmod 555 "$E2E_DIR/app"; }
# A writable file in the program's folder wins, and is rewritten in place: 17 crickets are
# written back as the 16 that exist.
in_app write_settings 1000 2 17 100 0 0 0 23 59
[[ $(id -u) != 0 ]] || chown nobody "$(settings_file)"
start_program inplace "${run_as[@]}"
wait_until 10 eval '[[ $(settings_hex) == e803000002000000100000006400* ]]' ||
    fail "the writable file in the read-only folder was not rewritten"
stop_program "$PID_inplace"
[[ $(settings_hex "$user_file") == "$before" ]] || fail "the per-user file changed"

rm -rf "$HOME/.config"
in_app rm "$(settings_file)"
chmod 555 "$HOME"
start_program ro "${run_as[@]}"
dismiss_message ro
line='Kirorin: 設定ファイルの保存に失敗しました Kirorinの起動を中断します'
grep -qx "$line ($E2E_DIR/app/tamberle.sav: Permission denied; $HOME/.config/kirorin: Permission denied)" \
    "$E2E_DIR/err-ro" || fail "message and causes not on standard error"
[[ ! -e $(settings_file) && ! -e $HOME/.config ]] || fail "a settings file appeared"
echo PASS
