#!/usr/bin/env bash
# A second start while one instance runs ends at once, silently, and leaves the file alone.
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"

start_program first
wait_until 10 settings_written || fail "first instance wrote no settings file"
# A distinct record with an old time stamp: any write would show.
write_settings 1000 3 7 55 0 0 0 23 59
touch -d '2001-01-01 00:00:00' "$(settings_file)"
before="$(settings_hex) $(stat -c %Y "$(settings_file)")"

start_program second
wait_until 5 ended "$PID_second" || fail "second instance keeps running"
[[ $(exit_code "$PID_second") == 0 ]] || fail "second instance exit code"
[[ ! -s $E2E_DIR/err-second && ! -s $E2E_DIR/out-second ]] || fail "second instance spoke"
[[ "$(settings_hex) $(stat -c %Y "$(settings_file)")" == "$before" ]] || fail "file touched"
running "$PID_first" || fail "first instance ended"
stop_program "$PID_first"
echo PASS
