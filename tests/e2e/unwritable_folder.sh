#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# The program run by an ordinary user from a folder that user cannot write.
# With no month.dat there, Close shows the error box and the window stays;
# once the folder is made writable, Close ends the program and month.dat is
# written. With a month.dat the user may write in that folder, Close keeps
# the dates in it, and a write that fails part of the way leaves it whole.
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=session.sh
source "$here/session.sh"
# shellcheck source=planner.sh
source "$here/planner.sh"

# shellcheck source=../common/as_ordinary_user.sh
source "$here/../common/as_ordinary_user.sh"

[ "$(id -u)" -eq 0 ] || { echo "SKIP: needs root to run the program as another user"; exit 77; }
user=$ORDINARY_USER

start_screen
dir=$(install_copy)
# The user may reach the folder and run the program, but not write there.
chmod 711 "$E2E_TMP"
chmod 755 "$dir" "$dir/nuvalora"
home=$(mktemp -d "$E2E_TMP/home.XXXXXX")
chown "$user" "$home"
"${AS_ORDINARY_USER[@]}" test -w "$dir" && fail "$user can write $dir"

# Starts the copy as the user; sets APP_PID, main and program_pid. The local
# X server lets local clients of any user in (no -auth file). FILE_LIMIT
# limits the size of the files it may write, in KiB.
start_as_user() {
    (cd "$dir" && ulimit -f "${FILE_LIMIT:-unlimited}" && exec "${AS_ORDINARY_USER[@]}" env HOME="$home" \
        LANG=en_US.UTF-8 LC_ALL= XDG_RUNTIME_DIR="$home" ./nuvalora) >>"$E2E_TMP/app.log" 2>&1 &
    APP_PID=$!
    E2E_PIDS+=("$APP_PID")
    main=$(wait_main_window)
    program_pid=$(xdotool getwindowpid "$main")
    E2E_PIDS+=("$program_pid")
    [ "$(ps -o user= -p "$program_pid" | tr -d ' ')" = "$user" ] ||
        fail "the program does not run as $user"
}

start_as_user

xdotool key alt+c
box=$(wait_error_box)
shot unwritable-error "$box"
[ -n "$(visible_main_window)" ] || fail "the main window went away with the failed close"
kill -0 "$program_pid" 2>/dev/null || fail "the program ended after the failed close"
[ ! -e "$dir/month.dat" ] || fail "a month.dat appeared in the unwritable folder"
xdotool key Return # OK
wait_error_box_gone
sleep 0.5
kill -0 "$program_pid" 2>/dev/null || fail "the program ended after the error box"
[ -n "$(visible_main_window)" ] || fail "the main window went away after the error box"

chmod 777 "$dir"
# The main window is active again after the error box: Alt+C reaches it.
xdotool key alt+c
status=0
wait_exit "$APP_PID" 30 || status=$?
[ "$status" -eq 0 ] || fail "the program ended with exit code $status"
[ -f "$dir/month.dat" ] || fail "no month.dat after Close in the writable folder"
[ ! -s "$dir/month.dat" ] || fail "month.dat is not empty: $(hexof "$dir/month.dat")"
[ "$(stat -c %U "$dir/month.dat")" = "$user" ] || fail "month.dat was not written by $user"

# The folder closed again, with the user's own month.dat in it: nothing new
# can be made beside the file, but the file itself takes the dates.
chmod 755 "$dir"
printf '36966\r\n' >"$dir/month.dat"
chown "$user" "$dir/month.dat"
"${AS_ORDINARY_USER[@]}" test -w "$dir" && fail "$user can write $dir"
start_as_user
add_first_date
xdotool key alt+c
# The close either ends the program or is refused with the error box.
for _ in $(seq 50); do
    kill -0 "$program_pid" 2>/dev/null || break
    [ -z "$(visible_error_box)" ] || fail "Close was refused with the error box"
    sleep 0.1
done
expect_ended_with_store "$dir" 36966 36994

# Written in place, a month.dat longer than the program may write fails part
# of the way through: the error box comes, the old list stays whole, and
# SIGTERM then ends the program without a box, the old list still whole.
seq 40000 40200 | sed 's/$/\r/' >"$dir/month.dat" # 1407 bytes, all after the date added
cp "$dir/month.dat" "$E2E_TMP/old"
FILE_LIMIT=1 start_as_user
add_first_date
xdotool key alt+c
wait_error_box >/dev/null
cmp -s "$dir/month.dat" "$E2E_TMP/old" || fail "a failed save in place changed month.dat"
xdotool key Return # OK
wait_error_box_gone
kill -TERM "$program_pid"
status=0
wait_exit "$APP_PID" 20 || status=$?
[ "$status" -eq 0 ] || fail "SIGTERM ended the program with exit code $status"
cmp -s "$dir/month.dat" "$E2E_TMP/old" || fail "SIGTERM changed month.dat"
echo "PASS: the failed close kept the window; later closes wrote month.dat, also in place; a failed write in place kept the old list"
