#!/usr/bin/env bash
# Without a display the program says so in one line and exits with status 1, leaving no core.
set -uo pipefail
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
ulimit -c unlimited
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" >stdout 2>stderr
status=$?
lines=$(wc -l <stderr)
if [ "$status" -ne 1 ] || [ "$lines" -ne 1 ] || [ -s stdout ] || ls core* >/dev/null 2>&1; then
    echo "FAIL: status $status, $lines lines on stderr:" >&2
    cat stderr >&2
    exit 1
fi
echo "no display: $(cat stderr)"
echo "no display: 1 passed, 0 failed"
