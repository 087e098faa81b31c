#!/usr/bin/env bash
# Melkora.exe under Wine, on the virtual X server that xvfb-run gives: real keys and clicks from
# xdotool, and the fields and boxes read back by melkora_probe.exe in the same Wine prefix.
#
#   melkora.sh <Melkora.exe> <melkora_probe.exe> <win32|win64>
set -euo pipefail
exe=$1
probe_exe=$2
arch=$3
root=$(cd "$(dirname "$0")/../../.." && pwd)
wine_run=$root/scripts/wine-run
"$wine_run" --check "$exe" || exit
work=$(mktemp -d)
. "$root/tests/e2e/lib.sh"

# Every Wine process of the test reads its number symbols from the same settings.
export LANG=C LC_ALL=C
export WINEDEBUG=-all
# The build's own prefix, beside the folder that holds the program.
WINEPREFIX=$(cd "$(dirname "$exe")/.." && pwd)/wineprefix
export WINEPREFIX
# Wine draws the frames and sets the X focus itself, so that no window manager is needed.
"$wine_run" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null

cleanup() {
    status=$?
    wineserver -k 2>/dev/null || true
    rm -rf "$work"
    exit $status
}
trap cleanup EXIT

# A window of its own keeps Wine's desktop process alive between the programs, so that it is
# not started anew under the environment of the one that runs without shell32. It is started
# (and waited for) first, so that it cannot take the activation from Melkora's window later.
keep_desktop() {
    "$wine_run" start /min notepad >/dev/null 2>&1
    xdotool search --sync --name 'Notepad' >/dev/null
}
keep_desktop

probe() { "$wine_run" "$probe_exe" "$@"; }
fields() { probe fields | paste -sd' '; }
box() { probe box | paste -sd'|'; }
report() { probe box | tail -n 1; }
expect() { [ "$2" = "$3" ] || fail "$1: got '$2', expected '$3'"; }
# What a key does shows when Wine has passed it on, which under load, or under qemu-user, takes
# its time: the reading is repeated until it is the one expected, for two minutes at most.
eventually() { # what, expected, reading...
    local what=$1 expected=$2 seen=
    shift 2
    for _ in $(seq 600); do
        seen=$("$@") && [ "$seen" = "$expected" ] && return 0
        sleep 0.2
    done
    fail "$what: got '$seen', expected '$expected'"
}
set_fields() { # a b c d e f
    local i=0
    for text in "$@"; do probe set $i "$text"; i=$((i + 1)); done
}

mkdir "$work/bin"
printf '#!/bin/sh\necho "$#:$*" >>"%s/requests"\n' "$work" >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
requests() { [ -f "$work/requests" ] && wc -l <"$work/requests" || echo 0; }

start() { # [environment...]
    env "$@" PATH="$work/bin:$PATH" "$wine_run" "$exe" 2>"$work/stderr" &
    for _ in $(seq 600); do probe origin >/dev/null 2>&1 && break; sleep 0.2; done
    read -r left top < <(probe origin) || fail "no window appeared: $(cat "$work/stderr")"
    window=$(xdotool search --onlyvisible --name '^Melkora$' | head -n 1)
    # Until Wine has activated the window, no control of it has the focus.
    for _ in $(seq 100); do
        xdotool windowraise "$window" windowfocus --sync "$window"
        [ -n "$(probe focus)" ] && break
        sleep 0.2
    done
}
click() { xdotool mousemove $((left + $1)) $((top + $2)) click "${@:3}" 1; }
quit() {
    xdotool key alt+F4
    for _ in $(seq 600); do probe origin >/dev/null 2>&1 || break; sleep 0.2; done
}

start
expect "client area at 96 dpi" "$(probe size)" "680 371"
expect "fields at start" "$(fields)" "        "
expect "focus at start" "$(probe focus)" 0
expect "no box at start" "$(probe box)" ""
# What a screen reader says for each field (through oleacc, as Narrator and NVDA ask it).
i=0
for vector in "First vector" "Second vector" "Cross product"; do
    role=input
    [ "$vector" = "Cross product" ] && role=result
    for axis in x y z; do
        expect "name of field $i" "$(probe name $i)" "$vector, $axis component, $role"
        i=$((i + 1))
    done
done

# The worked example, typed, and Enter in f; a screen reader in another process hears the
# results from the live region, while the focus stays in f.
for value in 1 2 3 4 5; do xdotool type "$value"; xdotool key Tab; done
xdotool type 6
probe hear 3000 >"$work/heard" &
listener=$!
for _ in $(seq 1200); do [ -s "$work/heard" ] && break; sleep 0.1; done
xdotool key Return
wait "$listener"
expect "worked example" "$(fields)" "1 2 3 4 5 6 -3 6 -3"
expect "announcement" "$(sed 1d "$work/heard")" "Cross product: -3, 6, -3"
expect "Enter leaves the focus" "$(probe focus)" 5

# A bad d lets x be written and stops at y; the report is over the window as the run left it.
set_fields 1 2 3 four 5 6
probe set 6 old
probe set 7 old
xdotool key Return
eventually "report" 'Melkora|Type mismatch: field d holds "four", which is not a number.' box
expect "stop point" "$(fields)" "1 2 3 four 5 6 -3 old -3"
xdotool key Return
eventually "report dismissed" "" box
eventually "focus back after the report" 5 probe focus

# An overflowing product, by Alt+C.
set_fields 0 1e200 0 0 0 1e200
xdotool key alt+c
eventually "overflow report" \
    "Overflow: the result for x is too large for a number this program can hold." report
xdotool key Return
eventually "overflow report dismissed" "" box

# The locked fields take the focus and refuse edits; Enter and Alt+C there still calculate.
set_fields 1 2 3 4 5 6
xdotool key Return Tab
eventually "Tab from f" 6 probe focus
probe set 6 old
xdotool type 7
xdotool key BackSpace Delete ctrl+v
expect "locked x" "$(fields)" "1 2 3 4 5 6 old 6 -3"
xdotool key alt+c
eventually "Alt+C in x" "1 2 3 4 5 6 -3 6 -3" fields
expect "Alt+C leaves the focus" "$(probe focus)" 6

# Space on the button calculates; Esc does nothing.
xdotool key Tab Tab Tab
eventually "Tab to the button" 9 probe focus
probe set 8 old
# Keys arrive in order: once the Tab after Esc has moved the focus, Esc has had its say.
xdotool key Escape Tab
eventually "Tab after Esc" 0 probe focus
expect "Esc" "$(fields)" "1 2 3 4 5 6 -3 6 old"
xdotool key shift+Tab
eventually "back to the button" 9 probe focus
xdotool key space
eventually "Space on the button" "1 2 3 4 5 6 -3 6 -3" fields

# The credit label at 96 dpi: one request a click, one for a double-click, none elsewhere.
click 568 352
eventually "a request for the click" 1 requests
expect "link request" "$(cat "$work/requests" 2>/dev/null)" "1:http://www.melkora.org/"
sleep 0.6 # beyond the double-click time: two clicks, not one double-click
click 560 350 --repeat 2 --delay 80
eventually "a request for the double-click" 2 requests
click 100 352
sleep 1 # for a request that must not come
expect "requests after a click, a double-click and a click elsewhere" "$(requests)" 2
expect "no box after the link" "$(probe box)" ""

if [ -n "${MELKORA_SCREENSHOT:-}" ]; then import -window "$window" "$MELKORA_SCREENSHOT"; fi

# Alt+F4 ends the program.
quit
probe origin >/dev/null 2>&1 && fail "Alt+F4 left the window open"

# Without shell32 the program still starts, and a click on the link reports it. Under 64-bit
# Wine nothing starts without shell32, Wine's own desktop process included, so this is the
# 32-bit build's road alone.
if [ "$arch" = win32 ]; then
    start WINEDLLOVERRIDES="mscoree,mshtml=;shell32=d"
    click 568 352
    eventually "shell32 missing" \
        "Function not found: ShellExecuteA could not be found. It comes with shell32.dll; please install shell32.dll." \
        report
    xdotool key Return
    quit
fi

# At 144 dpi the same twips make half as many pixels again, fonts included. The setting holds
# for programs started after it, and is put back for the next run in this prefix.
# Wine reads it when its server and desktop start, so they are started anew.
"$wine_run" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null
trap '"$wine_run" reg delete "HKCU\\Control Panel\\Desktop" /v LogPixels /f >/dev/null 2>&1; cleanup' EXIT
wineserver -k
wineserver -w
keep_desktop
start
expect "client area at 144 dpi" "$(probe size)" "1020 557"
set_fields 1 2 3 4 5 6
xdotool key Return
eventually "worked example at 144 dpi" "1 2 3 4 5 6 -3 6 -3" fields
if [ -n "${MELKORA_SCREENSHOT_144:-}" ]; then import -window "$window" "$MELKORA_SCREENSHOT_144"; fi
quit

# Numbers follow the regional settings, which Wine takes from LANG (no Unix locale needed):
# German reads and writes a decimal comma.
export LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8 2>/dev/null
start
set_fields 1,5 2 3 4 5 6
xdotool key Return
eventually "German decimal comma" "1,5 2 3 4 5 6 -3 3 -0,5" fields
quit

echo "e2e Melkora.exe ($arch) under Wine: passed"
