#!/usr/bin/env bash
# The Windows packages under Wine, in a fresh prefix of the test's own: a silent install, what
# it leaves (the program, the Start-menu shortcut, the Apps & Features entry), the installed
# program started, a second install over the first, a silent uninstall and what it leaves; then
# the portable zip's contents. Runs under xvfb-run.
#
#   check_installer.sh <setup.exe> <portable.zip> <stripped Melkora.exe> <version> <publisher>
set -euo pipefail
setup=$1 zip=$2 exe=$3 version=$4 publisher=$5
root=$(cd "$(dirname "$0")/../../.." && pwd)
work=$(mktemp -d)
. "$root/tests/e2e/lib.sh"

export LANG=C LC_ALL=C WINEDEBUG=-all
export WINEPREFIX=$work/prefix
# No menu entries for the host's desktop from the Start-menu shortcut.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
cleanup() {
    status=$?
    wineserver -k 2>/dev/null || true
    rm -rf "$work"
    exit $status
}
trap cleanup EXIT

wine_run() { "$root/scripts/wine-run" "$@"; }
wine_run --check "$setup" || exit
# Waits for every Wine process, the uninstaller's copy of itself in the temporary folder too.
settle() { wineserver -w; }
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Melkora'
value() { # name: the value's data as reg.exe prints it
    wine_run reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' |
        sed -n "s/^ *$1 *REG_[A-Z_]* *//p"
}

echo "== silent install into a fresh prefix"
wine_run "$setup" /S
settle
programs=$(find "$WINEPREFIX/drive_c/users" -path '*/AppData/Local/Programs' | head -n 1)
installed=$programs/Melkora
start_menu=$(find "$WINEPREFIX/drive_c/users" -path '*/Start Menu/Programs' | head -n 1)
cmp "$installed/Melkora.exe" "$exe" || fail "the installed Melkora.exe is not the build's"
[ -f "$installed/LICENSE.txt" ] || fail "no LICENSE.txt"
[ -f "$start_menu/Melkora.lnk" ] || fail "no Start-menu shortcut"
windows_dir=$(wine_run winepath -w "$installed" 2>/dev/null | tr -d '\r')
[ "$(value DisplayName)" = Melkora ] || fail "DisplayName: $(value DisplayName)"
[ "$(value DisplayVersion)" = "$version" ] || fail "DisplayVersion: $(value DisplayVersion)"
[ "$(value Publisher)" = "$publisher" ] || fail "Publisher: $(value Publisher)"
[ "$(value DisplayIcon)" = "$windows_dir\\Melkora.exe,0" ] || fail "DisplayIcon: $(value DisplayIcon)"
[ "$(value UninstallString)" = "\"$windows_dir\\Uninstall.exe\"" ] ||
    fail "UninstallString: $(value UninstallString)"
[ "$(value QuietUninstallString)" = "\"$windows_dir\\Uninstall.exe\" /S" ] ||
    fail "QuietUninstallString: $(value QuietUninstallString)"
[ "$(value NoModify)" = 0x1 ] && [ "$(value NoRepair)" = 0x1 ] || fail "NoModify or NoRepair"
size=$(value EstimatedSize)
[ $((size)) -ge $(($(stat -c %s "$exe") / 1024)) ] || fail "EstimatedSize $size KB is too small"

echo "== the installed program starts; while it runs, a silent uninstall gives up"
wine_run "$installed/Melkora.exe" 2>"$work/stderr" &
timeout 30 xdotool search --sync --onlyvisible --name '^Melkora$' >/dev/null ||
    fail "the installed Melkora.exe showed no window: $(cat "$work/stderr")"
# _?= runs the uninstaller in place, so that its exit code is the run's.
status=0
wine_run "$installed/Uninstall.exe" /S "_?=$windows_dir" || status=$?
[ "$status" -eq 2 ] || fail "the uninstaller went on while Melkora ran (exit code $status)"
cmp "$installed/Melkora.exe" "$exe" && [ "$(value DisplayName)" = Melkora ] ||
    fail "the uninstall that gave up removed something"
wineserver -k
settle

echo "== a second install over the first"
mkdir -p "$programs/Other"
echo "the user's own" >"$programs/Other/notes.txt"
wine_run "$setup" /S
settle
cmp "$installed/Melkora.exe" "$exe" || fail "Melkora.exe after the second install"
[ "$(value DisplayVersion)" = "$version" ] || fail "the entry after the second install"

echo "== silent uninstall"
wine_run "$installed/Uninstall.exe" /S
settle
[ ! -e "$installed" ] || fail "left behind: $(ls -A "$installed")"
[ ! -e "$start_menu/Melkora.lnk" ] || fail "the Start-menu shortcut is left"
wine_run reg query "$key" >/dev/null 2>&1 && fail "the Apps & Features entry is left"
[ -f "$programs/Other/notes.txt" ] || fail "the uninstaller removed a folder of the user's own"

echo "== the portable zip"
listing=$(cd "$work" && cmake -E tar tf "$zip" | sort | paste -sd' ')
[ "$listing" = "LICENSE.txt Melkora.exe README.txt" ] || fail "the zip holds: $listing"
mkdir "$work/zip" && (cd "$work/zip" && cmake -E tar xf "$zip")
cmp "$work/zip/Melkora.exe" "$exe" || fail "the zip's Melkora.exe is not the build's"

echo "Windows packages under Wine: passed"
