# Helpers for the end-to-end tests, which run under xvfb-run: start the real program, wait for
# its window, read pixels of a screenshot.

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Starts the program given as $@ and waits until its window is mapped; sets $pid and $window.
start_melkora() {
    "$@" 2>"$work/stderr" &
    pid=$!
    window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Melkora$' | head -n 1) ||
        fail "no window appeared; stderr: $(cat "$work/stderr")"
    xdotool windowfocus --sync "$window"
    sleep 0.3
}

stop_melkora() {
    if [ -n "${pid:-}" ]; then
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    fi
    pid=
}

# The colour of the pixel at x, y of a screenshot, as "srgb(r,g,b)".
pixel_at() {
    convert "$1" -format "%[pixel:p{$2,$3}]" info: 2>/dev/null
}

expect_pixel() {
    local shot=$1 x=$2 y=$3 want=$4 got
    got=$(pixel_at "$shot" "$x" "$y")
    [ "$got" = "$want" ] || fail "pixel ($x, $y) is $got, expected $want"
}

# The text of the field that has the focus, by select-all and copy, read off the clipboard once
# the program has put it there: the clipboard holds a marker until then. The program handles the
# keys in the order they come, so whatever was typed before is in the field by then.
copy_focused_field() {
    local marker="(nothing copied yet: $RANDOM)" text
    printf '%s' "$marker" | xclip -selection clipboard
    await_clipboard = "$marker" || fail "the clipboard cannot be set"
    xdotool key --clearmodifiers ctrl+a ctrl+c
    await_clipboard != "$marker" || fail "nothing was copied from the focused field"
    printf '%s\n' "$text"
}

# Reads the clipboard into $text until it is (=) or is no longer (!=) the marker, for up to 10 s.
await_clipboard() {
    local deadline=$((SECONDS + 10))
    while text=$(timeout 5 xclip -o -selection clipboard 2>/dev/null || true)
          [ ! "$text" "$1" "$2" ]; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.05
    done
}
