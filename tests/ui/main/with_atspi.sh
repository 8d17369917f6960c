#!/usr/bin/env bash
# Runs a test program where a screen reader would meet the program: on a
# virtual X screen, in a D-Bus session whose AT-SPI bus is up, with Qt's
# accessibility switched on as a screen reader switches it on.
set -euo pipefail
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" dbus-run-session -- bash -c '
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null
    QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 exec "$@"' with_atspi "$@"
