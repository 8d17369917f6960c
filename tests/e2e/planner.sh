#!/usr/bin/env bash
# Helpers for the end-to-end tests that drive the planner's own windows: where
# the main window's buttons are, telling the main window from the error box
# (both carry the program's title), reading the results box through the
# clipboard, the expected report, and the calendar of the date dialog.
# Source it after session.sh.

TITLE='^Nuvalora Sex Planner$'
MAIN_SIZE=594x541

# Centres of the main window's buttons and a point inside the results box, in
# the window's client coordinates (each group box's place plus the control's).
declare -A BUTTON=(
    [add]="389 92" [edit]="388 124" [delete]="388 156"
    [setlength]="389 294" [print]="389 476" [save]="389 508"
    [close]="527 436" [help]="527 476" [about]="527 516"
    [results]="60 380"
)

# Clicks one of the main window's buttons: press_button WINDOW NAME
press_button() {
    local window=$1 name=$2
    [ -n "${BUTTON[$name]:-}" ] || fail "no button '$name'"
    # shellcheck disable=SC2086 # two coordinates
    xdotool mousemove --window "$window" ${BUTTON[$name]} click 1
}

window_size() {
    local WIDTH="" HEIGHT=""
    eval "$(xdotool getwindowgeometry --shell "$1" 2>/dev/null | grep -E '^(WIDTH|HEIGHT)=[0-9]+$')"
    echo "${WIDTH}x${HEIGHT}"
}

# Visible windows titled like the program, one "id WxH" a line. A window
# that goes while it is looked at (a closing main window) is left out.
program_windows() {
    local id size
    for id in $(xdotool search --onlyvisible --name "$TITLE" 2>/dev/null); do
        size=$(window_size "$id")
        [ "$size" = x ] || echo "$id $size"
    done
}

# The main window is the program-titled window of the main window's size; the
# error box is any other program-titled window.
visible_main_window() { program_windows | awk -v s="$MAIN_SIZE" '$2 == s { print $1; exit }'; }
visible_error_box() { program_windows | awk -v s="$MAIN_SIZE" '$2 != s { print $1; exit }'; }

# shellcheck disable=SC2120 # the timeout is optional
wait_main_window() {
    local timeout=${1:-20} id
    for _ in $(seq $((timeout * 10))); do
        id=$(visible_main_window)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    fail "the main window ($MAIN_SIZE) did not show within ${timeout}s"
}

# shellcheck disable=SC2120 # the timeout is optional
wait_error_box() {
    local timeout=${1:-20} id
    for _ in $(seq $((timeout * 10))); do
        id=$(visible_error_box)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    fail "no error box within ${timeout}s"
}

# shellcheck disable=SC2120 # the timeout is optional
wait_error_box_gone() {
    local timeout=${1:-20}
    for _ in $(seq $((timeout * 10))); do
        [ -z "$(visible_error_box)" ] && return 0
        sleep 0.1
    done
    fail "the error box is still there after ${timeout}s"
}

# Fails if an error box shows within the given seconds.
expect_no_error_box() {
    local seconds=$1
    for _ in $(seq $((seconds * 10))); do
        [ -z "$(visible_error_box)" ] || fail "an unexpected error box showed"
        sleep 0.1
    done
}

# Expects the program to end with exit code 0, and month.dat to hold exactly
# the given lines, each ended by CR LF: expect_ended_with_store DIR [LINE...]
expect_ended_with_store() {
    local dir=$1 status=0 expected=""
    shift
    wait_exit "$APP_PID" 30 || status=$?
    [ "$status" -eq 0 ] || fail "the program ended with exit code $status"
    [ $# -eq 0 ] || expected=$(printf '%s\r\n' "$@" | od -An -tx1 -v | tr -d ' \n')
    [ "$(hexof "$dir/month.dat")" = "$expected" ] ||
        fail "month.dat holds '$(tr '\r\n' '|.' <"$dir/month.dat")', expected the lines: $*"
}

# The text on the clipboard, through the helper built beside the tests.
clipboard_text() {
    : "${E2E_CLIPBOARD:?set E2E_CLIPBOARD to the clipboard helper}"
    "$E2E_CLIPBOARD" 2>/dev/null
}

# Copies the whole results box (click into it, Ctrl+A, Ctrl+C) until the
# clipboard holds the expected text: expect_results_text WINDOW TEXT
expect_results_text() {
    local window=$1 expected=$2 got=""
    for _ in $(seq 20); do
        press_button "$window" results
        xdotool key ctrl+a ctrl+c
        sleep 0.2
        got=$(clipboard_text) || true
        [ "$got" = "$expected" ] && return 0
        sleep 0.3
    done
    diff <(printf '%s\n' "$expected") <(printf '%s\n' "$got") >&2 || true
    fail "the results box does not hold the expected text (copied: '$got')"
}

# A day number as the program shows it under en_US (M/d/yy); day 0 is
# 30 December 1899.
display_date() {
    TZ=UTC LC_ALL=C date -u -d "1899-12-30 +$1 days" +%-m/%-d/%y
}

# The five-line report for a cycle length N and a last period on day L, as
# the results box holds it (lines joined by LF, no line end after the last):
# report_text automatic|typical|manual N L
report_text() {
    local mode=$1 n=$2 last=$3 first
    case $mode in
        automatic) first="Average Length of Menstrual Cycle: $n" ;;
        typical) first="Using a typical length of menstrual cycle of $n" ;;
        manual) first="Using a manually set menstrual cycle of $n" ;;
        *) fail "no report mode '$mode'" ;;
    esac
    local next=$((last + n))
    local best=$((next - 14))
    printf '%s\n' "$first" \
        "Next Period: $(display_date "$next")" \
        " " \
        "Recommended dates for sex:  Everyday from $(display_date $((best - 5))) to $(display_date $((best + 1)))"
    printf '%s' "Best day for sex:  $(display_date "$best")  (1 chance in 3 of conceiving)"
}

# The date dialog's calendar, in the dialog's client coordinates as laid out.
CALENDAR_LEFT=10
CALENDAR_TOP=29
CALENDAR_WIDTH=209
CALENDAR_HEIGHT=161

# Finds the selected day's cell in the date dialog's calendar and prints its
# centre ("x y", dialog coordinates). The calendar's title bar and the
# selected cell share the highlight colour: the title bar is the band of that
# colour across the top; the selected cell is the patch of it below the band.
selected_day_cell() {
    local dialog=$1 cell
    for _ in $(seq 20); do
        cell=$(import -window "$dialog" -depth 8 txt:- 2>/dev/null | awk \
            -v l="$CALENDAR_LEFT" -v t="$CALENDAR_TOP" -v w="$CALENDAR_WIDTH" -v h="$CALENDAR_HEIGHT" '
            NR > 1 {
                split($1, p, /[,:]/)
                x = p[1] - l; y = p[2] - t
                if (x >= 0 && x < w && y >= 0 && y < h) colour[x, y] = $3
            }
            END {
                for (x = 0; x < w; x++) count[colour[x, 2]]++
                for (c in count) if (count[c] > best) { best = count[c]; bar = c }
                if (best < w / 2) exit 1
                for (y = 2; y < h; y++) {
                    n = 0
                    for (x = 0; x < w; x++) if (colour[x, y] == bar) n++
                    if (n < w / 2) break
                }
                minx = w; miny = h; maxx = -1; maxy = -1
                for (; y < h; y++)
                    for (x = 0; x < w; x++)
                        if (colour[x, y] == bar) {
                            if (x < minx) minx = x; if (x > maxx) maxx = x
                            if (y < miny) miny = y; if (y > maxy) maxy = y
                        }
                if (maxx < 0 || maxx - minx < 8 || maxy - miny < 8) exit 1
                print int((minx + maxx) / 2) + l, int((miny + maxy) / 2) + t
            }') && [ -n "$cell" ] && { echo "$cell"; return 0; }
        sleep 0.2
    done
    fail "no selected day found in the calendar"
}

# Adds the dialog's first day, 13 April 2001, with Enter twice: "Add Date..."
# has the focus at start, and OK has it at the dialog's first opening.
add_first_date() {
    xdotool key Return
    wait_window '^Select Date$' >/dev/null
    xdotool key Return
    wait_gone '^Select Date$'
}
