#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# Installing like a desktop program into a per-user prefix: the program in a
# folder of its own with a launcher link in bin, a menu entry, an icon and an
# AppStream description that pass their validators without a hint; the icon
# at every size; the installed program starts and keeps month.dat in its own
# folder; the README's uninstall leaves nothing behind but month.dat.
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
icon_sizes=(16 32 48 64 128 256)
icons=()
for size in "${icon_sizes[@]}"; do
    icons+=("$prefix/share/icons/hicolor/${size}x$size/apps/nuvalora.png")
done
metainfo="$prefix/share/metainfo/test.dravik.nuvalora.metainfo.xml"

# Exactly these files, and nothing else, are installed.
expected=$(printf '%s\n' "$program" "$launcher" "$entry" "${icons[@]}" "$metainfo" | sort)
installed=$(sort "$manifest")
if [ "$installed" != "$expected" ]; then
    diff <(echo "$expected") <(echo "$installed") >&2 || true
    fail "install_manifest.txt does not list exactly the program, its link, entry, icons and metainfo"
fi
[ "$(find "$prefix" -type f -o -type l | sort)" = "$expected" ] ||
    fail "the prefix holds files that the manifest does not list"

{ [ -f "$program" ] && [ -x "$program" ]; } || fail "$program is not an executable file"
[ -L "$launcher" ] || fail "$launcher is not a link"
[ "$(readlink -f "$launcher")" = "$(readlink -f "$program")" ] || fail "$launcher does not lead to $program"
case $(readlink "$launcher") in
    /*) fail "the launcher link is absolute; the installed tree could not be moved" ;;
esac

# Warnings and hints fail the test as errors do: desktop-file-validate says
# nothing of a sound entry, and appstreamcli only notes (I:) what it cannot
# check.
{ out=$(desktop-file-validate "$entry" 2>&1) && [ -z "$out" ]; } ||
    fail "desktop-file-validate finds fault with $entry: $out"
validated() {
    local out
    out=$(appstreamcli "$@" --no-net --pedantic 2>&1) || { echo "$out" >&2; return 1; }
    ! grep -E '^[EWP]: ' <<<"$out" >&2
}
validated validate "$metainfo" || fail "appstreamcli finds fault with $metainfo"
# The tree as a software centre reads it: metainfo, its menu entry and icons.
validated validate-tree "$prefix" || fail "appstreamcli finds fault with the installed tree"
grep -q '<screenshot type="default">' "$metainfo" || fail "the metainfo shows no screenshot"

grep -qx 'Icon=nuvalora' "$entry" || fail "the menu entry does not name the icon nuvalora"
grep -qx 'Name=Nuvalora Sex Planner' "$entry" || fail "the menu entry does not carry the program's name"
exec_line=$(sed -n 's/^Exec=//p' "$entry")
[ "$exec_line" = "\"$program\"" ] || fail "the menu entry starts '$exec_line', not the installed program"

# Each icon is the program's own picture, each pixel of it a whole block of
# pixels (nearest-neighbour sampling), as a PNG; the 16x16 one pixel for pixel.
for size in "${icon_sizes[@]}"; do
    icon="$prefix/share/icons/hicolor/${size}x$size/apps/nuvalora.png"
    [ "$(identify -format '%m %wx%h' "$icon")" = "PNG ${size}x$size" ] ||
        fail "$icon is not a ${size}x$size PNG"
    convert "$here/../../resources/pictures/icon.bmp" -sample "${size}x$size" "$E2E_TMP/icon.png"
    differing=$(compare -metric AE "$E2E_TMP/icon.png" "$icon" null: 2>&1) || true
    [ "$differing" = "0" ] || fail "the ${size}x$size icon differs from the picture in $differing pixels"
done

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

# Uninstalling as the README says: remove what the manifest lists, then the
# folders that leaves empty. What stays is the user's own data, month.dat.
xargs -d '\n' rm -f -- <"$manifest"
xargs -d '\n' -n 1 dirname -- <"$manifest" | sort -u |
    xargs -d '\n' rmdir -p --ignore-fail-on-non-empty --
left=$(find "$E2E_TMP/home of user" | sort)
[ "$left" = "$(printf '%s\n' "$E2E_TMP/home of user" "$prefix" "$prefix/lib" "$prefix/lib/nuvalora" \
    "$prefix/lib/nuvalora/month.dat")" ] || fail "after the uninstall, left: $left"
echo "PASS: installed, validated, started and removed again"
