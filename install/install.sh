#!/usr/bin/env bash
# Installs Kirorin for the current user, without root: the program in ~/.local/lib/kirorin/
# (its settings file tamberle.sav is written beside it), a link ~/.local/bin/kirorin, the
# desktop entry, icons and AppStream metainfo under XDG_DATA_HOME (~/.local/share), and with
# --autostart an entry in XDG_CONFIG_HOME/autostart (~/.config) that starts it at login.
# Everything placed is listed in lib/kirorin/install-manifest.txt for install/uninstall.sh.
set -euo pipefail

usage() {
    cat <<USAGE
usage: $0 [--autostart] [--prefix DIR] [--build-dir DIR] [--no-build] [--force]
  --autostart      also start Kirorin at login
  --prefix DIR     where lib/kirorin and bin go (default ~/.local)
  --build-dir DIR  the CMake build to install from (default build/, built with the default preset)
  --no-build       install what the build folder holds, without building
  --force          replace files that exist but were not installed by Kirorin
USAGE
}

source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$source_dir/install/install-common.sh"

autostart=0 build=1 force=0 prefix_arg='' build_dir=''
while [[ $# -gt 0 ]]; do
    case "$1" in
        --autostart) autostart=1 ;;
        --no-build) build=0 ;;
        --force) force=1 ;;
        --prefix) prefix_arg=${2:?--prefix needs a folder}; shift ;;
        --build-dir) build_dir=${2:?--build-dir needs a folder}; shift ;;
        -h | --help) usage; exit 0 ;;
        *) usage >&2; exit 2 ;;
    esac
    shift
done
kirorin_paths "$prefix_arg"

if [[ -z "$build_dir" ]]; then
    build_dir=$source_dir/build
    if [[ $build -eq 1 ]]; then
        (cd "$source_dir" && cmake --preset default >/dev/null)
    fi
fi
if [[ $build -eq 1 ]]; then
    cmake --build "$build_dir" --target kirorin kirorin_icon_pngs
fi
if [[ ! -x "$build_dir/kirorin" ]]; then
    echo "No program in $build_dir: build it first (make build)" >&2
    exit 1
fi

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR=$stage cmake --install "$build_dir" --prefix "$prefix" >/dev/null
staged=$stage$prefix

# Staged path -> installed path: share/ goes to XDG_DATA_HOME, the rest under the prefix.
declare -a sources=() targets=()
while IFS= read -r -d '' path; do
    rel=${path#"$staged"/}
    sources+=("$path")
    if [[ "$rel" == share/* ]]; then
        targets+=("$data_home/${rel#share/}")
    else
        targets+=("$prefix/$rel")
    fi
done < <(find "$staged" \( -type f -o -type l \) -print0 | sort -z)
if [[ $autostart -eq 1 ]]; then
    # The application's own entry, marked for the session's autostart.
    sed '$a X-GNOME-Autostart-enabled=true' \
        "$staged/share/applications/kirorin.desktop" >"$stage/autostart.desktop"
    sources+=("$stage/autostart.desktop")
    targets+=("$autostart_entry")
fi

# Never overwrite what someone else put there: only files of an earlier install may be replaced.
mapfile -t previous < <(manifest_entries f)
conflicts=()
for target in "${targets[@]}"; do
    if [[ -d "$target" && ! -L "$target" ]]; then
        echo "$target is a folder; Kirorin installs a file there" >&2
        exit 1
    fi
    if [[ -e "$target" || -L "$target" ]]; then
        owned=0
        for p in "${previous[@]}"; do
            [[ "$p" == "$target" ]] && owned=1 && break
        done
        [[ $owned -eq 1 ]] || conflicts+=("$target")
    fi
done
if [[ ${#conflicts[@]} -gt 0 && $force -eq 0 ]]; then
    echo "These files exist and were not installed by Kirorin (use --force to replace them):" >&2
    printf '  %s\n' "${conflicts[@]}" >&2
    exit 1
fi

# An earlier install goes first, so that files it had and this one lacks do not linger. The
# folders it made that are still there (they hold the settings) stay ours.
mapfile -t kept_dirs < <(manifest_entries d)
if [[ -f "$manifest" ]]; then
    "$source_dir/install/uninstall.sh" --prefix "$prefix" --replacing
fi

# The program's folder first: it holds the manifest that records everything after it.
new_dirs=()
dir=$app_dir
while [[ -n "$dir" && ! -d "$dir" ]]; do
    new_dirs=("$dir" "${new_dirs[@]}")
    dir=${dir%/*}
done
mkdir -p "$app_dir"
: >"$manifest"
for dir in "${kept_dirs[@]}"; do
    if [[ -d "$dir" ]]; then
        echo "d $dir" >>"$manifest"
    fi
done
for dir in "${new_dirs[@]}"; do
    echo "d $dir" >>"$manifest"
done

# Creates the folders leading to a path, recording each one that did not exist.
make_parents() { # path
    local dir=${1%/*} missing=()
    while [[ -n "$dir" && ! -d "$dir" ]]; do
        missing=("$dir" "${missing[@]}")
        dir=${dir%/*}
    done
    for dir in "${missing[@]}"; do
        mkdir "$dir"
        echo "d $dir" >>"$manifest"
    done
}

for i in "${!sources[@]}"; do
    source=${sources[$i]} target=${targets[$i]}
    make_parents "$target"
    echo "f $target" >>"$manifest"
    # Copy beside, then rename: replaces a running program's executable safely.
    cp -P --preserve=mode "$source" "$target.new-$$"
    mv -f "$target.new-$$" "$target"
done

refresh_desktop_caches

echo "Kirorin is installed: $prefix/bin/kirorin (program and settings in $app_dir)"
if [[ $autostart -eq 1 ]]; then
    echo "It starts at login: $autostart_entry"
fi
if kirorin_running; then
    echo "Kirorin is running: the new version starts when you quit it and start it again."
fi
case ":$PATH:" in
    *":$prefix/bin:"*) ;;
    *)
        echo "Note: $prefix/bin is not on your PATH, so \`kirorin\` alone is not found (the menu"
        echo "entry works). Debian's standard ~/.profile adds ~/.local/bin at login once it exists:"
        echo "log out and in again. Otherwise add this line to ~/.profile and log in again:"
        echo "    export PATH=\"$prefix/bin:\$PATH\""
        ;;
esac
