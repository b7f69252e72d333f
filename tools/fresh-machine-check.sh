#!/usr/bin/env bash
# Tries the README's commands as a new user on a fresh Debian 12 machine would: in a minimal
# root (tools/make-debian-root.sh) with a normal user who may use sudo, a clone of this
# checkout's HEAD runs `make run` first (it must build, then end with the one-line "no display"
# message), then `make install`, then `make test`. Needs root; takes a long while (the build
# runs twice over, the test packages are downloaded).
# Usage: tools/fresh-machine-check.sh [--root DIR] [--keep]
#   --root DIR  use DIR, a fresh root made by tools/make-debian-root.sh, instead of making one
#   --keep      leave the root in place at the end (it is removed otherwise)
set -euo pipefail

source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
root='' keep=0
while [[ $# -gt 0 ]]; do
    case "$1" in
        --root) root=${2:?--root needs a folder}; shift ;;
        --keep) keep=1 ;;
        *) sed -n '/^# Usage/,/^set/{/^set/d;s/^# \{0,1\}//;p}' "$0" >&2; exit 2 ;;
    esac
    shift
done
[[ $(id -u) -eq 0 ]] || { echo "$0: needs root (debootstrap, chroot, mounts)" >&2; exit 1; }

made_root=0
if [[ -z "$root" ]]; then
    root=$(mktemp -d /var/tmp/kirorin-fresh.XXXXXX)
    made_root=1
fi
root=$(cd "$root" && pwd)
user=newuser
mounted=()

cleanup() {
    local pid link i
    # Whatever the check left running inside the root (a test's server, a package's daemon).
    for link in /proc/[0-9]*/root; do
        pid=${link#/proc/}
        pid=${pid%/root}
        [[ "$(readlink "$link" 2>/dev/null)" == "$root" ]] && kill -KILL "$pid" 2>/dev/null
    done
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        umount "${mounted[i]}" 2>/dev/null || umount --lazy "${mounted[i]}"
    done
    if [[ $keep -eq 0 && $made_root -eq 1 ]]; then
        rm -rf --one-file-system "$root"
    elif [[ $keep -eq 1 ]]; then
        echo "Root kept in $root"
    fi
}
trap cleanup EXIT

step() { printf '\n== %s\n' "$*"; }
# Runs a command line as the new user, in a login shell in the clone, with a plain environment.
as_user() { chroot "$root" su --login "$user" --command "cd ~/kirorin && $1"; }

if [[ $made_root -eq 1 ]]; then
    step "Making a Debian 12 root in $root"
    "$source_dir/tools/make-debian-root.sh" "$root"
fi

step "Mounting /proc, /sys, /dev, /dev/pts, /dev/shm"
mount_in() {
    mount "$@"
    mounted+=("${@: -1}")
}
mount_in -t proc proc "$root/proc"
mount_in -t sysfs sysfs "$root/sys"
mount_in --bind /dev "$root/dev"
mount_in --bind /dev/pts "$root/dev/pts"
mount_in -t tmpfs -o mode=1777,nosuid,nodev shm "$root/dev/shm"

# What an installed system has and debootstrap does not write: a hosts file (sudo looks up the
# host name), and no daemons started by package scripts inside a chroot.
printf '127.0.0.1\tlocalhost\n127.0.1.1\t%s\n::1\tlocalhost ip6-localhost ip6-loopback\n' \
    "$(cat "$root/etc/hostname")" >"$root/etc/hosts"
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod +x "$root/usr/sbin/policy-rc.d"

step "A normal user who may use sudo, and a clone of $(git -C "$source_dir" rev-parse --short HEAD)"
chroot "$root" useradd --create-home --shell /bin/bash "$user"
echo "$user ALL=(ALL) NOPASSWD: ALL" >"$root/etc/sudoers.d/$user"
chmod 440 "$root/etc/sudoers.d/$user"
git clone --quiet --no-hardlinks "$source_dir" "$root/home/$user/kirorin"
chroot "$root" chown -R "$user:$user" "/home/$user/kirorin"

failed=0
step "make run"
set +e
as_user 'make run' 2>&1 | tee "$root/make-run.log"
status=${PIPESTATUS[0]}
set -e
# The program's own output: the lines between make's echo of the program and make's complaint.
program_output=$(sed -n '\|^\./build/kirorin$|,${\|^\./build/kirorin$|d;\|^make: \*\*\*|d;p}' "$root/make-run.log")
if [[ $status -ne 0 && $(grep -c . <<<"$program_output") -eq 1 ]] &&
    grep -q '^kirorin: .*display' <<<"$program_output"; then
    echo "CHECK make run: built, then said \"$program_output\" and exited non-zero"
else
    echo "CHECK make run: FAILED (exit $status; expected the program's one no-display line)"
    failed=1
fi

step "make install"
if as_user 'make install' && as_user 'test -x ~/.local/lib/kirorin/kirorin && test -L ~/.local/bin/kirorin'; then
    echo "CHECK make install: installed into ~/.local"
else
    echo "CHECK make install: FAILED"
    failed=1
fi

step "make test"
if as_user 'make test'; then
    echo "CHECK make test: all passed"
else
    echo "CHECK make test: FAILED"
    failed=1
fi

[[ $failed -eq 0 ]] && echo "PASS" || echo "FAIL"
exit $failed
