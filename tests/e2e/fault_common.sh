#!/usr/bin/env bash
# Shared by the fault tests (fault_*.sh): finding the main window and the
# error box among windows of the same title, closing the main window as a
# user would, and the bytes a load followed by a save must give. Source it
# after session.sh.

TITLE='^Nuvalora Sex Planner$'

# The helpers below work on bytes; perl need not look for the test's locale.
perl() {
    LC_ALL=C command perl "$@"
}

# The visible windows titled "Nuvalora Sex Planner", one "id width height" a line.
titled_windows() {
    local id geometry
    for id in $(xdotool search --onlyvisible --name "$TITLE" 2>/dev/null); do
        geometry=$(xdotool getwindowgeometry "$id" 2>/dev/null | sed -n 's/^ *Geometry: *//p')
        [ -n "$geometry" ] && echo "$id ${geometry/x/ }"
    done
}

# The main window is 594x541; the error box, titled the same, is not.
main_window_of() {
    local pid=$1 id width height
    while read -r id width height; do
        if [ "$width" = 594 ] && [ "$height" = 541 ] &&
            [ "$(xdotool getwindowpid "$id" 2>/dev/null)" = "$pid" ]; then
            echo "$id"
            return 0
        fi
    done < <(titled_windows)
    return 1
}

error_box_of() {
    local pid=$1 id width height
    while read -r id width height; do
        if ! { [ "$width" = 594 ] && [ "$height" = 541 ]; } &&
            [ "$(xdotool getwindowpid "$id" 2>/dev/null)" = "$pid" ]; then
            echo "$id"
            return 0
        fi
    done < <(titled_windows)
    return 1
}

# Waits until the finder (main_window_of or error_box_of) finds a window of
# the program with this process id; prints its id.
wait_for_window_of() {
    local finder=$1 pid=$2 timeout=$3 what=$4 id
    for _ in $(seq $((timeout * 20))); do
        id=$("$finder" "$pid") && { echo "$id"; return 0; }
        kill -0 "$pid" 2>/dev/null || fail "the program ended before its $what came up"
        sleep 0.05
    done
    fail "no $what within ${timeout}s"
}

wait_main_window() { wait_for_window_of main_window_of "$1" "${2:-30}" "main window"; }
wait_error_box() { wait_for_window_of error_box_of "$1" "${2:-30}" "error box"; }

# Presses a key in a window through the window manager's focus, as a user's
# keyboard would (events sent straight to a window are ignored by openbox).
key_in() {
    local window=$1
    shift
    xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
    xdotool key --clearmodifiers "$@"
}

# Asks the window to close as the title bar's close box or Alt+F4 would.
request_close() {
    key_in "$1" alt+F4
}

# What a load followed by a save makes of a month.dat, worked out here
# independently of the program: the contents end at the first NUL; lines end
# at CR LF, CR or LF, a line end at the very end starting no further line;
# the lines are sorted by their bytes with ASCII letters folded to lower
# case, equal ones keeping their order; each is written back with CR LF.
expected_after_save() {
    perl -e '
        binmode STDIN; binmode STDOUT;
        local $/; my $contents = <STDIN> // "";
        $contents =~ s/\0.*//s;
        my @lines = split /\r\n|\r|\n/, $contents, -1;
        pop @lines if @lines && $lines[-1] eq "";
        # lc on bytes folds A-Z only and a plain sort compares unsigned bytes.
        # Each key is the folded line, a NUL (no line holds one, and it puts
        # a line before any longer line that begins with it) and the line
        # number, so that equal lines keep their order.
        my $n = 0;
        my @order = map { unpack("N", substr($_, -4)) }
            sort map { lc($_) . "\0" . pack("N", $n++) } @lines;
        print map { "$lines[$_]\r\n" } @order;
    ' <"$1" >"$2"
}

# The number of lines a load finds in a month.dat (same rules as above).
lines_in() {
    perl -e '
        binmode STDIN; local $/; my $contents = <STDIN> // "";
        $contents =~ s/\0.*//s;
        my @lines = split /\r\n|\r|\n/, $contents, -1;
        pop @lines if @lines && $lines[-1] eq "";
        print scalar(@lines), "\n";
    ' <"$1"
}

# Drops an ended process from the ones session.sh ends on exit, so that a
# test starting the program hundreds of times never signals a reused id.
forget_pid() {
    local pid kept=()
    for pid in "${E2E_PIDS[@]}"; do
        [ "$pid" = "$1" ] || kept+=("$pid")
    done
    E2E_PIDS=("${kept[@]}")
}

checksum() {
    sha256sum "$1" | cut -d' ' -f1
}

# Whether the file holds exactly these lines, each ended by CR LF:
# holds_lines FILE [LINE...]
holds_lines() {
    local file=$1
    shift
    if [ $# -eq 0 ]; then
        [ -f "$file" ] && [ ! -s "$file" ]
    else
        cmp -s "$file" <(printf '%s\r\n' "$@")
    fi
}
