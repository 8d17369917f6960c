#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# The whole job done from the keyboard as a listener with a screen reader
# does it, checked through AT-SPI (what Orca reads) after every step: hear
# the dates, add one, edit one, delete one, hear the report, open help and
# About and press its links, meet the input box and the warning box.
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=session.sh
source "$here/session.sh"
# shellcheck source=planner.sh
source "$here/planner.sh"

at() { /usr/bin/python3 "$here/atspi.py" "$@" || fail "AT-SPI check failed: $*"; }

start_screen
eval "$(dbus-launch --sh-syntax)"
E2E_PIDS+=("$DBUS_SESSION_BUS_PID")
# Qt joins the AT-SPI bus once it is up, as on a desktop with a screen reader.
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
    >/dev/null || fail "no AT-SPI bus"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

# The desktop's opener, standing in for the browser and the mail program.
mkdir -p "$E2E_TMP/bin"
printf '#!/bin/sh\necho "$@" >> "%s"\n' "$E2E_TMP/opened" >"$E2E_TMP/bin/xdg-open"
chmod +x "$E2E_TMP/bin/xdg-open"
export PATH="$E2E_TMP/bin:$PATH"
unset BROWSER

dir=$(install_copy)
printf '36964\r\n37024\r\n37055\r\n' >"$dir/month.dat" # 14 March, 13 May, 13 June 2001
start_app "$dir"
wait_main_window >/dev/null

echo "== the main window"
at window 'Nuvalora Sex Planner'
at readonly 'Average Length of Menstrual Cycle' yes
at readonly 'Results' yes
at focus 'push button' 'Add Date...'

echo "== hearing the dates"
at list ' 3/14/01' ' 5/13/01   (Menstrual cycle length: 60 days)' \
    ' 6/13/01   (Menstrual cycle length: 31 days)'
xdotool key Tab
at focus 'list item' ' 3/14/01'
xdotool key Down
at focus 'list item' ' 5/13/01   (Menstrual cycle length: 60 days)'
at selected ' 5/13/01   (Menstrual cycle length: 60 days)'

echo "== adding 13 April, the dialog's first day"
xdotool key shift+Tab shift+Tab shift+Tab
at focus 'push button' 'Add Date...'
xdotool key Return
wait_window '^Select Date$' >/dev/null
at window 'Select Date'
at focus 'push button' 'OK'
xdotool key Return
wait_gone '^Select Date$'
at list ' 3/14/01' ' 4/13/01   (Menstrual cycle length: 30 days)' \
    ' 5/13/01   (Menstrual cycle length: 30 days)' ' 6/13/01   (Menstrual cycle length: 31 days)'

echo "== editing 13 May to 20 April"
xdotool key Tab Tab Tab # Edit Date, Delete Date, the list
at focus 'list item' ' 5/13/01   (Menstrual cycle length: 30 days)'
xdotool key shift+Tab shift+Tab
at focus 'push button' 'Edit Date'
xdotool key Return
wait_window '^Select Date$' >/dev/null
# The calendar is no Tab stop; the screen reader puts the focus on its days.
at grab-focus table 'Calendar'
at focus 'table cell' '13'
for _ in 1 2 3 4 5 6 7; do xdotool key Right; done
at focus 'table cell' '20'
xdotool key Return # Enter in the calendar is OK
wait_gone '^Select Date$'
at list ' 3/14/01' ' 4/13/01   (Menstrual cycle length: 30 days)' \
    ' 4/20/01   (Menstrual cycle length: 7 days)' ' 6/13/01   (Menstrual cycle length: 54 days)'

echo "== deleting it"
at focus 'push button' 'Edit Date'
xdotool key Tab
at focus 'push button' 'Delete Date'
xdotool key Return
at list ' 3/14/01' ' 4/13/01   (Menstrual cycle length: 30 days)' \
    ' 6/13/01   (Menstrual cycle length: 61 days)'

echo "== hearing the report"
# (30 + 61) / 2 = 45.5, rounded to the even 46; the last period is 13 June.
at text 'Average Length of Menstrual Cycle' 46
at text 'Results' "$(report_text automatic 46 37055)"

echo "== help"
xdotool key alt+h
wait_window '^Nuvalora Help$' >/dev/null
at window 'Nuvalora Help'
at focus 'push button' 'Close'
xdotool key alt+c
wait_gone '^Nuvalora Help$'

echo "== About and its links"
at focus 'push button' 'Delete Date'
xdotool key shift+Tab shift+Tab shift+Tab # Edit Date, Add Date..., About...
at focus 'push button' 'About...'
xdotool key Return
wait_window '^About Nuvalora$' >/dev/null
at window 'About Nuvalora'
at focus 'push button' 'Close'
at press-link 'Dravik Software'
at press-link 'sales@dravik.test'
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
xdotool type x
xdotool key Return
wait_window '^Warning$' >/dev/null
at window 'Warning'
xdotool key Return
wait_gone '^Warning$'

xdotool key alt+c
expect_ended_with_store "$dir" 36964 36994 37055
echo "PASS: a listener added, edited and deleted dates, heard the report, help and About"
