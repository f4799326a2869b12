#!/usr/bin/env bash
# Checks the built program's PE header: a 32-bit GUI program whose import
# table names only DLLs that every Windows installation has.
set -u -o pipefail
EXE=${1:-build/win32/zentrik.exe}
OBJDUMP=${OBJDUMP:-i686-w64-mingw32-objdump}
SYSTEM_DLLS='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comctl32|comdlg32|winmm|msvcrt)\.dll$'

headers=$("$OBJDUMP" -p "$EXE") || { echo "FAIL exe-headers: cannot read $EXE"; exit 1; }
fail=0
grep -q 'file format pei-i386' <<<"$headers" || { echo "FAIL exe-headers: not a 32-bit PE file"; fail=1; }
grep -Eq '^Subsystem[[:space:]]+00000002' <<<"$headers" || { echo "FAIL exe-headers: not a GUI-subsystem program"; fail=1; }
while read -r dll; do
  if ! tr '[:upper:]' '[:lower:]' <<<"$dll" | grep -Eq "$SYSTEM_DLLS"; then
    echo "FAIL exe-headers: imports $dll, which is not a system DLL"
    fail=1
  fi
done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
[ "$fail" -eq 0 ] && echo "PASS exe-headers: GUI program, imports $(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr '\n' ' ')"
exit "$fail"
