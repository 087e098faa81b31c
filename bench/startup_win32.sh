#!/usr/bin/env bash
# Melkora.exe's start-up under Wine against the bare Win32 floor window, both started through
# scripts/wine-run in the build's own prefix with the wineserver kept running, so that what is
# measured is the program and not Wine's own start. Run under Xvfb (scripts/run-benchmarks does).
#
# Wine's start-up times scatter (quartiles about ±10%), so a tenth shows only over 45 starts
# or more, the default here. Either architecture's build, with the floor of its own.
#
#   startup_win32.sh <melkora_bench_startup> <Melkora.exe> <melkora_floor_window.exe> [runs]
set -euo pipefail
bench=$1 exe=$2 floor=$3 runs=${4:-45}
root=$(cd "$(dirname "$0")/.." && pwd)
wine_run=$root/scripts/wine-run
"$wine_run" --check "$exe" || exit
if "$wine_run" --emulated "$exe"; then
    echo "32-bit programs run under qemu-user here, 2-3 times slower: not comparable; skipped"
    exit 77
fi

export LANG=C LC_ALL=C WINEDEBUG=-all
WINEPREFIX=$(cd "$(dirname "$exe")/.." && pwd)/wineprefix
export WINEPREFIX
# Wine draws the frames itself, so that no window manager is needed, and a window of its own
# keeps Wine's desktop process alive between the starts.
"$wine_run" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null
wineserver -w
wineserver -p
trap 'wineserver -k 2>/dev/null || true' EXIT
"$wine_run" start /min notepad >/dev/null 2>&1
xdotool search --sync --name 'Notepad' >/dev/null

"$bench" --launcher "$wine_run" "$exe" "$floor" "$runs"
