#!/usr/bin/env bash
# An instance killed outright leaves no lock behind: the next start succeeds.
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"

start_program killed
wait_until 10 test -s "$(settings_file)" || fail "no settings file written"
kill -KILL "$PID_killed"
wait_until 5 ended "$PID_killed" || fail "kill -9 did not end it"
lock_free || fail "lock held after kill -9"

rm -f "$(settings_file)"
start_program next
wait_until 10 test -s "$(settings_file)" || fail "next start wrote no settings file"
sleep 1
running "$PID_next" || fail "next start ended"
kill -TERM "$PID_next"
wait_until 5 ended "$PID_next" || fail "next instance did not end"
echo PASS
