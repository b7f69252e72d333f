#!/usr/bin/env bash
# Start-ups that end at once. No usable audio device: one line naming the cause, then message
# 57667 in the desktop's language, and the program ends when it is dismissed; left to probe every
# driver, the sound library prints nothing of its own. A second start while one runs ends at
# once, silently, and leaves the settings file alone. A lock that cannot be taken for any reason
# but another instance: one line on standard error naming the path and the cause, exit code 1,
# and nothing else done. --help and --version answer on standard output and end at once; anything
# else is a usage error. Without a reachable display the program says so in one line and exits
# with code 1 instead of aborting. None but the first instance takes the lock or writes a file.
# (That SIGINT, SIGHUP and kill -9 end the program and leave the next start free is seen in
# test-chorus.sh and test-readonly-folder.sh; a lock in XDG_RUNTIME_DIR is every test's.)
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"

mkdir -m 700 "$E2E_DIR/pulse"
printf 'autospawn = no\n' >"$E2E_DIR/pulse-client.conf"
probe="-u SDL_AUDIODRIVER PULSE_RUNTIME_PATH=$E2E_DIR/pulse PULSE_CLIENTCONFIG=$E2E_DIR/pulse-client.conf"
rows="C.UTF-8|SDL_AUDIODRIVER=nonexistent|サウンドの初期化に失敗しました Kirorinの起動を中断します
en_US.UTF-8|SDL_AUDIODRIVER=nonexistent|Failed to initialize the sound Aborting Kirorin's start-up"
# Probing every driver finds nothing only where there is no sound card.
[[ -e /dev/snd ]] || rows+="
C.UTF-8|$probe|サウンドの初期化に失敗しました Kirorinの起動を中断します"

while IFS='|' read -r locale environment line; do
    # shellcheck disable=SC2086 # the environment is a list of env arguments
    start_program noaudio $environment LANG="$locale"
    dismiss_message noaudio
    # Exactly the cause (whatever the sound library says, but something), then the message.
    err=$(sed 's/output: ..*/output: …/' "$E2E_DIR/err-noaudio")
    [[ $err == "kirorin: cannot open the sound output: …"$'\n'"Kirorin: $line" ]] ||
        fail "standard error ($locale, $environment) is: $err"
done <<<"$rows"

start_program first
wait_until 10 test -s "$(settings_file)" || fail "no first start" # written whole, by a rename
# An old time stamp (2001-01-01): any write would show.
touch -d @978307200 "$(settings_file)"
start_program second
expect_exit 0 "$PID_second" "a second start"
[[ ! -s $E2E_DIR/err-second && ! -s $E2E_DIR/out-second ]] || fail "second instance spoke"
[[ $(stat -c %Y "$(settings_file)") == 978307200 ]] || fail "file touched"
stop_program "$PID_first"
rm "$(settings_file)"

# refused CAUSE: the program started as "lock" ended with exit code 1 and said CAUSE in one line
# (Qt may add its own warnings about the same folder). Its start-up went no further: a program
# that went on would still run.
refused() {
    expect_exit 1 "$PID_lock" "a lock folder refused ($1)"
    [[ $(grep -v '^QStandardPaths: ' "$E2E_DIR/err-lock") == "kirorin: cannot take the instance lock $1" ]] ||
        fail "standard error is not the one line: $1"
}
# A runtime folder under a file (the program's own): neither Qt nor anyone else can make it.
start_program lock XDG_RUNTIME_DIR="$E2E_DIR/app/kirorin/run"
refused "$E2E_DIR/app/kirorin/run/$LOCK_NAME: Not a directory"
# Without XDG_RUNTIME_DIR the lock folder is /tmp/kirorin-<uid>; another user's file, folder or
# link in its place is refused. Running as another user needs root. (That the folder is made
# private and held when free is seen in test-readonly-folder.sh.)
if [[ $(id -u) == 0 ]]; then
    lock_dir=/tmp/kirorin-$(id -u nobody)
    E2E_CLEANUP+="rm -rf '$lock_dir';"
    # A home of nobody's own: the link to it leads to a private folder of that user.
    chown nobody "$E2E_DIR/home"
    for row in "touch|not a folder" "mkdir -m 700|owner 0, mode 0700" "ln -s $HOME|a symbolic link"; do
        rm -rf "$lock_dir"
        ${row%|*} "$lock_dir"
        start_program lock -u XDG_RUNTIME_DIR "${AS_NOBODY[@]}"
        refused "$lock_dir: not a private folder of this user (${row#*|})"
    done
fi

# The rest without a display, so that a program that started instead would say so and fail.
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
    run="$environment kirorin $args"
    env $environment "$E2E_DIR/app/kirorin" $args >"$E2E_DIR/out" 2>"$E2E_DIR/err" &&
        got=0 || got=$?
    [[ $got == "$code" ]] || fail "$run: exit code $got, not $code"
    for stream in out err; do
        # An empty pattern: the stream stays empty.
        pattern=${!stream} text=$(paste -sd~ "$E2E_DIR/$stream")
        grep -Eq "${pattern:-^$}" <<<"$text" || fail "$run: standard $stream is: $text"
    done
done
[[ ! -e $(settings_file) ]] || fail "a settings file was written"
flock -n "$XDG_RUNTIME_DIR/$LOCK_NAME" true || fail "lock held"
echo PASS
