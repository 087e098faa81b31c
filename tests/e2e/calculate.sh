#!/usr/bin/env bash
# A user's first calculation, through the real program under Xvfb: type two vectors, press
# Enter, copy the results out of the locked fields, and look at the window.
#
#   calculate.sh [emulator...] <program>
set -euo pipefail
work=$(mktemp -d)
trap 'status=$?; stop_melkora; rm -rf "$work"; exit $status' EXIT
. "$(dirname "$0")/lib.sh"

start_melkora "$@"

# The focus starts in a; Tab walks a..f.
for value in 1 2 3 4 5 6; do
    xdotool type --delay 30 "$value"
    xdotool key Tab
done
# The focus is in x now. Enter runs Calculate there too, and leaves the focus in place.
xdotool key Return
x=$(copy_focused_field)
xdotool key Tab
y=$(copy_focused_field)
xdotool key Tab
z=$(copy_focused_field)
[ "$x,$y,$z" = "-3,6,-3" ] || fail "results read $x,$y,$z, expected -3,6,-3"

# Typing into a locked field changes nothing.
xdotool type --delay 30 "99"
[ "$(copy_focused_field)" = "-3" ] || fail "typing changed the locked field z"

import -window "$window" "$work/shot.png"
size=$(identify -format '%wx%h' "$work/shot.png")
[ "$size" = "680x371" ] || fail "client area is $size, expected 680x371"
expect_pixel "$work/shot.png" 5 5 "srgb(255,255,255)"     # window background
expect_pixel "$work/shot.png" 600 30 "srgb(128,128,255)"  # the title bar
expect_pixel "$work/shot.png" 128 250 "srgb(128,128,255)" # left edge of the result frame
expect_pixel "$work/shot.png" 660 360 "srgb(255,255,255)" # bottom right corner

# The window manager is handed the icon.
icons=$(xprop -id "$window" _NET_WM_ICON)
grep -q 'Icon (16 x 16)' <<<"$icons" || fail "no 16 x 16 icon in _NET_WM_ICON"

echo "e2e calculate: 1 passed, 0 failed"
