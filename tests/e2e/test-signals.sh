#!/usr/bin/env bash
# SIGTERM, SIGINT and SIGHUP end the program like the exit command: exit code 0, lock released,
# and the next start succeeds.
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"

for signal in TERM INT HUP; do
    rm -f "$(settings_file)"
    start_program "$signal"
    pid_var=PID_$signal
    pid=${!pid_var}
    wait_until 10 test -s "$(settings_file)" || fail "no start before SIG$signal"
    sleep 0.5
    running "$pid" || fail "ended before SIG$signal"
    kill -"$signal" "$pid"
    wait_until 5 ended "$pid" || fail "SIG$signal did not end the program"
    [[ $(exit_code "$pid") == 0 ]] || fail "exit code after SIG$signal"
    lock_free || fail "lock held after SIG$signal"
done

start_program after
wait_until 10 test -s "$(settings_file)" || fail "no start after the signals"
running "$PID_after" || fail "start after the signals failed"
kill -TERM "$PID_after"
wait_until 5 ended "$PID_after" || fail "last instance did not end"
echo PASS
