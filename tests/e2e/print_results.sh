#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# Print Results through the real print dialog to the default printer, the
# cups-pdf queue of the tests' own CUPS scheduler: the PDF that comes out,
# named after the job, holds the report's lines. The print dialog's texts
# answer a screen reader's every question about them at once.
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=session.sh
source "$here/session.sh"
# shellcheck source=planner.sh
source "$here/planner.sh"

# Never the system's printers: whatever this prints would come out there.
[[ ${CUPS_SERVER:-} == /* ]] ||
    fail "CUPS_SERVER names no scheduler of the tests' own: run this test through ctest"
[ "$(lpstat -d 2>&1)" = "system default destination: PDF" ] ||
    fail "the tests' CUPS scheduler has no default queue PDF: $(lpstat -d 2>&1)"
# cups-pdf writes into $HOME/PDF of the job's owner.
pdf_dir="$(getent passwd "$(id -un)" | cut -d: -f6)/PDF"

start_screen
start_atspi_bus
dir=$(install_copy)
start_app "$dir"
main=$(wait_main_window)

add_first_date # 13 April 2001
# A length of its own, so that this job's PDF is told apart from other jobs
# printed on the same queue.
press_button "$main" setlength
wait_window '^Length of Cycle$' >/dev/null
length=37
xdotool type --delay 50 "$length"
xdotool key Return
wait_gone '^Length of Cycle$'
report=$(report_text manual "$length" 36994)
expect_results_text "$main" "$report"

touch "$E2E_TMP/before-print"
sleep 1 # file times in whole seconds on some file systems
press_button "$main" print
dialog=$(wait_window '^Print$')
shot print-dialog "$dialog"
/usr/bin/python3 "$here/atspi.py" texts Print || fail "the print dialog's texts did not answer"
xdotool key Return # Print
wait_gone '^Print$' 30

# pdftotext keeps the words but not always the runs of blanks between them,
# and ends each page with a form feed.
squeeze() { tr -d '\f' | tr -s ' \t' ' ' | sed 's/^ //; s/ $//' | grep -v '^$' || true; }
want=$(printf '%s\n' "$report" | squeeze)
found=""
for _ in $(seq 120); do
    while IFS= read -r -d '' pdf; do
        text=$(pdftotext -layout "$pdf" - 2>/dev/null | squeeze) || continue
        [ "$text" = "$want" ] && { found=$pdf; break; }
    done < <(find "$pdf_dir" -maxdepth 1 -name 'Nuvalora_Sex_Plan*.pdf' -newer "$E2E_TMP/before-print" -print0 2>/dev/null)
    [ -n "$found" ] && break
    sleep 0.5
done
if [ -z "$found" ]; then
    ls -la "$pdf_dir" >&2 || true
    lpstat -W all -o >&2 || true
    fail "no PDF of the job 'Nuvalora Sex Plan' holding the report within 60s"
fi
# Kept with the other pictures, and taken off the shared output folder.
cp "$found" "$E2E_OUT/printed-results.pdf"
rm -f "$found"

xdotool key alt+c
status=0
wait_exit "$APP_PID" 30 || status=$?
[ "$status" -eq 0 ] || fail "the program ended with exit code $status"
echo "PASS: printed to $(basename "$found") with the report's lines"
