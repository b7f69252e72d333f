#!/usr/bin/env bash
# An activity window that opens a few seconds after start: silence before, chirps after.
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"

# 16 crickets, never disturbed, singing from 09:00 to 17:00; the clock starts at 08:59:54.
write_settings 1000 0 16 100 1 9 0 17 0
start_program_at window "2026-01-01 08:59:54"
wait_capture 16
running "$PID_window" || fail "the program ended"
expect_silence 0 $((5 * RATE_BYTES))
expect_chirps $((6 * RATE_BYTES)) $((16 * RATE_BYTES))
stop_program "$PID_window"
echo PASS
