#!/usr/bin/env bash
# No settings file: start-up writes the defaults beside the program (wherever it is started
# from), no window shows, and the crickets sing.
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"

cd /
start_program main
wait_until 10 test -s "$(settings_file)" || fail "no settings file written"
wait_until 5 settings_size_is 36 || fail "settings file is not 36 bytes"
[[ $(settings_hex) == "$DEFAULT_SETTINGS_HEX" ]] || fail "settings file holds $(settings_hex)"

# Default settings: four crickets, quiet for 6 s after the first cursor sample; every cricket
# has begun its first song by 13 s.
wait_capture 15
running "$PID_main" || fail "the program ended"
[[ -z $(xdotool search --onlyvisible --name 'Kirorin' 2>/dev/null) ]] || fail "a window is visible"
expect_chirps 0 $((15 * RATE_BYTES))

kill -TERM "$PID_main"
wait_until 5 ended "$PID_main" || fail "SIGTERM did not end the program"
[[ $(exit_code "$PID_main") == 0 ]] || fail "exit code after SIGTERM"
lock_free || fail "instance lock still held"
echo PASS
