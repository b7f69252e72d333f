#!/usr/bin/env bash
# Two users start Kirorin from the same root-owned folder at the same time, with and without
# XDG_RUNTIME_DIR: each takes a lock of their own, sings, and keeps their own settings.
source "$(dirname "$0")/lib.sh"
need_root
e2e_setup "$1"
unset XDG_CONFIG_HOME # the settings go to the default ~/.config
add_user a
add_user b
mkdir -m 777 "$E2E_DIR/user"

user_file() { echo "$E2E_DIR/home-$1/.config/kirorin/tamberle.sav"; }
for runtime in private none; do
    for u in a b; do
        login=LOGIN_$u
        login=${!login}
        if [[ $runtime == private ]]; then
            install -d -m 700 -o "$login" "$E2E_DIR/run-$u"
            where=(XDG_RUNTIME_DIR="$E2E_DIR/run-$u")
        else
            where=(-u XDG_RUNTIME_DIR)
        fi
        start_program "$runtime$u" "${where[@]}" HOME="$E2E_DIR/home-$u" \
            SDL_DISKAUDIOFILE="$E2E_DIR/user/$runtime$u.raw" $(as_user "$login")
    done
    for u in a b; do
        pid=PID_$runtime$u uid=UID_$u
        pid=${!pid} uid=${!uid}
        # Only the holder of the lock writes its settings.
        wait_until 10 test -s "$(user_file $u)" || fail "$runtime: $u wrote no settings"
        if [[ $runtime == none ]]; then
            [[ $(stat -c '%u %a' "/tmp/kirorin-$uid") == "$uid 700" ]] ||
                fail "$u's lock folder is not private"
            flock -n "/tmp/kirorin-$uid/$LOCK_NAME" true && fail "$u's lock is not held"
        fi
        running "$pid" || fail "$runtime: $u ended"
    done
    for u in a b; do
        pid=PID_$runtime$u
        stop_program "${!pid}"
        rm "$(user_file $u)"
    done
done
echo PASS
