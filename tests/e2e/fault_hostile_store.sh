#!/usr/bin/env bash
# Very large and hostile month.dat files: a million rows, one 50 MB line,
# random bytes (with and without NULs), nothing but NULs, CR-only line ends.
#
# For each: the program starts; where rows are not day texts it shows error
# boxes, which are answered; it stays responsive (Alt+H opens the help
# dialog, which closes again); and on Close it saves back exactly what it
# loaded. The expected file is worked out independently of the program
# (expected_after_save in fault_common.sh).
#
#   FAULT_CASES    the cases to run (default: all), by name
#   FAULT_PATIENCE seconds the program may take to bring up its next window
#                  (an error box, the main window, the help dialog) or to
#                  take one down (default 60; a start takes a second or two)
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=session.sh
source "$here/session.sh"
# shellcheck source=fault_common.sh
source "$here/fault_common.sh"

cases=${FAULT_CASES:-"million-rows line-50mb random-bytes random-no-nul only-nuls cr-only"}
patience=${FAULT_PATIENCE:-60}
started=$SECONDS

# Writes the case's month.dat to $1; reproducible (fixed seeds).
make_case() {
    local name=$1 out=$2
    case $name in
    million-rows) # day texts in no order, CR LF
        perl -e 'srand(1); print 36000 + int(rand(60000)), "\r\n" for 1 .. 1000000' >"$out" ;;
    line-50mb) # one line of 50 MB of digits, no line end
        perl -e 'print "36994" x 10485760' >"$out" ;;
    random-bytes) # 4 MB of random bytes: the first NUL ends the contents
        perl -e 'srand(2); print pack("C*", map { int(rand(256)) } 1 .. 4194304)' >"$out" ;;
    random-no-nul) # 1 MB of random bytes without NUL: many rows of garbage
        perl -e 'srand(3); print pack("C*", map { 1 + int(rand(255)) } 1 .. 1048576)' >"$out" ;;
    only-nuls) # 1 MB of NULs: an empty list
        head -c 1048576 /dev/zero >"$out" ;;
    cr-only) # 100000 day texts in no order, each ended by CR alone
        perl -e 'srand(4); print 36000 + int(rand(60000)), "\r" for 1 .. 100000' >"$out" ;;
    *) fail "no such case: $name" ;;
    esac
}

# Whether a load of this file gives rows that are not all day texts (five
# digits here), which the report and the list cannot read.
has_bad_rows() {
    perl -e '
        binmode STDIN; local $/; my $c = <STDIN> // ""; $c =~ s/\0.*//s;
        my @l = split /\r\n|\r|\n/, $c, -1; pop @l if @l && $l[-1] eq "";
        exit((grep { !/^-?[0-9]{1,9}\z/ } @l) ? 0 : 1);
    ' <"$1"
}

help_window() {
    local id
    id=$(xdotool search --onlyvisible --name '^Nuvalora Help$' 2>/dev/null | head -n 1)
    [ -n "$id" ] && echo "$id"
}

# Polls while the shell condition holds; fails if it still holds after that
# many seconds.
wait_while() {
    local seconds=$1 condition=$2
    for _ in $(seq $((seconds * 10))); do
        eval "$condition" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    return 1
}

# Answers error boxes and opens and closes the help dialog, until the help
# dialog has been seen and nothing more comes up. Prints the boxes answered.
answer_boxes_and_use_help() {
    local pid=$1 main=$2 boxes=0 helped=no quiet=0 id
    local deadline=$((SECONDS + 5 * patience))
    while [ "$SECONDS" -lt "$deadline" ]; do
        kill -0 "$pid" 2>/dev/null || fail "the program ended"
        if id=$(error_box_of "$pid"); then
            key_in "$id" Return
            boxes=$((boxes + 1))
            quiet=0
            # Wait for this box to go before looking for the next one.
            wait_while "$patience" "error_box_of $pid | grep -qx $id" ||
                fail "an answered error box did not go within ${patience}s"
        elif id=$(help_window); then
            helped=yes
            key_in "$id" alt+F4
            quiet=0
            wait_while "$patience" "help_window" ||
                fail "the help dialog did not close within ${patience}s"
        elif [ "$quiet" -ge 30 ]; then
            # Quiet for three seconds: open the help once, then stop.
            [ "$helped" = no ] || { echo "$boxes"; return 0; }
            key_in "$main" alt+h
            wait_while "$patience" "! help_window && ! error_box_of $pid" ||
                fail "Alt+H brought up no help dialog within ${patience}s"
            quiet=0
        else
            quiet=$((quiet + 1))
            sleep 0.1
        fi
    done
    fail "no end to the error boxes, or the help dialog did not open and close"
}

start_screen
summary=()
for name in $cases; do
    t0=$SECONDS
    dir=$(install_copy)
    make_case "$name" "$dir/month.dat"
    cp "$dir/month.dat" "$E2E_TMP/$name.input"
    expected_after_save "$dir/month.dat" "$E2E_TMP/$name.expected"
    rows=$(lines_in "$dir/month.dat")
    bad=no
    has_bad_rows "$dir/month.dat" && bad=yes
    echo "== $name: $(stat -c %s "$dir/month.dat") bytes, $rows rows, rows that are not day texts: $bad"

    start_app "$dir"
    # With bad rows the error box comes before the main window; answer it.
    # Each window must come within the patience, counted from the start or
    # from the last box answered.
    main=""
    boxes=0
    deadline=$((SECONDS + patience))
    while [ "$SECONDS" -lt "$deadline" ]; do
        main=$(main_window_of "$APP_PID") && break
        if id=$(error_box_of "$APP_PID"); then
            shot "fault_hostile_${name}_first_box"
            key_in "$id" Return
            boxes=$((boxes + 1))
            wait_while "$patience" "error_box_of $APP_PID | grep -qx $id" ||
                fail "$name: an answered error box did not go within ${patience}s"
            deadline=$((SECONDS + patience))
        fi
        kill -0 "$APP_PID" 2>/dev/null || fail "$name: the program ended at start-up"
        sleep 0.1
    done
    [ -n "$main" ] || fail "$name: neither an error box nor the main window within" \
        "${patience}s (the program is busy or hung)"
    more=$(answer_boxes_and_use_help "$APP_PID" "$main")
    boxes=$((boxes + more))
    shot "fault_hostile_$name" "$main"
    if [ "$bad" = yes ]; then
        [ "$boxes" -ge 1 ] || fail "$name: rows that are not day texts but no error box"
    else
        [ "$boxes" -eq 0 ] || fail "$name: $boxes error boxes for a list of day texts"
    fi

    request_close "$main"
    for _ in $(seq $((patience * 10))); do
        kill -0 "$APP_PID" 2>/dev/null || break
        # A row that cannot be drawn may be reported again while closing.
        if id=$(error_box_of "$APP_PID"); then
            key_in "$id" Return
            sleep 0.5
            main=$(main_window_of "$APP_PID") && request_close "$main"
        fi
        sleep 0.1
    done
    wait_exit "$APP_PID" 10 || fail "$name: the program failed on close"
    forget_pid "$APP_PID"

    if ! cmp -s "$dir/month.dat" "$E2E_TMP/$name.expected"; then
        cp "$dir/month.dat" "$E2E_OUT/fault_hostile_${name}_saved.dat"
        fail "$name: the saved month.dat differs from what was loaded" \
            "($(stat -c %s "$dir/month.dat") bytes, expected" \
            "$(stat -c %s "$E2E_TMP/$name.expected"); kept in $E2E_OUT)"
    fi
    summary+=("$name: $rows rows, $boxes error boxes answered, help opened and closed,\
 saved back as loaded ($(stat -c %s "$dir/month.dat") bytes) in $((SECONDS - t0)) s")
    rm -rf "$dir" "$E2E_TMP/$name".*
done
printf '%s\n' "${summary[@]}"
echo "$((SECONDS - started)) s in all"
