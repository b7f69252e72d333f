#!/usr/bin/env bash
# Installs Kirorin from a build into a temporary HOME with install/install.sh, checks what landed
# where, and uninstalls it again with install/uninstall.sh.
# Usage: install_test.sh <case> <source folder> <build folder>
set -euo pipefail

case_name=$1 source_dir=$2 build_dir=$3
# A private runtime folder, the disk audio driver and a display, as for the end-to-end tests.
source "$source_dir/tests/e2e/lib.sh"
e2e_setup "$build_dir/kirorin"
work=$E2E_DIR

# Every path under HOME with its type and, for files, their checksum.
listing() {
    (cd "$HOME" && find . -mindepth 1 -printf '%y %p %l\n' | sort | while read -r type path rest; do
        [[ $type == f ]] && rest=$(md5sum <"$path" | cut -d' ' -f1)
        echo "$type $path $rest"
    done)
}
same_listing() { # expected listing file, what
    diff -u "$1" <(listing) >&2 || fail "$2"
}

install_kirorin() { "$source_dir/install/install.sh" --no-build --build-dir "$build_dir" "$@" >/dev/null; }
uninstall_kirorin() { "$source_dir/install/uninstall.sh" "$@" >/dev/null; }

# Every case starts in a home already in use, whose path needs quoting in Exec: other programs'
# files, and desktop caches when the tools are there.
export HOME=$work/"a b\$c\"d\`e%f'g"
unset XDG_DATA_HOME XDG_CONFIG_HOME
prefix=$HOME/.local
app_dir=$prefix/lib/kirorin
entry=$prefix/share/applications/kirorin.desktop
autostart=$HOME/.config/autostart/kirorin.desktop
hicolor=$prefix/share/icons/hicolor
mkdir -p "$prefix/bin" "$prefix/share/applications" "$hicolor/48x48/apps" "$HOME/.config/autostart"
printf '#!/bin/sh\necho other\n' >"$prefix/bin/other"
printf '[Desktop Entry]\nType=Application\nName=Other\nExec=other %%U\nMimeType=text/x-other;\n' |
    tee "$prefix/share/applications/other.desktop" >"$HOME/.config/autostart/other.desktop"
cp "$build_dir/res/icon/kirorin-48.png" "$hicolor/48x48/apps/other.png"
if command -v update-desktop-database >/dev/null; then update-desktop-database "$prefix/share/applications"; fi
if command -v gtk-update-icon-cache >/dev/null; then gtk-update-icon-cache -q -f -t "$hicolor"; fi
listing >"$work/before"

check_installed_files() {
    local path
    for path in "$app_dir/kirorin" "$entry" "$prefix/share/metainfo/io.github.kirorin.Kirorin.metainfo.xml" \
        "$hicolor"/{16x16,32x32,48x48}/apps/kirorin.png "$hicolor/scalable/apps/kirorin.svg"; do
        [[ -e "$path" ]] || fail "not installed: $path"
    done
    [[ -L "$prefix/bin/kirorin" && "$(readlink -f "$prefix/bin/kirorin")" == "$app_dir/kirorin" ]] ||
        fail "bin/kirorin is not a link to the program"
    cmp -s "$app_dir/kirorin" "$build_dir/kirorin" || fail "the installed program is not the build's"
}

case "$case_name" in
lifecycle)
    # Valid entries naming the program; started from its link it writes its settings beside the
    # installed executable; uninstalling is refused while it runs; reinstalling (without start at
    # login this time) keeps the settings; uninstall keeps them until --purge, and leaves
    # everything else as it was.
    install_kirorin --autostart
    check_installed_files
    desktop-file-validate "$entry" || fail "desktop entry invalid"
    desktop-file-validate "$autostart" || fail "autostart entry invalid"
    appstreamcli validate-tree --no-net --strict "$prefix" || fail "installed tree invalid"
    # Name and summary in English and in Japanese.
    grep -q '^Name\[ja\]=.' "$entry" && grep -q '^Comment\[ja\]=.' "$entry" ||
        fail "the desktop entry has no Japanese name or comment"
    [[ $(grep -cE '<(name|summary) xml:lang="ja">' "$prefix/share/metainfo/"*.metainfo.xml) == 2 ]] ||
        fail "the metainfo has no Japanese name or summary"
    [[ ! -f "$hicolor/icon-theme.cache" ]] || grep -q kirorin "$hicolor/icon-theme.cache" ||
        fail "the icon cache was not refreshed"
    exec_value=$(sed -n 's/^Exec=//p' "$entry")
    [[ $(sed -n 's/^Exec=//p' "$autostart") == "$exec_value" ]] || fail "autostart starts another"
    # Undo the value's escapes, then the double quotes' escapes, then %%.
    value=$(printf '%s' "$exec_value" | sed 's/\\\\/\\/g')
    [[ "$value" == \"*\" ]] || fail "Exec is not quoted: $exec_value"
    value=${value:1:${#value}-2}
    value=$(printf '%s' "$value" | sed -E 's/\\(["`$\\])/\1/g; s/%%/%/g')
    [[ "$value" == "$app_dir/kirorin" ]] || fail "Exec $exec_value names $value"

    # A session bus of its own (its XDG folders the defaults), so that nothing starts one that
    # keeps files in HOME. Caches and the instance lock go outside HOME: only what installing
    # leaves is compared.
    own_bus
    XDG_CACHE_HOME="$work/cache" "$prefix/bin/kirorin" >"$work/err-program" 2>&1 &
    program_pid=$!
    E2E_PIDS+=("$program_pid")
    wait_until 20 test -s "$app_dir/tamberle.sav" || fail "no settings file beside the program"
    listing >"$work/running"
    ! uninstall_kirorin 2>/dev/null || fail "uninstall went ahead while the program ran"
    same_listing "$work/running" "a refused uninstall changed the home"
    stop_program "$program_pid"
    cp "$app_dir/tamberle.sav" "$work/settings"

    install_kirorin
    check_installed_files
    [[ ! -e "$autostart" ]] || fail "the earlier autostart entry stayed"
    cmp -s "$app_dir/tamberle.sav" "$work/settings" || fail "reinstalling changed the settings"
    uninstall_kirorin
    { cat "$work/before"; (cd "$HOME" && printf 'd ./.local/lib \nd ./.local/lib/kirorin \n' &&
        echo "f ./.local/lib/kirorin/tamberle.sav $(md5sum <"$work/settings" | cut -d' ' -f1)"); } |
        sort >"$work/kept"
    same_listing "$work/kept" "uninstall left more than the settings, or not them"
    uninstall_kirorin --purge
    same_listing "$work/before" "uninstall --purge left something behind"
    ;;

foreign_files)
    # Files of the same name that Kirorin did not install are neither replaced nor removed.
    printf '#!/bin/sh\necho mine\n' >"$prefix/bin/kirorin"
    listing >"$work/before"
    ! install_kirorin 2>/dev/null || fail "install replaced a file it did not install"
    same_listing "$work/before" "a refused install changed the home"
    ! uninstall_kirorin 2>/dev/null || fail "uninstall ran with nothing installed"
    same_listing "$work/before" "uninstall with nothing installed changed the home"
    ;;

xdg_dirs)
    # Desktop files follow XDG_DATA_HOME and XDG_CONFIG_HOME; the program stays under the prefix.
    export XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config
    mkdir "$XDG_DATA_HOME" "$XDG_CONFIG_HOME"
    install_kirorin --autostart
    [[ -x "$app_dir/kirorin" && -L "$prefix/bin/kirorin" ]] || fail "the program is not under the prefix"
    for path in applications/kirorin.desktop metainfo/io.github.kirorin.Kirorin.metainfo.xml \
        icons/hicolor/16x16/apps/kirorin.png icons/hicolor/scalable/apps/kirorin.svg; do
        [[ -f "$XDG_DATA_HOME/$path" ]] || fail "$path is not in XDG_DATA_HOME"
    done
    [[ -f "$XDG_CONFIG_HOME/autostart/kirorin.desktop" ]] || fail "autostart is not in XDG_CONFIG_HOME"
    [[ ! -e "$entry" && ! -e "$autostart" ]] || fail "desktop files went to the default places"
    uninstall_kirorin --purge
    same_listing "$work/before" "uninstall --purge changed the home"
    left=$(find "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" -mindepth 1)
    [[ -z "$left" ]] || fail "uninstall --purge left $left"
    ;;

*)
    fail "unknown case $case_name"
    ;;
esac
echo "PASS: $case_name"
