#!/usr/bin/env bash
# SIGTERM, SIGINT and SIGHUP end the program like the exit command (exit code 0, lock
# released); after those and after kill -9 the next start succeeds.
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"

for signal in TERM INT HUP KILL; do
    rm -f "$(settings_file)"
    start_program "$signal"
    pid_var=PID_$signal
    wait_until 10 settings_written || fail "no start before SIG$signal"
    kill -"$signal" "${!pid_var}"
    wait_until 5 ended "${!pid_var}" || fail "SIG$signal did not end the program"
    [[ $signal == KILL || $(exit_code "${!pid_var}") == 0 ]] || fail "exit code after SIG$signal"
    lock_free || fail "lock held after SIG$signal"
done

rm -f "$(settings_file)"
start_program after
wait_until 10 settings_written || fail "no start after the signals"
stop_program "$PID_after"
echo PASS
