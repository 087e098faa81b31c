#!/usr/bin/env bash
# Melkora.exe imports nothing but the four system DLLs every Windows has: the compiler's runtime
# is linked in, and whatever else it uses (shell32, COM, oleacc, UI Automation) is bound by name
# when first needed, so that the program starts where those are missing.
#
#   check_imports.sh <Melkora.exe>
set -euo pipefail
imports=$(x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\tDLL Name: //p' | tr a-z A-Z | sort |
    paste -sd' ')
[ "$imports" = "GDI32.DLL KERNEL32.DLL MSVCRT.DLL USER32.DLL" ] || {
    echo "FAIL: Melkora.exe imports $imports" >&2
    exit 1
}
echo "Melkora.exe imports: $imports"
