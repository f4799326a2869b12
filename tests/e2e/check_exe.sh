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
# Every imported function must be on the list of those that Windows 98 and
# NT 4 have; later ones are looked up at run time.
ALLOWED=${ALLOWED_IMPORTS:-$(dirname "$0")/allowed_imports.txt}
imports=$(awk '/DLL Name:/ { dll = tolower($3); next }
               /^PE File Base|^The Function Table/ { dll = "" }
               dll != "" && NF == 3 && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ { print dll, $3 }' \
          <<<"$headers" | sort -u)
allowed=$(grep -v '^#' "$ALLOWED") || { echo "FAIL exe-headers: cannot read $ALLOWED"; fail=1; }
[ -n "$imports" ] || { echo "FAIL exe-headers: no imported functions found"; fail=1; }
while read -r line; do
  [ -n "$line" ] || continue
  if ! grep -qxF "$line" <<<"$allowed"; then
    echo "FAIL exe-headers: imports ${line#* } from ${line%% *}, which is not on $(basename "$ALLOWED")"
    fail=1
  fi
done <<<"$imports"
[ "$fail" -eq 0 ] && echo "PASS exe-headers: GUI program, $(wc -l <<<"$imports") listed imports from $(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr '\n' ' ')"
exit "$fail"
