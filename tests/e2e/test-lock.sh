#!/usr/bin/env bash
# The instance lock. SIGTERM, SIGINT and SIGHUP end the program like the exit command (exit code
# 0, lock released); after those and after kill -9 the next start succeeds. A second start while
# that one runs ends at once, silently, and leaves the file alone. A lock that cannot be taken for
# any reason but another instance: one line on standard error naming the path and the cause,
# exit code 1, and nothing else done. Two users start Kirorin from the same root-owned folder at
# the same time: each takes a lock of their own and keeps their own settings. (A lock in
# XDG_RUNTIME_DIR is the one every other test takes.)
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
stop_program "$PID_after"

# one_line NAME LINE: the program ended with exit code 1 and said LINE, once (Qt may add its own
# warnings about the same folder).
one_line() {
    local pid=PID_$1
    expect_exit 1 "${!pid}" "the $1 lock folder"
    [[ $(grep -v '^QStandardPaths: ' "$E2E_DIR/err-$1") == "$2" ]] ||
        fail "$1: standard error is not the one line"
}

# A runtime folder under a file: neither Qt nor anyone else can make it.
touch "$E2E_DIR/file"
rm "$(settings_file)"
start_program missing XDG_RUNTIME_DIR="$E2E_DIR/file/run"
one_line missing "kirorin: cannot take the instance lock $E2E_DIR/file/run/$LOCK_NAME: Not a directory"
[[ ! -e $(settings_file) ]] || fail "the settings file was written"

# Without XDG_RUNTIME_DIR the lock folder is /tmp/kirorin-<uid>; another user's file, folder or
# link in its place is refused. Making users needs root.
if [[ $(id -u) != 0 ]]; then
    echo "PASS (the cases of another user's lock folder need root)"
    exit 0
fi
add_user c
lock_dir=/tmp/kirorin-${USER_ID[c]}
prefix="kirorin: cannot take the instance lock $lock_dir: not a private folder of this user"
for kind in file folder link; do
    rm -rf "$lock_dir"
    case $kind in
        file) touch "$lock_dir" && reason="not a folder" ;;
        folder) mkdir -m 700 "$lock_dir" && reason="owner 0, mode 0700" ;;
        link) ln -s "$HOME" "$lock_dir" && reason="a symbolic link" ;;
    esac
    start_program "$kind" -u XDG_RUNTIME_DIR HOME="$E2E_DIR/home-c" $(as_user "${LOGIN[c]}")
    one_line "$kind" "$prefix ($reason)"
    [[ ! -e $E2E_DIR/home-c/.config ]] || fail "$kind: the settings file was written"
done

# Two users at once, without XDG_RUNTIME_DIR: each has a lock folder of their own in /tmp.
unset XDG_CONFIG_HOME # the settings go to the default ~/.config
add_user a
add_user b
mkdir -m 777 "$E2E_DIR/user"
for u in a b; do
    start_program "$u" -u XDG_RUNTIME_DIR HOME="$E2E_DIR/home-$u" \
        SDL_DISKAUDIOFILE="$E2E_DIR/user/$u.raw" $(as_user "${LOGIN[$u]}")
done
for u in a b; do
    uid=${USER_ID[$u]}
    # Only the holder of the lock writes its settings.
    wait_until 10 test -s "$E2E_DIR/home-$u/.config/kirorin/tamberle.sav" ||
        fail "$u wrote no settings"
    [[ $(stat -c '%u %a' "/tmp/kirorin-$uid") == "$uid 700" ]] ||
        fail "$u's lock folder is not private"
    flock -n "/tmp/kirorin-$uid/$LOCK_NAME" true && fail "$u's lock is not held"
done
stop_program "$PID_a"
stop_program "$PID_b"
echo PASS
