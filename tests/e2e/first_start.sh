#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# First start with no month.dat: the window carries the program icon for the
# task list; the first view asks for the date of the last period (read back
# by copying the results box); Help, About (with its own Help over it) and a
# cancelled save come and go; Close ends the program with exit code 0, and an
# empty month.dat, readable by its user alone, is left beside the executable;
# a mode the user gives it is kept.
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=session.sh
source "$here/session.sh"
# shellcheck source=planner.sh
source "$here/planner.sh"

umask 022 # as on most systems: a file made with the usual mode is readable by all
start_screen
dir=$(install_copy)
[ ! -e "$dir/month.dat" ] || fail "the fresh folder already has a month.dat"
start_app "$dir"
main=$(wait_main_window)
shot first-start "$main"

# The icon as the task list reads it: 16 by 16 pixels, every one opaque grey.
read -r -a icon <<<"$(xprop -id "$main" -notype 32c _NET_WM_ICON | sed 's/^[^=]*= *//; s/,//g')"
{ [ "${icon[0]:-}" = 16 ] && [ "${icon[1]:-}" = 16 ] && [ "${#icon[@]}" -eq 258 ]; } ||
    fail "the main window has no 16x16 icon: ${icon[*]:0:4}"
for pixel in "${icon[@]:2}"; do
    alpha=$((pixel >> 24 & 255)) red=$((pixel >> 16 & 255)) green=$((pixel >> 8 & 255))
    blue=$((pixel & 255))
    { [ "$alpha" -eq 255 ] && [ "$red" -eq "$green" ] && [ "$green" -eq "$blue" ]; } ||
        fail "the icon has a pixel that is not opaque grey: $pixel"
done

expect_results_text "$main" "Please enter the date of the start of your last period"
[ ! -e "$dir/month.dat" ] || fail "month.dat was written before the window closed"

# Alt+H opens Help and Alt+C closes it; About's Help opens over About.
xdotool key alt+h
wait_window '^Nuvalora Help$' >/dev/null
xdotool key alt+c
wait_gone '^Nuvalora Help$'
press_button "$main" about
wait_window '^About Nuvalora$' >/dev/null
xdotool key alt+h
wait_window '^Nuvalora Help$' >/dev/null
xdotool key alt+c
wait_gone '^Nuvalora Help$'
[ -n "$(xdotool search --onlyvisible --name '^About Nuvalora$' 2>/dev/null)" ] ||
    fail "closing Help closed the About box too"
xdotool key alt+c
wait_gone '^About Nuvalora$'

# Escape cancels the save dialog: no file is written.
press_button "$main" save
wait_window '^Save As$' >/dev/null
xdotool key Escape
wait_gone '^Save As$'
[ ! -e "$dir/nuvalora.txt" ] || fail "the cancelled save wrote $dir/nuvalora.txt"

xdotool key alt+c
status=0
wait_exit "$APP_PID" 30 || status=$?
[ "$status" -eq 0 ] || fail "the program ended with exit code $status"
[ -f "$dir/month.dat" ] || fail "no month.dat beside the executable after Close"
[ ! -s "$dir/month.dat" ] || fail "month.dat is not empty: $(hexof "$dir/month.dat")"
[ "$(stat -c %a "$dir/month.dat")" = 600 ] || fail "month.dat has mode $(stat -c %a "$dir/month.dat")"

# A mode the user gave month.dat stays when a close puts the list in its place.
chmod 640 "$dir/month.dat"
start_app "$dir"
wait_main_window >/dev/null
xdotool key alt+c
wait_exit "$APP_PID" 30 || fail "the second start ended with exit code $?"
[ "$(stat -c %a "$dir/month.dat")" = 640 ] || fail "month.dat's mode 640 became $(stat -c %a "$dir/month.dat")"
echo "PASS: first start asks for the last period; Close leaves an empty month.dat"
