#!/usr/bin/env bash
# Without a reachable display the program says so in one line and exits with code 1 instead
# of aborting; it takes no lock and writes no file.
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"

start_program unset -u DISPLAY -u WAYLAND_DISPLAY
start_program dead DISPLAY=:4242
start_program forced DISPLAY=:4242 QT_QPA_PLATFORM=xcb
for name in unset dead forced; do
    pid_var=PID_$name
    wait_until 10 ended "${!pid_var}" || fail "$name: still running"
    [[ $(exit_code "${!pid_var}") == 1 ]] || fail "$name: exit code is not 1"
    [[ $(grep -c . "$E2E_DIR/err-$name") == 1 ]] || fail "$name: not one line on stderr"
    grep -q '^kirorin: .*display' "$E2E_DIR/err-$name" || fail "$name: line does not say why"
done
grep -q 'connection failed' "$E2E_DIR/err-dead" || fail "the line does not name xcb's cause"
[[ ! -e $(settings_file) ]] || fail "a settings file was written"
lock_free || fail "lock held"
echo PASS
