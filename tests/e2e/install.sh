#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# Installing like a desktop program into a per-user prefix: the program in a
# folder of its own with a launcher link in bin, a menu entry, an icon and an
# AppStream description that pass their validators; the installed program
# starts and keeps month.dat in its own folder; removing the files listed in
# install_manifest.txt leaves none of them behind.
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=session.sh
source "$here/session.sh"
# shellcheck source=planner.sh
source "$here/planner.sh"

: "${NUVALORA_BUILD_DIR:?set NUVALORA_BUILD_DIR to the build folder}"
manifest="$NUVALORA_BUILD_DIR/install_manifest.txt"
# cmake --install writes its manifest into the build folder: keep the one of
# a real installation for its uninstall.
if [ -f "$manifest" ]; then
    cp "$manifest" "$E2E_TMP/kept-manifest"
fi
restore_manifest() {
    local status=$?
    if [ -f "$E2E_TMP/kept-manifest" ]; then
        cp "$E2E_TMP/kept-manifest" "$manifest"
    else
        rm -f "$manifest"
    fi
    e2e_cleanup "$status"
}
trap restore_manifest EXIT

# A home folder with a blank in its name, as some are.
prefix="$E2E_TMP/home of user/.local"
cmake --install "$NUVALORA_BUILD_DIR" --prefix "$prefix" >"$E2E_TMP/install.log" 2>&1 ||
    { cat "$E2E_TMP/install.log" >&2; fail "cmake --install failed"; }

program="$prefix/lib/nuvalora/nuvalora"
launcher="$prefix/bin/nuvalora"
entry="$prefix/share/applications/nuvalora.desktop"
icon="$prefix/share/icons/hicolor/16x16/apps/nuvalora.png"
metainfo="$prefix/share/metainfo/test.dravik.nuvalora.metainfo.xml"

# Exactly these files, and nothing else, are installed.
expected=$(printf '%s\n' "$program" "$launcher" "$entry" "$icon" "$metainfo" | sort)
installed=$(sort "$manifest")
if [ "$installed" != "$expected" ]; then
    diff <(echo "$expected") <(echo "$installed") >&2 || true
    fail "install_manifest.txt does not list exactly the program, its link, entry, icon and metainfo"
fi
[ "$(find "$prefix" -type f -o -type l | sort)" = "$expected" ] ||
    fail "the prefix holds files that the manifest does not list"

{ [ -f "$program" ] && [ -x "$program" ]; } || fail "$program is not an executable file"
[ -L "$launcher" ] || fail "$launcher is not a link"
[ "$(readlink -f "$launcher")" = "$(readlink -f "$program")" ] || fail "$launcher does not lead to $program"
case $(readlink "$launcher") in
    /*) fail "the launcher link is absolute; the installed tree could not be moved" ;;
esac

desktop-file-validate "$entry" || fail "desktop-file-validate rejects $entry"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects $metainfo"
# The tree as a software centre reads it: metainfo, its menu entry and icon.
appstreamcli validate-tree --no-net "$prefix" || fail "appstreamcli rejects the installed tree"

grep -qx 'Icon=nuvalora' "$entry" || fail "the menu entry does not name the icon nuvalora"
grep -qx 'Name=Nuvalora Sex Planner' "$entry" || fail "the menu entry does not carry the program's name"
exec_line=$(sed -n 's/^Exec=//p' "$entry")
[ "$exec_line" = "\"$program\"" ] || fail "the menu entry starts '$exec_line', not the installed program"

# The icon is the program's own picture, pixel for pixel, as a 16x16 PNG.
[ "$(identify -format '%m %wx%h' "$icon")" = "PNG 16x16" ] || fail "the icon is not a 16x16 PNG"
differing=$(compare -metric AE "$here/../../resources/pictures/icon.bmp" "$icon" null: 2>&1) || true
[ "$differing" = "0" ] || fail "the icon differs from the program's picture in $differing pixels"

# Started through the launcher link, as from a terminal, the program finds its
# own folder: month.dat goes there, not beside the link.
start_screen
(cd "$E2E_TMP" && exec "$launcher") >"$E2E_TMP/app.log" 2>&1 &
APP_PID=$!
E2E_PIDS+=("$APP_PID")
main=$(wait_main_window)
shot installed-program "$main"
xdotool key alt+c
status=0
wait_exit "$APP_PID" 30 || status=$?
[ "$status" -eq 0 ] || fail "the installed program ended with exit code $status"
[ -f "$prefix/lib/nuvalora/month.dat" ] || fail "no month.dat in the program's folder"
[ ! -e "$prefix/bin/month.dat" ] || fail "month.dat was written beside the launcher link"

# Uninstalling: remove what the manifest lists. What stays is the user's own
# data, month.dat.
xargs -d '\n' rm -f -- <"$manifest"
left=$(find "$prefix" -type f -o -type l | sort)
[ "$left" = "$prefix/lib/nuvalora/month.dat" ] ||
    fail "after removing the manifest's files, left: $left"
echo "PASS: installed, validated, started and removed again"
