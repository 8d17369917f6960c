#!/usr/bin/env bash
# Runs a test program as an ordinary user: root may make files in any folder,
# so what the program does in a folder that refuses a new file can only be
# seen by someone else. Run as root, it uses the user nuvalora-test (made when
# missing), a copy of the program that user may run and a home of its own;
# otherwise it runs the program as the user who started it.
# usage: as_ordinary_user.sh PROGRAM [ARGUMENT...]
set -euo pipefail
[ "$(id -u)" -eq 0 ] || exec "$@"
user=nuvalora-test
if ! id "$user" >/dev/null 2>&1; then
    useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin "$user"
fi
program=$1
shift
copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT
chmod 755 "$copy"
cp "$program" "$copy/"
install -d -m 700 -o "$user" "$copy/home"
HOME=$copy/home XDG_RUNTIME_DIR=$copy/home runuser -u "$user" -- "$copy/$(basename "$program")" "$@"
