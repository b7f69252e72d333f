#!/usr/bin/env bash
# --help and --version answer on standard output and end at once; anything else is a usage
# error. Run without a display, so that a program that started instead would say so and fail.
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"
unset DISPLAY

# arguments | exit code | pattern of standard output | pattern of standard error ('' = empty)
cases=(
    "--help|0|^Usage: kirorin .*Only one Kirorin runs at a time.*pkill -x kirorin|"
    "-h|0|^Usage: kirorin |"
    "--version|0|^kirorin [0-9]+\.[0-9]+\.[0-9]+$|"
    "-V|0|^kirorin [0-9]|"
    "--verbose|2||^kirorin: unknown option '--verbose'.Usage: kirorin "
    "settings.sav|2||^kirorin: unexpected argument 'settings.sav'"
)
for case in "${cases[@]}"; do
    IFS='|' read -r args code out err <<<"$case"
    "$E2E_DIR/app/kirorin" $args >"$E2E_DIR/out" 2>"$E2E_DIR/err" && got=0 || got=$?
    [[ $got == "$code" ]] || fail "kirorin $args: exit code $got, not $code"
    for stream in out err; do
        pattern=${!stream}
        text=$(tr '\n' ' ' <"$E2E_DIR/$stream")
        text=${text% }
        if [[ -z $pattern ]]; then
            [[ -z $text ]] || fail "kirorin $args: unexpected standard $stream: $text"
        else
            grep -Eq "$pattern" <<<"$text" || fail "kirorin $args: standard $stream is: $text"
        fi
    done
done
[[ ! -e $(settings_file) ]] || fail "a settings file was written"
echo PASS
