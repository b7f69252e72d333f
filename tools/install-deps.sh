#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running or testing needs, when missing.
# Usage: tools/install-deps.sh run|test|fuzz|deb
set -euo pipefail

build=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-qpa-plugins libsdl2-dev libsoxr-dev
       fonts-ipafont-gothic libxcb1-dev qt6-svg-dev qt6-tools-dev qt6-l10n-tools libwayland-dev
       wayland-protocols plasma-wayland-protocols qt6-wayland)
test=(libgtest-dev libgmock-dev libbenchmark-dev libopenal-dev xvfb xauth xdotool faketime trayer
      imagemagick sox dbus dbus-x11 x11-utils desktop-file-utils appstream util-linux procps
      python3-gi libglib2.0-bin
      xfce4-panel lxqt-panel xfwm4 mutter kwin-wayland sway
      pulseaudio pulseaudio-utils pipewire pipewire-pulse wireplumber)
fuzz=(clang libclang-rt-14-dev)
deb=(dpkg-dev file)

case "${1:-run}" in
    run) wanted=("${build[@]}") ;;
    test) wanted=("${build[@]}" "${test[@]}") ;;
    fuzz) wanted=("${build[@]}" "${test[@]}" "${fuzz[@]}") ;;
    deb) wanted=("${build[@]}" "${deb[@]}") ;;
    *) echo "usage: $0 run|test|fuzz|deb" >&2; exit 2 ;;
esac

if ! command -v apt-get >/dev/null || ! command -v dpkg-query >/dev/null; then
    echo "$0: no apt-get here; install the packages the README lists for other systems by hand" >&2
    exit 0
fi

missing=()
for pkg in "${wanted[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$pkg")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
