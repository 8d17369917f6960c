#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# An error that escapes all event handling in the real program (made to fail
# while it sets itself up) is shown in the "Application Error" box, whose OK
# ends the program with exit code 1. (The box's text is checked in-process.)
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=session.sh
source "$here/session.sh"
: "${E2E_FAILING_SETUP:?set E2E_FAILING_SETUP to the library that makes set-up fail}"

start_screen
dir=$(install_copy)
LD_PRELOAD=$E2E_FAILING_SETUP start_app "$dir"
box=$(wait_window '^Application Error$')
shot application-error "$box"
xdotool key Return
status=0
wait_exit "$APP_PID" 20 || status=$?
[ "$status" -eq 1 ] || fail "the program ended with exit code $status, not 1"
echo "PASS: the Application Error box, then exit code 1"
