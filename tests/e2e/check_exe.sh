#!/usr/bin/env bash
# Checks the built program's PE header and resources: a 32-bit GUI program
# whose import table names only DLLs that every Windows installation has,
# with ASLR, DEP and terminal-server awareness, no link timestamp, its
# manifest and its version information.
set -u -o pipefail
EXE=${1:-build/win32/zentrik.exe}
OBJDUMP=${OBJDUMP:-i686-w64-mingw32-objdump}
WINDRES=${WINDRES:-i686-w64-mingw32-windres}
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
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

# DllCharacteristics: DYNAMIC_BASE (0x40), NX_COMPAT (0x100) and
# TERMINAL_SERVER_AWARE (0x8000).
dllchar=$(sed -n 's/^DllCharacteristics[[:space:]]*\([0-9a-fA-F]*\).*/\1/p' <<<"$headers")
for flag in 0x40:DYNAMIC_BASE 0x100:NX_COMPAT 0x8000:TERMINAL_SERVER_AWARE; do
  if [ -z "$dllchar" ] || [ $((0x${dllchar:-0} & ${flag%%:*})) -eq 0 ]; then
    echo "FAIL exe-headers: DllCharacteristics ${dllchar:-missing} lacks ${flag#*:}"
    fail=1
  fi
done

# The file header's TimeDateStamp is 0, so the same sources give the same
# bytes whenever they are linked.
u32() { od -An -tu4 -j "$1" -N4 "$EXE" | tr -d ' '; }
pe=$(u32 60)
stamp=$(u32 $((pe + 8)))
[ "$stamp" = 0 ] || { echo "FAIL exe-headers: link timestamp $stamp in the PE header, not 0"; fail=1; }

# The resources, as windres writes them back as a script.
rc=$("$WINDRES" -J coff -i "$EXE" -O rc 2>&1) || { echo "FAIL exe-resources: windres cannot read $EXE"; fail=1; }
# The manifest's text: the RT_MANIFEST block's string lines unquoted.
manifest=$(awk '/^1 24 /{m=1; next} m && /^END/{exit} m && /^  "/' <<<"$rc" |
           sed 's/^  "//; s/\\n"$//; s/"$//; s/""/"/g')
version=$(sed -n 's/^project(Zentrik VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt")
IFS=. read -r v1 v2 v3 v4 <<<"$version"
# require WHAT GREP-OPTION TEXT LINE...: every LINE stands in TEXT.
require() {
  local what=$1 opt=$2 text=$3 want
  shift 3
  for want in "$@"; do
    grep -q"$opt" -- "$want" <<<"$text" || { echo "FAIL exe-resources: $what lacks: $want"; fail=1; }
  done
}
quad="$v1.${v2:-0}.${v3:-0}.${v4:-0}"
require "the manifest" F "$manifest" \
  "<assemblyIdentity type=\"win32\" name=\"Vostel.Zentrik\" version=\"$quad\" processorArchitecture=\"x86\"/>" \
  '<assemblyIdentity type="win32" name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' \
  '<requestedExecutionLevel level="asInvoker" uiAccess="false"/>' \
  '<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">true</dpiAware>' \
  '<dpiAwareness xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings">system</dpiAwareness>'
grep -q '<asmv3:windowsSettings>' <<<"$manifest" ||
  { echo "FAIL exe-resources: the manifest has no asmv3:windowsSettings element"; fail=1; }
# The version information: numbers and strings from CMakeLists.txt's
# version, the copyright line as the About box shows it (\251 is the
# copyright sign).
require "the version information" xF "$rc" \
  " FILEVERSION $v1, ${v2:-0}, ${v3:-0}, ${v4:-0}" \
  " PRODUCTVERSION $v1, ${v2:-0}, ${v3:-0}, ${v4:-0}" \
  '      VALUE "CompanyName", "Vostel Software"' \
  '      VALUE "FileDescription", "Zentrik system-wide hotkeys"' \
  "      VALUE \"FileVersion\", \"$version\"" \
  '      VALUE "InternalName", "zentrik"' \
  '      VALUE "LegalCopyright", L"Copyright \251 2009 Vostel Software"' \
  '      VALUE "OriginalFilename", "zentrik.exe"' \
  '      VALUE "ProductName", "Zentrik"' \
  "      VALUE \"ProductVersion\", \"$version\"" \
  '    VALUE "Translation", 0x409, 1252'

[ "$fail" -eq 0 ] && echo "PASS exe-headers: GUI program, $(wc -l <<<"$imports") listed imports from $(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr '\n' ' '); DllCharacteristics 0x$dllchar, no timestamp, manifest and version $version"
exit "$fail"
