#!/usr/bin/env bash
# A month.dat row that looks like markup: the error box must show the row's
# text as it is, in the one line of its message, not as formatting.
#
# The row "<br><br><br><br><br>36994" and its look-alike "(br)(br)(br)(br)(br)36994"
# both give the one-line message "'...' is not a valid integer value."; the
# boxes showing them must be of the same height. A box that takes the first
# for markup breaks the line five times and grows taller.
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=session.sh
source "$here/session.sh"
# shellcheck source=fault_common.sh
source "$here/fault_common.sh"

start_screen

# The height of the first error box shown for a month.dat of one row.
box_height_for() {
    local row=$1 name=$2 dir box height
    dir=$(install_copy)
    printf '%s\r\n' "$row" >"$dir/month.dat"
    start_app "$dir"
    box=$(wait_error_box "$APP_PID")
    sleep 0.3
    shot "fault_markup_$name" "$box"
    height=$(xdotool getwindowgeometry "$box" | sed -n 's/^ *Geometry: *[0-9]*x//p')
    kill "$APP_PID" 2>/dev/null || true
    wait "$APP_PID" 2>/dev/null || true
    forget_pid "$APP_PID"
    echo "$height"
}

plain=$(box_height_for '(br)(br)(br)(br)(br)36994' plain)
markup=$(box_height_for '<br><br><br><br><br>36994' markup)
echo "error box height: $plain px for the plain row, $markup px for the row with markup"
[ -n "$plain" ] || fail "no box height for the plain row"
[ -n "$markup" ] || fail "no box height for the row with markup"
difference=$((markup > plain ? markup - plain : plain - markup))
[ "$difference" -le 2 ] ||
    fail "the error box formats the row's text as markup (height $markup px instead of" \
        "$plain px; see $E2E_OUT/fault_markup_markup.png)"
