#!/usr/bin/env bash
# --help and --version answer on standard output and end at once; anything else is a usage
# error. Without a reachable display the program says so in one line and exits with code 1
# instead of aborting. Neither takes the lock or writes a file. Run without a display, so that a
# program that started instead would say so and fail.
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"
unset DISPLAY

# environment | arguments | exit code | standard output | standard error, its lines joined by ~
# ('' = empty)
cases=(
    "|--help|0|^Usage: kirorin .*Only one Kirorin runs at a time.*pkill -x kirorin|"
    "|-h|0|^Usage: kirorin |"
    "|--version|0|^kirorin [0-9]+\.[0-9]+\.[0-9]+$|"
    "|-V|0|^kirorin [0-9]|"
    "|--verbose|2||^kirorin: unknown option '--verbose'~Usage: kirorin "
    "|settings.sav|2||^kirorin: unexpected argument 'settings.sav'"
    "-u WAYLAND_DISPLAY||1||^kirorin: no display [^~]*$"
    "DISPLAY=:4242||1||^kirorin: cannot connect to X display :4242: [^~]*connection failed[^~]*$"
    "DISPLAY=:4242 QT_QPA_PLATFORM=xcb||1||^kirorin: cannot open the display: [^~]*$"
)
for case in "${cases[@]}"; do
    IFS='|' read -r environment args code out err <<<"$case"
    # shellcheck disable=SC2086 # lists of words
    env $environment "$E2E_DIR/app/kirorin" $args >"$E2E_DIR/out" 2>"$E2E_DIR/err" && got=0 || got=$?
    [[ $got == "$code" ]] || fail "$environment kirorin $args: exit code $got, not $code"
    for stream in out err; do
        pattern=${!stream}
        text=$(paste -sd~ "$E2E_DIR/$stream")
        if [[ -z $pattern ]]; then
            [[ -z $text ]] || fail "$environment kirorin $args: unexpected standard $stream: $text"
        else
            grep -Eq "$pattern" <<<"$text" || fail "$environment kirorin $args: standard $stream is: $text"
        fi
    done
done
[[ ! -e $(settings_file) ]] || fail "a settings file was written"
lock_free || fail "lock held"
echo PASS
