#!/usr/bin/env bash
# A CUPS scheduler of the tests' own, so that printing is tried for real
# without touching the system's printers, their jobs or its default printer:
# its configuration, spool, cache and logs in a temporary folder, a socket of
# its own as its one way in, and one cups-pdf queue, PDF, as its default
# printer. Every job comes out as a PDF file in $HOME/PDF of the user who
# sent it, its text readable.
# usage: cups_scheduler.sh start|stop LINK
# start makes LINK (a path in the build folder) lead to the temporary folder;
# the tests then reach the scheduler with CUPS_SERVER=LINK/cups.sock. stop
# ends the scheduler and removes the folder and LINK. Run it as root: the
# cups-pdf backend runs only as root.
set -euo pipefail
action=${1:-} link=${2:-}
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd

fail() {
    echo "cups_scheduler: $*" >&2
    exit 1
}

[ -n "$link" ] || fail "usage: cups_scheduler.sh start|stop LINK"

# Ends the scheduler that LINK leads to, if it is still running, by the
# process id it wrote, once that is seen to be this scheduler.
stop() {
    [ -L "$link" ] || return 0
    local dir pid=""
    dir=$(readlink "$link")
    [ -f "$dir/state/cupsd.pid" ] && pid=$(cat "$dir/state/cupsd.pid")
    if [ -n "$pid" ] && grep -qF "$dir/cupsd.conf" "/proc/$pid/cmdline" 2>/dev/null; then
        kill "$pid"
        for _ in $(seq 100); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
    fi
    rm -rf -- "$dir"
    rm -f -- "$link"
}

start() {
    for tool in /usr/sbin/cupsd lpstat lpadmin; do
        command -v "$tool" >/dev/null || fail "$tool is missing (install cups, cups-client)"
    done
    [ -f "$ppd" ] || fail "$ppd is missing (install printer-driver-cups-pdf)"
    [ "$(id -u)" -eq 0 ] || fail "run as root: the cups-pdf backend runs only as root"
    stop # one left by a run that was cut short

    local dir socket
    dir=$(mktemp -d "${TMPDIR:-/tmp}/nuvalora-cups.XXXXXX")
    # The filters run as lp, and the tests may run as another user.
    chmod 755 "$dir"
    mkdir -p "$dir"/{conf,spool/tmp,cache,state,log}
    ln -sfn "$dir" "$link"
    socket="$link/cups.sock"
    [ "${#socket}" -lt 108 ] || fail "$socket is too long a path for a socket"
    cat >"$dir/cups-files.conf" <<CONF
ServerRoot $dir/conf
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
SystemGroup root
CONF
    # Only the socket, and anyone who reaches it may print and manage queues.
    cat >"$dir/cupsd.conf" <<CONF
Listen $dir/cups.sock
Browsing No
WebInterface No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
    # cups-pdf names each PDF after its job's title and number: numbers from
    # far above the system's own, and new at each start, keep it from
    # writing over a PDF that another scheduler's job, or an earlier run's,
    # left in the same folder.
    printf 'NextJobId %d\n' $((100000000 + (RANDOM << 15 | RANDOM))) >"$dir/cache/job.cache"
    /usr/sbin/cupsd -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" # detaches once listening
    export CUPS_SERVER=$socket
    for _ in $(seq 100); do
        lpstat -r 2>/dev/null | grep -q 'scheduler is running' && break
        sleep 0.1
    done
    lpstat -r 2>/dev/null | grep -q 'scheduler is running' ||
        fail "cupsd did not come up (see $dir/log/error_log)"
    # Jobs reach cups-pdf as PostScript. Made with pdftocairo, that PostScript
    # keeps what each glyph stands for, so the text of a printed job can be
    # read back from its PDF (pdftotext); the other renderers lose it.
    # lpadmin warns that printer drivers are deprecated; the queue works.
    lpadmin -p PDF -v cups-pdf:/ -P "$ppd" -E -o pdftops-renderer-default=pdftocairo 2>&1 |
        grep -v -i deprecated || true
    lpadmin -d PDF
    [ "$(lpstat -d)" = "system default destination: PDF" ] || fail "could not add the queue PDF"
    echo "cups_scheduler: ready at $socket: $(lpstat -d)"
}

case $action in
    start) start ;;
    stop) stop ;;
    *) fail "usage: cups_scheduler.sh start|stop LINK" ;;
esac
