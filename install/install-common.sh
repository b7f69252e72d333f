# shellcheck shell=bash disable=SC2034
# Shared by install/install.sh and install/uninstall.sh (sourced, not run): where things go.
# The program and its settings live in <prefix>/lib/kirorin, a folder the user owns; desktop
# files go where the desktop looks for them: XDG_DATA_HOME, and XDG_CONFIG_HOME for autostart.

kirorin_paths() { # prefix (may be empty: ~/.local)
    if [[ -z "${HOME:-}" ]]; then
        echo "HOME is not set" >&2
        return 1
    fi
    prefix=${1:-$HOME/.local}
    data_home=${XDG_DATA_HOME:-$HOME/.local/share}
    config_home=${XDG_CONFIG_HOME:-$HOME/.config}
    # XDG says relative values are to be ignored.
    [[ "$data_home" == /* ]] || data_home=$HOME/.local/share
    [[ "$config_home" == /* ]] || config_home=$HOME/.config
    [[ "$prefix" == /* ]] || prefix=$PWD/$prefix
    prefix=${prefix%/}
    app_dir=$prefix/lib/kirorin
    manifest=$app_dir/install-manifest.txt
    settings_file=$app_dir/tamberle.sav
    autostart_entry=$config_home/autostart/kirorin.desktop
    if [[ "$prefix$data_home$config_home" == *[[:cntrl:]]* ]]; then
        echo "Paths with control characters are not supported" >&2
        return 1
    fi
}

# Refreshes the desktop database and the icon cache, but only where one already exists: ours
# needs neither (no MIME types; hicolor is read directly without a cache), and a cache that we
# created would outlive the uninstall.
refresh_desktop_caches() {
    if [[ -f "$data_home/applications/mimeinfo.cache" ]] &&
        command -v update-desktop-database >/dev/null; then
        update-desktop-database -q "$data_home/applications" || true
    fi
    if [[ -f "$data_home/icons/hicolor/icon-theme.cache" ]] &&
        command -v gtk-update-icon-cache >/dev/null; then
        gtk-update-icon-cache -q -f -t "$data_home/icons/hicolor" || true
    fi
}

# Prints the manifest's entries of one kind ("f" files and links, "d" folders we created).
manifest_entries() { # kind
    [[ -f "$manifest" ]] || return 0
    local kind path
    while IFS=' ' read -r kind path; do
        [[ "$kind" == "$1" && "$path" == /* ]] && printf '%s\n' "$path"
    done <"$manifest"
}

# Whether a Kirorin started from this install is running (any process whose executable is ours).
kirorin_running() {
    local exe target
    for exe in /proc/[0-9]*/exe; do
        target=$(readlink "$exe" 2>/dev/null) || continue
        [[ "${target% (deleted)}" == "$app_dir/kirorin" ]] && return 0
    done
    return 1
}
