#!/usr/bin/env bash
# A full disk when the main window closes. The program's folder is a small
# memory file system holding the program, a month.dat and a file that fills
# the rest. Closing must then show the error box, keep the window open and
# leave month.dat untouched; once there is room again, closing saves the
# list and ends the program.
#
# Needs root for the mount; the test runs in a mount namespace of its own so
# that nobody else sees the mount. Exits 77 (skipped) when it cannot mount.
if [ -z "${FAULT_PRIVATE_MOUNTS:-}" ]; then
    if [ "$(id -u)" != 0 ]; then
        echo "SKIP: mounting a file system needs root"
        exit 77
    fi
    if unshare -m --propagation private true 2>/dev/null; then
        FAULT_PRIVATE_MOUNTS=1 exec unshare -m --propagation private bash ${FAULT_TRACE:+-x} "$0" "$@"
    fi
    echo "no mount namespace of our own; the mount is undone on exit"
fi

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=session.sh
source "$here/session.sh"
# shellcheck source=fault_common.sh
source "$here/fault_common.sh"
started=$SECONDS

dir="$E2E_TMP/full"
mkdir -p "$dir"
unmount() {
    local status=$? pid
    # The program runs from the mount: end it first.
    for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    if mountpoint -q "$dir"; then umount "$dir" || umount -l "$dir" || true; fi
    e2e_cleanup "$status"
}
trap unmount EXIT

# Room for the program and a little more, which the filler then takes up.
program_size=$(stat -c %s "$NUVALORA")
if ! mount -t tmpfs -o size=$((program_size + 262144)),mode=0755 tmpfs "$dir"; then
    echo "SKIP: cannot mount a memory file system here"
    exit 77
fi
cp "$NUVALORA" "$dir/nuvalora"
store="$dir/month.dat"

# A stored list with LF line ends and out of order, so that a save (CR LF,
# sorted) would change it.
perl -e 'srand(5); print 36000 + int(rand(60000)), "\n" for 1 .. 500' >"$store"
cp "$store" "$E2E_TMP/old.dat"
expected_after_save "$store" "$E2E_TMP/expected.dat"
cmp -s "$store" "$E2E_TMP/expected.dat" && fail "a save would not change month.dat"

# Fill the rest to the last byte.
dd if=/dev/zero of="$dir/filler" bs=4096 2>/dev/null || true
available=$(df --output=avail -B1 "$dir" | tail -n 1 | tr -d ' ')
[ "$available" -eq 0 ] || fail "the file system still has $available bytes free"
echo "folder on a full $(df --output=size -h "$dir" | tail -n 1 | tr -d ' ') file system"

others() {
    find "$dir" -mindepth 1 -maxdepth 1 ! -name nuvalora ! -name month.dat ! -name filler
}

start_screen
start_app "$dir"
main=$(wait_main_window "$APP_PID")
error_box_of "$APP_PID" >/dev/null && fail "an error box at start-up"

for attempt in 1 2; do
    request_close "$main"
    box=$(wait_error_box "$APP_PID")
    # Its text ("Cannot create file <path>.") cannot be read back from the
    # screen here; the picture is kept with the test output.
    shot "fault_full_disk_close_box_$attempt"
    # The box is modal: the main window is still there behind it.
    [ "$(main_window_of "$APP_PID")" = "$main" ] || fail "the main window went with the failed close"
    key_in "$box" Return
    for _ in $(seq 100); do
        error_box_of "$APP_PID" >/dev/null || break
        sleep 0.1
    done
    error_box_of "$APP_PID" >/dev/null && fail "the error box did not go after OK"
    # Give a wrongly ending program time to end, then check that it did not.
    sleep 1
    kill -0 "$APP_PID" 2>/dev/null || fail "the program ended after the close failed (attempt $attempt)"
    [ "$(main_window_of "$APP_PID")" = "$main" ] || fail "the main window is gone (attempt $attempt)"
    cmp -s "$store" "$E2E_TMP/old.dat" || fail "month.dat changed by the failed close (attempt $attempt)"
    [ -z "$(others)" ] || fail "the failed close left files behind: $(others)"
    echo "close $attempt on a full disk: error box, window stays, month.dat untouched"
done

# Room again: the next close saves and ends the program.
rm "$dir/filler"
request_close "$main"
wait_exit "$APP_PID" 30 || fail "the program did not end well once there was room"
forget_pid "$APP_PID"
cmp -s "$store" "$E2E_TMP/expected.dat" || fail "month.dat is not the list as loaded"
[ -z "$(others)" ] || fail "files left behind: $(others)"
echo "after freeing space the close saved $(stat -c %s "$store") bytes and the program ended;" \
    "$((SECONDS - started)) s in all"
