#!/usr/bin/env bash
# Installs Kirorin from a build into a temporary HOME with tools/install.sh, checks what landed
# where, and uninstalls it again with tools/uninstall.sh.
# Usage: install_test.sh <case> <source folder> <build folder>
set -euo pipefail

case_name=$1 source_dir=$2 build_dir=$3
work=$(mktemp -d)
xvfb_pid='' bus_pid='' program_pid=''
cleanup() {
    if [[ -n "$program_pid" ]]; then
        kill -KILL "$program_pid" 2>/dev/null || true
    fi
    if [[ -n "$bus_pid" ]]; then
        kill "$bus_pid" 2>/dev/null || true
    fi
    if [[ -n "$xvfb_pid" ]]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Every path under HOME with its type and, for files, size and checksum.
listing() {
    (cd "$HOME" && find . -mindepth 1 -printf '%y %p %l\n' | sort | while read -r type path rest; do
        if [[ "$type" == f ]]; then
            echo "$type $path $(md5sum <"$path" | cut -d' ' -f1)"
        else
            echo "$type $path $rest"
        fi
    done)
}

same_listing() { # expected listing file, what
    if ! diff -u "$1" <(listing) >&2; then
        fail "$2"
    fi
}

install_kirorin() {
    "$source_dir/tools/install.sh" --no-build --build-dir "$build_dir" "$@" >/dev/null
}
uninstall_kirorin() {
    "$source_dir/tools/uninstall.sh" "$@" >/dev/null
}

new_home() { # folder name
    export HOME=$work/$1
    mkdir -p "$HOME"
    unset XDG_DATA_HOME XDG_CONFIG_HOME
    prefix=$HOME/.local
    app_dir=$prefix/lib/kirorin
    entry=$prefix/share/applications/kirorin.desktop
    autostart=$HOME/.config/autostart/kirorin.desktop
    metainfo=$prefix/share/metainfo/io.github.kirorin.Kirorin.metainfo.xml
    hicolor=$prefix/share/icons/hicolor
}

# A home already in use: other programs' files, and desktop caches when the tools are there.
populate_home() {
    mkdir -p "$HOME/.local/bin" "$HOME/.local/share/applications" \
        "$HOME/.local/share/icons/hicolor/48x48/apps" "$HOME/.config/autostart" "$HOME/Music"
    printf '#!/bin/sh\necho other\n' >"$HOME/.local/bin/other"
    chmod +x "$HOME/.local/bin/other"
    printf '[Desktop Entry]\nType=Application\nName=Other\nExec=other %%U\nMimeType=text/x-other;\n' |
        tee "$HOME/.local/share/applications/other.desktop" >"$HOME/.config/autostart/other.desktop"
    cp "$build_dir/res/icon/kirorin-48.png" "$HOME/.local/share/icons/hicolor/48x48/apps/other.png"
    echo "a song" >"$HOME/Music/song.txt"
    if command -v update-desktop-database >/dev/null; then
        update-desktop-database "$HOME/.local/share/applications"
    fi
    if command -v gtk-update-icon-cache >/dev/null; then
        gtk-update-icon-cache -q -f -t "$HOME/.local/share/icons/hicolor"
    fi
}

expected_files() {
    printf '%s\n' "$app_dir/kirorin" "$prefix/bin/kirorin" "$entry" "$metainfo" \
        "$hicolor/16x16/apps/kirorin.png" "$hicolor/32x32/apps/kirorin.png" \
        "$hicolor/48x48/apps/kirorin.png" "$hicolor/scalable/apps/kirorin.svg"
}

check_installed_files() {
    local path
    while read -r path; do
        [[ -e "$path" ]] || fail "not installed: $path"
    done < <(expected_files)
    [[ -x "$app_dir/kirorin" && -f "$app_dir/kirorin" ]] || fail "the program is not an executable file"
    [[ -L "$prefix/bin/kirorin" ]] || fail "bin/kirorin is not a link"
    [[ "$(readlink -f "$prefix/bin/kirorin")" == "$(readlink -f "$app_dir/kirorin")" ]] ||
        fail "bin/kirorin does not lead to the program"
    cmp -s "$app_dir/kirorin" "$build_dir/kirorin" || fail "the installed program is not the build's"
    local size
    for size in 16 32 48; do
        [[ "$(identify -format '%wx%h' "$hicolor/${size}x${size}/apps/kirorin.png")" == "${size}x${size}" ]] ||
            fail "the ${size}x${size} icon has another size"
    done
    # The manifest lists exactly the files that were placed.
    diff -u <(sed -n 's/^f //p' "$app_dir/install-manifest.txt" | sort) \
        <( (expected_files; [[ -e "$autostart" ]] && echo "$autostart") | sort) >&2 ||
        fail "the manifest does not list exactly the installed files"
}

# The value of a desktop entry key, as written.
entry_value() { # file key
    sed -n "s/^$2=//p" "$1"
}

case "$case_name" in
entries)
    # The installed desktop entries and metainfo are valid and point at the installed program.
    new_home home
    install_kirorin --autostart
    check_installed_files
    desktop-file-validate "$entry" || fail "desktop entry invalid"
    desktop-file-validate "$autostart" || fail "autostart entry invalid"
    appstreamcli validate --no-net --strict "$metainfo" || fail "metainfo invalid"
    appstreamcli validate-tree --no-net --strict "$prefix" || fail "installed tree invalid"
    [[ "$(entry_value "$entry" Exec)" == "$app_dir/kirorin" ]] || fail "Exec does not name the program"
    [[ "$(entry_value "$entry" Icon)" == kirorin ]] || fail "Icon is not the installed icon's name"
    [[ "$(entry_value "$entry" Terminal)" == false ]] || fail "Terminal is not false"
    [[ "$(entry_value "$autostart" Exec)" == "$app_dir/kirorin" ]] || fail "autostart Exec"
    [[ "$(entry_value "$autostart" X-GNOME-Autostart-enabled)" == true ]] || fail "autostart not enabled"
    grep -q '<launchable type="desktop-id">kirorin.desktop</launchable>' "$metainfo" ||
        fail "the metainfo does not launch the installed entry"
    [[ "$(entry_value "$entry" Name)" == Kirorin ]] || fail "Name"
    # Name and summary in English and in Japanese.
    [[ -n "$(entry_value "$entry" 'Name\[ja\]')" && -n "$(entry_value "$entry" 'Comment\[ja\]')" ]] ||
        fail "the desktop entry has no Japanese name or comment"
    [[ $(grep -cE '<(name|summary) xml:lang="ja">' "$metainfo") == 2 ]] ||
        fail "the metainfo has no Japanese name or summary"
    ;;

run_installed)
    # Started from its link, the program writes its settings beside the installed executable;
    # uninstalling keeps them until --purge, and leaves nothing else behind.
    new_home home
    listing >"$work/before"
    install_kirorin
    check_installed_files
    [[ ! -e "$autostart" ]] || fail "start at login was not asked for"

    mkdir -m 700 "$work/run"
    Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [[ -s "$work/display" ]] && break
        sleep 0.1
    done
    [[ -s "$work/display" ]] || fail "Xvfb did not start"
    # A session bus of its own, so that nothing starts one that keeps files in HOME.
    dbus-daemon --session --fork --print-address=3 --print-pid=4 3>"$work/bus" 4>"$work/bus.pid"
    bus_pid=$(cat "$work/bus.pid")
    # Caches and the instance lock go outside HOME: only what installing leaves is compared.
    DISPLAY=:$(cat "$work/display") DBUS_SESSION_BUS_ADDRESS=$(cat "$work/bus") \
        SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/audio.raw" \
        XDG_RUNTIME_DIR="$work/run" XDG_CACHE_HOME="$work/cache" \
        "$prefix/bin/kirorin" >"$work/program.log" 2>&1 &
    program_pid=$!
    for _ in $(seq 200); do
        [[ -f "$app_dir/tamberle.sav" ]] && break
        kill -0 "$program_pid" 2>/dev/null || break
        sleep 0.1
    done
    cat "$work/program.log" >&2
    [[ -f "$app_dir/tamberle.sav" ]] || fail "no settings file beside the installed program"
    [[ $(stat -c %s "$app_dir/tamberle.sav") -eq 36 ]] || fail "the settings file is not 36 bytes"
    # Not while it runs: it would write its settings into a folder being removed.
    listing >"$work/running"
    if uninstall_kirorin 2>/dev/null; then
        fail "uninstall went ahead while the program ran"
    fi
    same_listing "$work/running" "a refused uninstall changed the home"
    kill -TERM "$program_pid" 2>/dev/null || fail "the program ended before SIGTERM"
    status=0
    wait "$program_pid" || status=$?
    program_pid=''
    [[ $status -eq 0 ]] || fail "the program ended with status $status after SIGTERM"
    cp "$app_dir/tamberle.sav" "$work/settings"

    uninstall_kirorin
    { cat "$work/before"; (cd "$HOME" && printf 'd ./.local \nd ./.local/lib \nd ./.local/lib/kirorin \n' &&
        echo "f ./.local/lib/kirorin/tamberle.sav $(md5sum <"$work/settings" | cut -d' ' -f1)"); } |
        sort >"$work/kept"
    same_listing "$work/kept" "uninstall left more than the settings, or not them"
    uninstall_kirorin --purge
    same_listing "$work/before" "uninstall --purge left something behind"
    ;;

reinstall)
    # Installing again replaces the earlier install (without start at login this time) and
    # keeps the settings; other programs' files and the desktop caches come out as they were.
    new_home home
    populate_home
    listing >"$work/before"
    install_kirorin --autostart
    [[ -f "$autostart" ]] || fail "no autostart entry"
    if [[ -f "$hicolor/icon-theme.cache" ]]; then
        grep -q kirorin "$hicolor/icon-theme.cache" || fail "the icon cache was not refreshed"
    fi
    printf '%036d' 0 >"$app_dir/tamberle.sav"
    install_kirorin
    check_installed_files
    [[ ! -e "$autostart" ]] || fail "the earlier autostart entry stayed"
    [[ -f "$HOME/.config/autostart/other.desktop" ]] || fail "another program's autostart entry went"
    [[ "$(cat "$app_dir/tamberle.sav")" == "$(printf '%036d' 0)" ]] || fail "reinstalling changed the settings"
    uninstall_kirorin --purge
    same_listing "$work/before" "install, reinstall and uninstall --purge changed the home"
    ;;

foreign_files)
    # Files of the same name that Kirorin did not install are neither replaced nor removed.
    new_home home
    populate_home
    printf '#!/bin/sh\necho mine\n' >"$HOME/.local/bin/kirorin"
    listing >"$work/before"
    if install_kirorin 2>/dev/null; then
        fail "install replaced a file it did not install"
    fi
    same_listing "$work/before" "a refused install changed the home"
    if uninstall_kirorin 2>/dev/null; then
        fail "uninstall ran with nothing installed"
    fi
    same_listing "$work/before" "uninstall with nothing installed changed the home"
    ;;

odd_home)
    # A home whose path needs quoting in Exec still gives a valid entry naming the program.
    new_home "a b\$c\"d\`e%f'g"
    install_kirorin --autostart
    check_installed_files
    desktop-file-validate "$entry" || fail "desktop entry invalid"
    desktop-file-validate "$autostart" || fail "autostart entry invalid"
    exec_value=$(entry_value "$entry" Exec)
    # Undo the value's escapes, then the double quotes' escapes, then %%.
    value=$(printf '%s' "$exec_value" | sed 's/\\\\/\\/g')
    [[ "$value" == \"*\" ]] || fail "Exec is not quoted: $exec_value"
    value=${value:1:${#value}-2}
    value=$(printf '%s' "$value" | sed -E 's/\\(["`$\\])/\1/g; s/%%/%/g')
    [[ "$value" == "$app_dir/kirorin" ]] || fail "Exec $exec_value names $value"
    uninstall_kirorin --purge
    [[ -z "$(ls -A "$HOME")" ]] || fail "uninstall --purge left something behind"
    ;;

xdg_dirs)
    # Desktop files follow XDG_DATA_HOME and XDG_CONFIG_HOME; the program stays under the prefix.
    new_home home
    export XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config
    mkdir "$XDG_DATA_HOME" "$XDG_CONFIG_HOME"
    install_kirorin --autostart
    [[ -x "$app_dir/kirorin" && -L "$prefix/bin/kirorin" ]] || fail "the program is not under the prefix"
    for path in applications/kirorin.desktop metainfo/io.github.kirorin.Kirorin.metainfo.xml \
        icons/hicolor/16x16/apps/kirorin.png icons/hicolor/scalable/apps/kirorin.svg; do
        [[ -f "$XDG_DATA_HOME/$path" ]] || fail "$path is not in XDG_DATA_HOME"
    done
    [[ -f "$XDG_CONFIG_HOME/autostart/kirorin.desktop" ]] || fail "autostart is not in XDG_CONFIG_HOME"
    [[ ! -e "$prefix/share" && ! -e "$HOME/.config" ]] || fail "desktop files went to the default places"
    uninstall_kirorin --purge
    left=$(find "$HOME" "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" -mindepth 1)
    [[ -z "$left" ]] || fail "uninstall --purge left $left"
    ;;

*)
    fail "unknown case $case_name"
    ;;
esac
echo "PASS: $case_name"
