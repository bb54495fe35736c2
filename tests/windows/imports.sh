#!/bin/sh
# The program needs no DLL beyond those every Windows has: its import table
# names only system DLLs (the C runtime msvcrt.dll is one of them).
# Usage: imports.sh OBJDUMP PROGRAM.exe
set -eu
allowed=" kernel32.dll user32.dll gdi32.dll msvcrt.dll ws2_32.dll shell32.dll advapi32.dll ole32.dll "
dlls=$("$1" -p "$2" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
[ -n "$dlls" ] || { echo "no import table read from $2"; exit 1; }
status=0
for dll in $dlls; do
  case "$allowed" in
    *" $dll "*) echo "imports $dll" ;;
    *) echo "imports $dll, which Windows does not ship"; status=1 ;;
  esac
done
exit $status
