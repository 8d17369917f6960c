#!/usr/bin/env bash
# Runs a test program as an ordinary user: root may make files in any folder,
# so what the program does in a folder that refuses a new file can only be
# seen by someone else. Run as root, it runs a copy of the program that the
# user may run, with a home of its own, as nobody: every Debian system has
# that user, and setpriv takes on its identity without a login, so no account
# is made. Otherwise it runs the program as the user who started it.
# usage: as_ordinary_user.sh PROGRAM [ARGUMENT...]
# Sourced, it only sets ORDINARY_USER and AS_ORDINARY_USER, the command that
# runs the command after it as that user.
ORDINARY_USER=nobody
AS_ORDINARY_USER=(setpriv --reuid="$ORDINARY_USER" --regid="$(id -g "$ORDINARY_USER")"
    --clear-groups --)
[ "${BASH_SOURCE[0]}" = "$0" ] || return 0

set -euo pipefail
[ "$(id -u)" -eq 0 ] || exec "$@"
program=$1
shift
copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT
chmod 755 "$copy"
cp "$program" "$copy/"
install -d -m 700 -o "$ORDINARY_USER" "$copy/home"
HOME=$copy/home XDG_RUNTIME_DIR=$copy/home "${AS_ORDINARY_USER[@]}" "$copy/$(basename "$program")" "$@"
