#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# The whole job done from the keyboard as a listener with a screen reader
# does it, checked through AT-SPI (what Orca reads) after every step, and by
# what Orca itself says: hear the dates, add one, edit one, delete one, hear
# the report, open help and About and press its links, meet the input box and
# the warning box, open the save dialog; then a list of 20,000 dates, and the
# save dialog in a folder of 10,000 files. Every text of every window is asked
# about its words, lines and the like at its ends and past them, and questions
# about rows the lists do not have are asked after every change, and of every
# view of Qt's save dialog; an AT-SPI listener checks that no focus or
# selection event comes from a window that is not showing.
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=session.sh
source "$here/session.sh"
# shellcheck source=planner.sh
source "$here/planner.sh"

at() { /usr/bin/python3 "$here/atspi.py" "$@" || fail "AT-SPI check failed: $*"; }

# Orca spoke the last phrase heard within 2 s of its time START (heard_at):
# quick START WHAT AFTER
quick() {
    local took
    [ -n "$1" ] || fail "Orca's log has no time for what came before $2"
    took=$(heard_since "$1")
    awk -v t="$took" 'BEGIN { exit !(t < 2) }' || fail "Orca spoke $2 $took s after $3"
    echo "Orca spoke $2 $took s after $3"
}

# With Orca listening to the keys, Qt's AT-SPI bridge leaks its copy of a key
# whose window has gone (scripts/sanitizers/lsan.supp); in the sanitizer build
# that leak is told by its whole call stack, and is not reported.
if [ -n "${ASAN_OPTIONS:-}" ]; then
    export ASAN_OPTIONS="$ASAN_OPTIONS:fast_unwind_on_malloc=0"
    export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}print_suppressions=0"
fi

start_screen
start_atspi_bus
start_orca
/usr/bin/python3 "$here/atspi.py" listen "$E2E_TMP/events.log" &
LISTENER=$!
E2E_PIDS+=("$LISTENER")

# The desktop's opener, standing in for the browser and the mail program.
mkdir -p "$E2E_TMP/bin"
printf '#!/bin/sh\necho "$@" >> "%s"\n' "$E2E_TMP/opened" >"$E2E_TMP/bin/xdg-open"
chmod +x "$E2E_TMP/bin/xdg-open"
export PATH="$E2E_TMP/bin:$PATH"
unset BROWSER

dir=$(install_copy)
printf '36964\r\n37024\r\n37055\r\n' >"$dir/month.dat" # 14 March, 13 May, 13 June 2001
touch "$dir/a.txt" "$dir/b.txt" # for the save dialog to show
start_app "$dir"
wait_main_window >/dev/null

echo "== the main window"
# Orca hears the main window, and nothing of the date dialog that is built
# hidden right after the main window's first paint.
hear 'Nuvalora Sex Planner frame.'
sleep 2
not_said 'Select Date'
hear 'Add Date... push button.'
at window 'Nuvalora Sex Planner'
at readonly 'Average Length of Menstrual Cycle' yes
at readonly 'Results' yes
at texts 'Nuvalora Sex Planner'
at focus 'push button' 'Add Date...' alone

echo "== hearing the dates"
at list ' 3/14/01' ' 5/13/01   (Menstrual cycle length: 60 days)' \
    ' 6/13/01   (Menstrual cycle length: 31 days)'
xdotool key Tab
at focus 'table cell' ' 3/14/01'
hear 'table with 3 rows 1 column' ' 3/14/01'
xdotool key Down
at focus 'table cell' ' 5/13/01   (Menstrual cycle length: 60 days)'
hear ' 5/13/01   (Menstrual cycle length: 60 days)'
at selected ' 5/13/01   (Menstrual cycle length: 60 days)'

echo "== opening the date dialog and leaving it with Escape"
xdotool key shift+Tab shift+Tab shift+Tab
at focus 'push button' 'Add Date...'
hear 'Add Date... push button.'
xdotool key Return
wait_window '^Select Date$' >/dev/null
hear 'Select Date dialog Please select the date of the first day of your period.' 'OK push button.'
at out-of-range 'Days of the month'
xdotool key Right # the calendar's keys on OK move the day, and the focus to it
hear '14'
xdotool key Left Tab Escape # the day and the focus as they were
wait_gone '^Select Date$'
hear 'Nuvalora Sex Planner frame.' 'Add Date... push button.'

echo "== adding 13 April, the dialog's first day"
xdotool key Return
wait_window '^Select Date$' >/dev/null
at window 'Select Date'
at texts 'Select Date'
at focus 'push button' 'OK' alone
xdotool key Return
wait_gone '^Select Date$'
at list ' 3/14/01' ' 4/13/01   (Menstrual cycle length: 30 days)' \
    ' 5/13/01   (Menstrual cycle length: 30 days)' ' 6/13/01   (Menstrual cycle length: 31 days)'
at out-of-range 'Dates of Start of Period'

echo "== editing 13 May to 20 April"
xdotool key Tab Tab Tab # Edit Date, Delete Date, the list
at focus 'table cell' ' 5/13/01   (Menstrual cycle length: 30 days)'
xdotool key shift+Tab shift+Tab
at focus 'push button' 'Edit Date'
xdotool key Return
wait_window '^Select Date$' >/dev/null
# The calendar is no Tab stop; the screen reader puts the focus on its days.
at grab-focus table 'Calendar'
at focus 'table cell' '13' alone
for _ in 1 2 3 4 5 6 7; do xdotool key Right; done
at focus 'table cell' '20' alone
xdotool key Return # Enter in the calendar is OK
wait_gone '^Select Date$'
at list ' 3/14/01' ' 4/13/01   (Menstrual cycle length: 30 days)' \
    ' 4/20/01   (Menstrual cycle length: 7 days)' ' 6/13/01   (Menstrual cycle length: 54 days)'
at out-of-range 'Dates of Start of Period'

echo "== deleting it"
at focus 'push button' 'Edit Date'
xdotool key Tab
at focus 'push button' 'Delete Date'
xdotool key Return
at list ' 3/14/01' ' 4/13/01   (Menstrual cycle length: 30 days)' \
    ' 6/13/01   (Menstrual cycle length: 61 days)'
at out-of-range 'Dates of Start of Period'
# Into the list again: Orca hears the rows that are there, and never the
# deleted one.
deleted_at=$HEARD
xdotool key Tab
hear 'table with 3 rows 1 column' ' 3/14/01'
xdotool key Down
hear ' 4/13/01   (Menstrual cycle length: 30 days)'
xdotool key Down
hear ' 6/13/01   (Menstrual cycle length: 61 days)'
HEARD=$deleted_at not_said '4/20/01'
xdotool key shift+Tab
at focus 'push button' 'Delete Date'

echo "== hearing the report"
# (30 + 61) / 2 = 45.5, rounded to the even 46; the last period is 13 June.
at text 'Average Length of Menstrual Cycle' 46
at text 'Results' "$(report_text automatic 46 37055)"

echo "== help"
xdotool key alt+h
wait_window '^Nuvalora Help$' >/dev/null
at window 'Nuvalora Help'
at texts 'Nuvalora Help'
# Only what has the focus says so: not the current page tab while Close has it.
at focus 'push button' 'Close' alone
xdotool key Tab
at focus 'page tab' 'Usage Instructions' alone
xdotool key Right
at focus 'page tab' 'Reference Information' alone
xdotool key alt+c
wait_gone '^Nuvalora Help$'

echo "== About and its links"
at focus 'push button' 'Delete Date'
xdotool key shift+Tab shift+Tab shift+Tab # Edit Date, Add Date..., About...
at focus 'push button' 'About...'
xdotool key Return
wait_window '^About Nuvalora$' >/dev/null
at window 'About Nuvalora'
at texts 'About Nuvalora'
at focus 'push button' 'Close'
at press link 'Dravik Software'
at press link 'sales@dravik.test'
for _ in $(seq 50); do [ "$(wc -l <"$E2E_TMP/opened" 2>/dev/null)" = 2 ] && break; sleep 0.1; done
[ "$(cat "$E2E_TMP/opened" 2>/dev/null)" = "$(printf '%s\n' http://www.dravik.test/index.html \
    mailto:sales@dravik.test)" ] || fail "the links opened: $(cat "$E2E_TMP/opened" 2>/dev/null)"
echo "opened: $(tr '\n' ' ' <"$E2E_TMP/opened")"
xdotool key Return # the About box stayed open; Close has the focus
wait_gone '^About Nuvalora$'

echo "== Set Manually with a wrong number"
at focus 'push button' 'About...'
xdotool key Tab Tab Tab Tab Tab # Add Date..., Edit Date, Delete Date, the list, Set Manually
at focus 'push button' 'Set Manually'
xdotool key Return
wait_window '^Length of Cycle$' >/dev/null
at window 'Length of Cycle'
at focus text 'Enter the average length of your cycle'
# Back over the word typed, as a listener rereads it: Orca asks for the word
# at the end of the text. (Orca still busy with the typing may read only 3.)
# A leading blank, which the length may have, starts the text with no word.
xdotool type ' 30'
at text 'Enter the average length of your cycle' ' 30'
xdotool key ctrl+Left
hear 'left control' '3'
at texts 'Length of Cycle'
xdotool key End
xdotool type x
xdotool key Return
wait_window '^Warning$' >/dev/null
at window 'Warning'
xdotool key Return
wait_gone '^Warning$'

echo "== Qt's save dialog, asked about places its views do not have"
at focus 'push button' 'Set Manually'
xdotool key Tab Tab # Print Results, Save to File
at focus 'push button' 'Save to File'
xdotool key Return
wait_window '^Save As$' >/dev/null
at views-out-of-range 'Save As'
at texts 'Save As'
# In the detail view, what has the focus is told as the file it is.
at press 'push button' 'Detail View'
at grab-focus tree 'Files'
xdotool key Down
at focus 'table cell' 'b.txt' alone
xdotool key Escape
wait_gone '^Save As$'

kill -TERM "$LISTENER"
wait "$LISTENER" || true
at shown-only "$E2E_TMP/events.log" "push button 'OK' < dialog 'Select Date'" \
    "focus: table cell 'a.txt' < tree 'Files'" "focus: table cell 'b.txt' < tree 'Files'"

xdotool key alt+c
expect_ended_with_store "$dir" 36964 36994 37055

echo "== 20,000 dates, more rows than the program keeps for a screen reader; 10,000 files"
# Day 20000 is 3 October 1954.
dir=$(install_copy)
awk 'BEGIN { for (day = 20000; day < 40000; ++day) printf "%d\r\n", day }' >"$dir/month.dat"
# The folder where the save dialog opens. The sanitizer build, many times
# slower, takes seconds to lay out 10,000 files for the list view (Orca, whose
# questions wait meanwhile, falls silent): a thousand serve its purpose.
files=10000
[ -z "${UBSAN_OPTIONS:-}" ] || files=1000
(cd "$dir" && seq -f 'f%05g.txt' 0 $((files - 1)) | xargs touch)
HEARD=$(wc -l <"$ORCA_LOG") # what Orca said of the first run is past
start_app "$dir"
wait_main_window >/dev/null
hear 'Nuvalora Sex Planner frame.'
shown=$(heard_at)
hear 'Add Date... push button.'
quick "$shown" 'the focus' 'the window'
xdotool key Tab
hear 'table with 20000 rows 1 column' ' 10/3/54'
# A screen reader that was handed every row at once still hears the focused
# one, and then the selected one once the focus has left the list.
at held 'Dates of Start of Period' 0 ' 10/3/54'
xdotool key Down
hear ' 10/4/54   (Menstrual cycle length: 1 days)'
xdotool key shift+Tab
at focus 'push button' 'Delete Date'
at held 'Dates of Start of Period' 1 ' 10/4/54   (Menstrual cycle length: 1 days)'
xdotool key Tab Tab Tab Tab # the list, Set Manually, Print Results, Save to File
hear 'Save to File push button.'
from=$HEARD
xdotool key Return
hear 'Save As dialog'
quick "$(HEARD=$from heard_at 'window:activate for .*Save As)')" 'the dialog' 'it came up'
# In the list view, the files are a table, and each is read by its name.
at press 'push button' 'List View'
xdotool key shift+Tab
hear 'left shift'
shifted=$(heard_at)
hear 'table with'
quick "$shifted" 'the list of files' 'the key'
xdotool key Down
hear 'f00001.txt'
xdotool key Escape
wait_gone '^Save As$'
xdotool key alt+c
mapfile -t days < <(seq 20000 39999)
expect_ended_with_store "$dir" "${days[@]}"
echo "PASS: a listener added, edited and deleted dates, heard the report, help, About, long lists"
