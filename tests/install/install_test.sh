#!/usr/bin/env bash
# One user's whole round with install/install.sh and install/uninstall.sh, from a build into a
# temporary HOME: what landed where, what a refused run leaves alone, what uninstalling keeps.
# Usage: install_test.sh <source folder> <build folder>
set -euo pipefail

source_dir=$1 build_dir=$2
# A private runtime folder, the disk audio driver and a display, as for the end-to-end tests.
source "$source_dir/tests/e2e/lib.sh"
e2e_setup "$build_dir/kirorin"
work=$E2E_DIR

# Every path under HOME with its type and link target, then every file's checksum.
listing() { (cd "$HOME" && find . -mindepth 1 -printf '%y %p %l\n' | sort &&
    find . -type f -exec md5sum {} + | sort); }
same_listing() { diff -u "$1" <(listing) >&2 || fail "$2"; } # expected listing file, what

install_kirorin() { "$source_dir/install/install.sh" --no-build --build-dir "$build_dir" "$@" >/dev/null; }
uninstall_kirorin() { "$source_dir/install/uninstall.sh" "$@" >/dev/null; }

# A home already in use, whose path needs quoting in Exec: other programs' files, and desktop
# caches when the tools are there.
export HOME=$work/"a b\$c\"d\`e%f'g"
unset XDG_DATA_HOME XDG_CONFIG_HOME
prefix=$HOME/.local
app_dir=$prefix/lib/kirorin
hicolor=$prefix/share/icons/hicolor
mkdir -p "$prefix/bin" "$prefix/share/applications" "$hicolor/48x48/apps" "$HOME/.config/autostart"
printf '#!/bin/sh\necho other\n' >"$prefix/bin/other"
printf '[Desktop Entry]\nType=Application\nName=Other\nExec=other %%U\nMimeType=text/x-other;\n' |
    tee "$prefix/share/applications/other.desktop" >"$HOME/.config/autostart/other.desktop"
cp "$build_dir/res/icon/kirorin-48.png" "$hicolor/48x48/apps/other.png"
if command -v update-desktop-database >/dev/null; then update-desktop-database "$prefix/share/applications"; fi
if command -v gtk-update-icon-cache >/dev/null; then gtk-update-icon-cache -q -f -t "$hicolor"; fi
listing >"$work/before"

check_installed_files() { # data folder; ls names what is missing
    ls "$app_dir/kirorin" "$1/applications/kirorin.desktop" "$1/metainfo/io.github.kirorin.Kirorin.metainfo.xml" \
        "$1"/icons/hicolor/{16x16,32x32,48x48}/apps/kirorin.png "$1/icons/hicolor/scalable/apps/kirorin.svg" \
        >/dev/null || fail "not all installed"
    [[ -L "$prefix/bin/kirorin" && "$(readlink -f "$prefix/bin/kirorin")" == "$app_dir/kirorin" ]] &&
        cmp -s "$app_dir/kirorin" "$build_dir/kirorin" || fail "bin/kirorin is not a link to the build's program"
}

# With nothing installed there is nothing to uninstall, and a file of the same name that Kirorin
# did not install is neither replaced nor removed.
printf '#!/bin/sh\necho mine\n' >"$prefix/bin/kirorin"
listing >"$work/foreign"
! install_kirorin 2>/dev/null || fail "install replaced a file it did not install"
! uninstall_kirorin 2>/dev/null || fail "uninstall ran with nothing installed"
same_listing "$work/foreign" "a refused install or uninstall changed the home"
rm "$prefix/bin/kirorin"

# Desktop files follow XDG_DATA_HOME and XDG_CONFIG_HOME; the program stays under the prefix.
# Valid entries naming the program.
export XDG_DATA_HOME=$work/xdg/share XDG_CONFIG_HOME=$work/config
mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME"
install_kirorin --autostart
check_installed_files "$XDG_DATA_HOME"
entry=$XDG_DATA_HOME/applications/kirorin.desktop autostart=$XDG_CONFIG_HOME/autostart/kirorin.desktop
desktop-file-validate "$entry" || fail "desktop entry invalid"
desktop-file-validate "$autostart" || fail "autostart entry invalid"
appstreamcli validate-tree --no-net --strict "$work/xdg" || fail "installed tree invalid"
exec_value=$(sed -n 's/^Exec=//p' "$entry")
[[ $(sed -n 's/^Exec=//p' "$autostart") == "$exec_value" ]] || fail "autostart starts another"
# Undo the value's escapes, then the double quotes' escapes, then %%.
value=$(printf '%s' "$exec_value" | sed 's/\\\\/\\/g')
[[ "$value" == \"*\" ]] || fail "Exec is not quoted: $exec_value"
value=${value:1:${#value}-2}
value=$(printf '%s' "$value" | sed -E 's/\\(["`$\\])/\1/g; s/%%/%/g')
[[ "$value" == "$app_dir/kirorin" ]] || fail "Exec $exec_value names $value"

# Started from its link it writes its settings beside the installed executable; uninstalling is
# refused while it runs. A session bus of its own (its XDG folders the defaults), so that nothing
# starts one that keeps files in HOME. Caches and the instance lock go outside HOME: only what
# installing leaves is compared.
own_bus
XDG_CACHE_HOME="$work/cache" "$prefix/bin/kirorin" >"$work/err-program" 2>&1 &
program_pid=$!
wait_until 20 test -s "$app_dir/tamberle.sav" || fail "no settings file beside the program"
listing >"$work/running"
! uninstall_kirorin 2>/dev/null || fail "uninstall went ahead while the program ran"
same_listing "$work/running" "a refused uninstall changed the home"
stop_program "$program_pid"
cp "$app_dir/tamberle.sav" "$work/settings"

# Reinstalling, into the default folders and without start at login this time, takes the earlier
# install's files away and keeps the settings; the icon cache there is refreshed.
install_kirorin
check_installed_files "$prefix/share"
[[ ! -e "$HOME/.config/autostart/kirorin.desktop" ]] || fail "autostart without --autostart"
left=$(find "$work/xdg/share" "$work/config" -mindepth 1)
[[ -z "$left" ]] || fail "the earlier install left $left"
cmp -s "$app_dir/tamberle.sav" "$work/settings" || fail "reinstalling changed the settings"
[[ ! -f "$hicolor/icon-theme.cache" ]] || grep -q kirorin "$hicolor/icon-theme.cache" ||
    fail "the icon cache was not refreshed"

# Uninstalling keeps the settings until --purge, and leaves everything else as it was: what the
# purge, which has no record of the install left, does not remove.
uninstall_kirorin
[[ $(ls -A "$app_dir") == tamberle.sav ]] && cmp -s "$app_dir/tamberle.sav" "$work/settings" ||
    fail "uninstall kept more than the settings in $app_dir, or not them"
uninstall_kirorin --purge
same_listing "$work/before" "uninstall left something behind"
echo PASS
