#!/usr/bin/env bash
# The size of Melkora.exe as it ships, stripped of its debugging sections, against its target,
# and what takes the space: the sections, and the largest pieces of code and data. Either
# architecture's build, with the binary tools of its own.
#
#   exe_size.sh <Melkora.exe>
set -euo pipefail
exe=$1
target_kib=768 # 512 before exact numbers; the big integers take about 115 KiB
case $(x86_64-w64-mingw32-objdump -f "$exe" | sed -n 's/.*file format //p') in
    pei-x86-64) tools=x86_64-w64-mingw32 arch=x64 ;;
    *) tools=i686-w64-mingw32 arch=32-bit ;;
esac
stripped=$(mktemp)
trap 'rm -f "$stripped"' EXIT
$tools-strip --remove-section=.gnu_debuglink -o "$stripped" "$exe"
size=$(stat -c %s "$stripped")
$tools-size -A "$stripped" | awk '$1 ~ /^\./ { printf "  %-10s %6.1f KiB\n", $1, $2 / 1024 }'
echo "largest pieces:"
$tools-nm -C -t d -S --size-sort "$exe" | grep -v ' N ' | tail -n 8 |
    awk '{ name = $4; for (i = 5; i <= NF; ++i) name = name " " $i
           printf "  %6.1f KiB  %s\n", $2 / 1024, substr(name, 1, 90) }'
kib=$(((size + 1023) / 1024))
if [ "$kib" -le "$target_kib" ]; then verdict=met; else verdict=MISSED; fi
echo "Melkora.exe ($arch) stripped: $kib KiB (target $target_kib KiB): $verdict"
[ "$verdict" = met ]
