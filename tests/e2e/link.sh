#!/usr/bin/env bash
# A real mouse click on the credit line, under Xvfb, with a fake xdg-open that records what it
# was asked to open.
set -euo pipefail
program=$1
work=$(mktemp -d)
trap 'status=$?; stop_melkora; rm -rf "$work"; exit $status' EXIT
. "$(dirname "$0")/lib.sh"

mkdir "$work/bin"
cat >"$work/bin/xdg-open" <<SCRIPT
#!/bin/sh
echo "\$#:\$*" >>"$work/requests"
SCRIPT
chmod +x "$work/bin/xdg-open"

PATH="$work/bin:$PATH" start_melkora "$program"

requests() { [ -f "$work/requests" ] && wc -l <"$work/requests" || echo 0; }
wait_for_requests() {
    for _ in $(seq 50); do
        [ "$(requests)" -ge "$1" ] && return 0
        sleep 0.1
    done
    fail "expected $1 requests, saw $(requests)"
}

# The middle of the credit label, at 96 dpi.
xdotool mousemove --window "$window" 568 352 click 1
wait_for_requests 1
[ "$(cat "$work/requests")" = "1:http://www.melkora.org/" ] ||
    fail "the opener was called as: $(cat "$work/requests")"

sleep 0.6 # past the double-click interval, so the next two presses are one double-click
xdotool mousemove --window "$window" 560 350 click --repeat 2 --delay 80 1
wait_for_requests 2
sleep 0.5
[ "$(requests)" -eq 2 ] || fail "a double-click made $(( $(requests) - 1 )) requests"

# "Second Generation!" beside it is no link.
xdotool mousemove --window "$window" 100 352 click 1
sleep 0.5
[ "$(requests)" -eq 2 ] || fail "a click on another label made a request"

kill -0 "$pid" || fail "the program is gone"
echo "e2e link: 1 passed, 0 failed"
