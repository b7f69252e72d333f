#!/usr/bin/env bash
# SIGTERM, SIGINT and SIGHUP end the program like the exit command (exit code 0, lock
# released); after those and after kill -9 the next start succeeds. A second start while that one
# runs ends at once, silently, and leaves the file alone.
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"

for row in TERM:0 INT:0 HUP:0 KILL:137; do
    signal=${row%:*}
    rm -f "$(settings_file)"
    start_program "$signal"
    pid_var=PID_$signal
    wait_until 10 settings_written || fail "no start before SIG$signal"
    kill -"$signal" "${!pid_var}"
    expect_exit "${row#*:}" "${!pid_var}" "SIG$signal"
    lock_free || fail "lock held after SIG$signal"
done

rm -f "$(settings_file)"
start_program after
wait_until 10 settings_written || fail "no start after the signals"
# A distinct record with an old time stamp: any write would show.
write_settings 1000 3 7 55 0 0 0 23 59
touch -d '2001-01-01 00:00:00' "$(settings_file)"
before="$(settings_hex) $(stat -c %Y "$(settings_file)")"
start_program second
expect_exit 0 "$PID_second" "a second start"
[[ ! -s $E2E_DIR/err-second && ! -s $E2E_DIR/out-second ]] || fail "second instance spoke"
[[ "$(settings_hex) $(stat -c %Y "$(settings_file)")" == "$before" ]] || fail "file touched"
running "$PID_after" || fail "first instance ended"
stop_program "$PID_after"
echo PASS
