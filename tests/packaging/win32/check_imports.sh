#!/usr/bin/env bash
# Melkora.exe imports nothing but the four system DLLs every Windows has: the compiler's runtime
# is linked in, and whatever else it uses (shell32, COM, oleacc, UI Automation) is bound by name
# when first needed, so that the program starts where those are missing. And it is hardened:
# loaded at a random address (high-entropy on x64), its data never run as code, its stack
# guarded.
#
#   check_imports.sh <Melkora.exe>
set -euo pipefail
fail() { echo "FAIL: $*" >&2; exit 1; }
headers=$(x86_64-w64-mingw32-objdump -p "$1")
imports=$(sed -n 's/^\tDLL Name: //p' <<<"$headers" | tr a-z A-Z | sort | paste -sd' ')
[ "$imports" = "GDI32.DLL KERNEL32.DLL MSVCRT.DLL USER32.DLL" ] ||
    fail "Melkora.exe imports $imports"
echo "Melkora.exe imports: $imports"

# DYNAMIC_BASE, NX_COMPAT, and HIGH_ENTROPY_VA where the program is 64-bit.
characteristics=$((16#$(sed -n 's/^DllCharacteristics\t//p' <<<"$headers")))
wanted=$((0x40 | 0x100))
grep -q '^Magic.*PE32+' <<<"$headers" && wanted=$((wanted | 0x20))
[ $((characteristics & wanted)) -eq $wanted ] ||
    fail "Melkora.exe's DllCharacteristics are $(printf %#x $characteristics), not all of $(printf %#x $wanted)"
symbols=$(x86_64-w64-mingw32-nm "$1")
grep -Eq ' T _?__stack_chk_fail$' <<<"$symbols" ||
    fail "Melkora.exe has no stack protector"
echo "Melkora.exe is hardened: DllCharacteristics $(printf %#x $characteristics), stack protector"
