#!/usr/bin/env bash
# The program in a folder its user cannot write, as a system package installs it: the settings
# go to ~/.config/kirorin/ (read from there at the next start); a writable
# file in that folder is still used, rewritten in place. When neither place can be written:
# message 57668, with both files and their causes on standard error, and a silent end.
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"
unset XDG_CONFIG_HOME # the settings go to the default ~/.config

# As root the user is nobody and the folders stay root's; otherwise the folders lose their
# write permission.
chmod 555 "$E2E_DIR/app"
E2E_CLEANUP+="chmod -R u+w '$E2E_DIR';"
mkdir -m 777 "$E2E_DIR/user"
export SDL_DISKAUDIOFILE=$E2E_DIR/user/capture.raw
run_as=()
if [[ $(id -u) == 0 ]]; then
    chown nobody "$E2E_DIR/run" "$E2E_DIR/home"
    run_as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
elif touch "$E2E_DIR/app/probe" 2>/dev/null; then
    echo "SKIP: this user writes into read-only folders"
    exit 77
fi
user_file=$HOME/.config/kirorin/tamberle.sav

start_program user "${run_as[@]}"
wait_until 10 test -s "$user_file" || fail "no settings file in ~/.config/kirorin"
[[ $(settings_hex "$user_file") == "$DEFAULT_SETTINGS_HEX" ]] ||
    fail "the per-user file does not hold the defaults"
[[ $(stat -c %a "${user_file%/*}") == 700 ]] || fail "$HOME/.config/kirorin is not private"
[[ ! -e $(settings_file) ]] || fail "a settings file appeared beside the program"
stop_program "$PID_user"

# The next start reads that file and writes it back (a new file renamed over it).
SETTINGS_FILE=$user_file write_settings 1000 1 11 40 0 0 0 0 0
written() { [[ $(stat -c %i "$user_file") != "$1" ]]; }
before=$(settings_hex "$user_file") inode=$(stat -c %i "$user_file")
start_program again "${run_as[@]}"
wait_until 10 written "$inode" || fail "the per-user file was not written back"
[[ $(settings_hex "$user_file") == "$before" ]] || fail "the per-user file was not read"
stop_program "$PID_again"

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

rm -rf "$HOME/.config" "$SDL_DISKAUDIOFILE"
in_app rm "$(settings_file)"
chmod 555 "$HOME"
start_program ro "${run_as[@]}"
dismiss_message ro
line='Kirorin: 設定ファイルの保存に失敗しました Kirorinの起動を中断します'
grep -qx "$line ($E2E_DIR/app/tamberle.sav: Permission denied; $HOME/.config/kirorin: Permission denied)" \
    "$E2E_DIR/err-ro" || fail "message and causes not on standard error"
[[ ! -e $(settings_file) && ! -e $HOME/.config ]] || fail "a settings file appeared"
expect_silence 0 "$(capture_bytes)"
echo PASS
