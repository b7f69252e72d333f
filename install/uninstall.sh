#!/usr/bin/env bash
# Removes what install/install.sh installed, as listed in its manifest, and the folders it made
# that are empty afterwards. The settings file tamberle.sav, and so the program's folder, stay
# unless --purge is given.
set -euo pipefail

usage() {
    cat <<USAGE
usage: $0 [--purge] [--prefix DIR]
  --purge       also remove the settings file tamberle.sav and the program's folder
  --prefix DIR  the prefix given to install (default ~/.local)
USAGE
}

source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$source_dir/install/install-common.sh"

purge=0 quiet=0 replacing=0 prefix_arg=''
while [[ $# -gt 0 ]]; do
    case "$1" in
        --purge) purge=1 ;;
        --replacing) replacing=1 quiet=1 ;; # from install.sh, before it installs anew
        --prefix) prefix_arg=${2:?--prefix needs a folder}; shift ;;
        -h | --help) usage; exit 0 ;;
        *) usage >&2; exit 2 ;;
    esac
    shift
done
kirorin_paths "$prefix_arg"
say() {
    if [[ $quiet -eq 0 ]]; then
        echo "$@"
    fi
}

# A running Kirorin would write its settings into a folder being removed; install.sh replaces
# the files of a running one, which goes on with the old program until it is started again.
if [[ $replacing -eq 0 ]] && kirorin_running; then
    echo "Kirorin is running from $app_dir: quit it first (its tray menu's \"終了\"," \
        "Ctrl+C in its terminal, \`pkill -x kirorin\` or the desktop's task manager)" >&2
    exit 1
fi

if [[ ! -f "$manifest" ]]; then
    # Nothing installed; what an earlier uninstall kept can still be purged.
    if [[ $purge -eq 1 && -f "$settings_file" ]]; then
        rm -f "$settings_file"
        # The record of which folders the install made went with the manifest: remove the
        # empty ones from the program's folder up to the prefix, never HOME itself.
        dir=$app_dir
        while [[ ("$dir" == "$prefix" || "$dir" == "$prefix"/*) && "$dir" != "${HOME%/}" ]] &&
            rmdir "$dir" 2>/dev/null; do
            dir=${dir%/*}
        done
        say "Removed the settings $settings_file"
        exit 0
    fi
    if [[ -f "$settings_file" ]]; then
        say "Kirorin is not installed; its settings stay in $settings_file (--purge removes them)"
        exit 0
    fi
    echo "Kirorin is not installed under $prefix (no $manifest)" >&2
    exit 1
fi

mapfile -t files < <(manifest_entries f)
mapfile -t dirs < <(manifest_entries d)
for path in "${files[@]}"; do
    if [[ -f "$path" || -L "$path" ]]; then
        rm -f "$path"
    fi
done
rm -f "$manifest"
if [[ $purge -eq 1 ]]; then
    rm -f "$settings_file"
    rmdir "$app_dir" 2>/dev/null || true
fi
# Deepest first; a folder that is not empty (the settings, someone else's files) stays.
for ((i = ${#dirs[@]} - 1; i >= 0; i--)); do
    rmdir "${dirs[$i]}" 2>/dev/null || true
done
refresh_desktop_caches

say "Kirorin is uninstalled from $prefix"
if [[ -f "$settings_file" ]]; then
    say "Your settings stay in $settings_file (remove them with: $0 --purge)"
fi
