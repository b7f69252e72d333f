#!/usr/bin/env bash
# Installs the Debian package into a fresh minimal Debian 12 root with `apt-get install ./…deb`,
# starts Kirorin there as a normal user under Xvfb (SDL's disk audio driver standing in for the
# sound card), and checks that its settings land in that user's ~/.config/kirorin/, that it
# sings, and that removing the package keeps them. Takes minutes; needs root and network access
# to the Debian mirror this machine's apt uses.
# Usage: tools/check-deb-install.sh PACKAGE.deb [PRISTINE_ROOT]
#   PRISTINE_ROOT: a root made earlier by tools/make-debian-root.sh, copied instead of running
#   debootstrap again.
set -euo pipefail

deb=$(realpath "${1:?usage: $0 PACKAGE.deb [PRISTINE_ROOT]}")
pristine=${2:-}
[[ $(id -u) == 0 ]] || { echo "needs root (debootstrap, chroot)" >&2; exit 1; }
work=$(mktemp -d /tmp/kirorin-deb-check.XXXXXX)
root=$work/root
pids=()

cleanup() {
    local pid
    for pid in "${pids[@]}"; do
        kill -KILL "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    rm -rf --one-file-system "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    tail -n 20 "$work"/*.log >&2 || true
    exit 1
}
step() { echo "== $*"; }

# in_root [unshare options] -- [chroot options] -- COMMAND...: runs COMMAND in the root with a
# clean environment and /proc mounted in a mount namespace of its own, so nothing is left
# mounted on this machine. in_root_exec replaces the calling shell, so that a background job's
# id is the command's own.
in_root() { (in_root_exec "$@"); }
in_root_exec() {
    local ns=() ch=()
    while [[ $1 != -- ]]; do ns+=("$1") && shift; done
    shift
    while [[ $1 != -- ]]; do ch+=("$1") && shift; done
    shift
    exec unshare --mount --propagation private "${ns[@]}" -- sh -c \
        'r=$1; shift; mount -t proc proc "$r/proc" && exec "$@"' sh "$root" \
        chroot "${ch[@]}" "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin "$@"
}

step "package $(basename "$deb"): $(stat -c %s "$deb") bytes"
dpkg-deb -f "$deb" Depends
start=$SECONDS
if [[ -n $pristine ]]; then
    step "copying the minimal root $pristine"
    cp -a "$pristine" "$root"
else
    step "tools/make-debian-root.sh (debootstrap --variant=minbase bookworm)"
    "$(dirname "$0")/make-debian-root.sh" "$root" >"$work/debootstrap.log" 2>&1 ||
        fail "debootstrap"
fi
echo "minimal root: $(du -sh "$root" | cut -f1), $(in_root -- -- dpkg-query -W | wc -l) packages"
chmod 1777 "$root/dev/shm"
cp /etc/resolv.conf "$root/etc/resolv.conf"
cp "$deb" "$root/tmp/"

step "apt-get install ./$(basename "$deb") xvfb"
in_root -- -- apt-get update -qq >"$work/apt.log" 2>&1 || fail "apt-get update"
in_root -- -- sh -c "cd /tmp && DEBIAN_FRONTEND=noninteractive apt-get install -y -q \
    --no-install-recommends ./$(basename "$deb") xvfb" >>"$work/apt.log" 2>&1 ||
    fail "apt-get install"
grep -E '^(Setting up kirorin|[0-9]+ upgraded)' "$work/apt.log"
[[ -L $root/usr/bin/kirorin && -x $root/usr/lib/kirorin/kirorin ]] || fail "program not installed"
echo "installed root: $(du -sh "$root" | cut -f1)"

step "kirorin as a normal user under Xvfb"
in_root -- -- useradd --create-home --shell /bin/bash cricket
uid=$(in_root -- -- id -u cricket)
# Xvfb and the program each in a network namespace of their own: X's abstract sockets there
# cannot meet this machine's displays, and the program finds the server by its socket file.
exec {fd}>"$work/display"
in_root_exec --net -- -- Xvfb -displayfd "$fd" -screen 0 1024x768x24 -nolisten tcp \
    >"$work/xvfb.log" 2>&1 &
pids+=($!)
exec {fd}>&-
for ((i = 0; i < 100; i++)); do
    [[ -s $work/display ]] && break
    sleep 0.1
done
[[ -s $work/display ]] || fail "Xvfb did not start"
in_root_exec --net -- --userspec=cricket:cricket -- HOME=/home/cricket USER=cricket \
    DISPLAY=":$(head -n1 "$work/display")" SDL_AUDIODRIVER=disk \
    SDL_DISKAUDIOFILE=/tmp/capture.raw kirorin >"$work/kirorin.log" 2>&1 &
pid=$!
pids+=("$pid")
settings=$root/home/cricket/.config/kirorin/tamberle.sav
for ((i = 0; i < 150 && $(stat -c %s "$settings" 2>/dev/null || echo 0) != 36; i++)); do
    sleep 0.1
done
[[ -f $settings ]] || fail "no settings in ~cricket/.config/kirorin"
echo "settings: $(stat -c 'uid %u, mode %a, %s bytes' "$settings") $(od -An -v -tx1 "$settings" | tr -d ' \n')"
[[ $(od -An -v -tx1 "$settings" | tr -d ' \n') == \
    e8030000020000000400000064000000000000000000000000000000170000003b000000 ]] ||
    fail "the settings are not the defaults"
[[ $(stat -c %u "$settings") == "$uid" ]] || fail "the settings are not the user's"
[[ ! -e $root/usr/lib/kirorin/tamberle.sav ]] || fail "settings beside the program"
echo "lock folder: $(stat -c 'uid %u, mode %a' "$root/tmp/kirorin-$uid")"
# The crickets start after 6 s of calm and a few seconds of their own silence: 15 s of
# capture (S16LE stereo at 48 kHz) holds their first chirps.
for ((i = 0; i < 350 && $(stat -c %s "$root/tmp/capture.raw" 2>/dev/null || echo 0) < 2880000; i++)); do
    sleep 0.1
done
kill -0 "$pid" 2>/dev/null || fail "kirorin ended"
peak=$(od -An -v -td2 -w2 "$root/tmp/capture.raw" | awk '{ v = $1 < 0 ? -$1 : $1; if (v > m) m = v } END { print m + 0 }')
echo "capture: $(stat -c %s "$root/tmp/capture.raw") bytes, peak sample $peak"
((peak > 0)) || fail "silence"
kill -TERM "$pid"
code=0
wait "$pid" || code=$?
[[ $code == 0 ]] || fail "exit code $code after SIGTERM"
echo "kirorin ended with exit code 0 after SIGTERM"

step "apt-get purge kirorin"
in_root -- -- env DEBIAN_FRONTEND=noninteractive apt-get purge -y -q kirorin >>"$work/apt.log" 2>&1 ||
    fail "apt-get purge"
[[ ! -e $root/usr/lib/kirorin && ! -e $root/usr/bin/kirorin ]] || fail "files left behind"
[[ -f $settings ]] || fail "the user's settings went with the package"
echo "removed; the user's settings stay"
echo "PASS in $((SECONDS - start)) s"
