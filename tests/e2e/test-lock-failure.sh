#!/usr/bin/env bash
# A lock that cannot be taken for any reason but another instance: one line on standard error
# naming the path and the cause, exit code 1, and nothing else done.
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"

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
lock_dir=/tmp/kirorin-$UID_c
prefix="kirorin: cannot take the instance lock $lock_dir: not a private folder of this user"
for kind in file folder link; do
    rm -rf "$lock_dir"
    case $kind in
        file) touch "$lock_dir" && reason="not a folder" ;;
        folder) mkdir -m 700 "$lock_dir" && reason="owner 0, mode 0700" ;;
        link) ln -s "$HOME" "$lock_dir" && reason="a symbolic link" ;;
    esac
    start_program "$kind" -u XDG_RUNTIME_DIR HOME="$E2E_DIR/home-c" $(as_user "$LOGIN_c")
    one_line "$kind" "$prefix ($reason)"
    [[ ! -e $E2E_DIR/home-c/.config ]] || fail "$kind: the settings file was written"
done
echo PASS
