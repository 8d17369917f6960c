#!/usr/bin/env bash
# Makes sure a CUPS scheduler is running with a cups-pdf queue named PDF as
# the default printer, so that printing can be tried for real: every job comes
# out as a PDF file in $HOME/PDF of the user who sent it, its text readable. Safe to run again and
# again, and by several people at once; run it as root.
set -euo pipefail

queue=PDF
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd

say() { echo "start-cups: $*"; }
fail() {
    echo "start-cups: $*" >&2
    exit 1
}

scheduler_running() { lpstat -r 2>/dev/null | grep -q 'scheduler is running'; }

for tool in /usr/sbin/cupsd lpstat lpadmin cupsenable cupsaccept; do
    command -v "$tool" >/dev/null || fail "$tool is missing (install cups, cups-client, cups-bsd)"
done
[ -f "$ppd" ] || fail "$ppd is missing (install printer-driver-cups-pdf)"
[ "$(id -u)" -eq 0 ] || fail "run as root: starting cupsd and adding a queue need it"

# One run at a time: two schedulers started together would fight over the
# same socket and spool.
mkdir -p /run/lock
exec 9>/run/lock/nuvalora-start-cups.lock
flock -w 60 9 || fail "another start-cups run holds the lock"

if scheduler_running; then
    say "scheduler already running"
else
    say "starting cupsd"
    mkdir -p /run/cups
    /usr/sbin/cupsd # detaches once it is listening
    for _ in $(seq 1 100); do
        scheduler_running && break
        sleep 0.1
    done
    scheduler_running || fail "cupsd did not come up (see /var/log/cups/error_log)"
fi

if lpstat -p "$queue" >/dev/null 2>&1; then
    say "queue $queue already present"
else
    say "adding queue $queue (cups-pdf)"
    # lpadmin warns that printer drivers are deprecated; the queue works.
    lpadmin -p "$queue" -v cups-pdf:/ -P "$ppd" -E 2>&1 | grep -v -i 'deprecated' || true
    lpstat -p "$queue" >/dev/null 2>&1 || fail "could not add queue $queue"
fi

# Jobs reach cups-pdf as PostScript. Made with pdftocairo, that PostScript
# keeps what each glyph stands for, so the text of a printed job can be read
# back from its PDF (pdftotext); the other renderers lose it.
lpadmin -p "$queue" -o pdftops-renderer-default=pdftocairo

# A queue left stopped or rejecting by an earlier failure would hold jobs back.
cupsenable "$queue"
cupsaccept "$queue"

if [ "$(lpstat -d 2>/dev/null)" != "system default destination: $queue" ]; then
    say "making $queue the default printer"
    lpadmin -d "$queue"
fi
say "ready: $(lpstat -d)"
