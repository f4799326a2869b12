#!/usr/bin/env bash
# Takes screenshots of zentrik.exe running under Wine in a virtual desktop on
# a private X server (Xvfb), with a fresh Wine prefix, as a new user sees it:
#   01-start.png  right after the start: the tray icon and its balloon
#   02-menu.png   the tray menu, opened by a left click on the icon
#   03-add.png    the add dialog of list I ("Add/Delete Hotkey I", "Add...")
#   04-add2.png   the add dialog of list II, with a two-line text
#   05-delete.png the delete dialog of list I, with its two entries
#   06-about.png  the About box
# The lists hold two entries each, so the menu shows user entries too.
# Each picture is cut to what it shows (the dialogs stand in the middle of
# the screen, the menu and the balloon at its bottom right).
#
# Usage: scripts/screenshots.sh [--dpi N] [OUTDIR]   (default: build/screenshots)
# --dpi N (or ZK_DPI=N) runs the program at that system DPI: the screen and
# the cut-out areas grow with it, and the names get "-Ndpi" before ".png"
# (03-add-144dpi.png). Without it, or with 96, the pictures are at 96 DPI.
# The program and the test driver come from the win32 build (win64 where
# 32-bit programs cannot run; built first when missing); ZK_EXE and ZK_DRIVER
# name other files.
set -u -o pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
DPI=${ZK_DPI:-96}
if [ "${1:-}" = --dpi ]; then
  DPI=${2:-}
  shift 2 || shift
fi
case $DPI in
  '' | *[!0-9]* | 0*) echo "screenshots: --dpi takes a whole number, such as 144" >&2; exit 2 ;;
esac
OUT=${1:-$ROOT/build/screenshots}
# shellcheck source=tests/e2e/wine_env.sh
. "$ROOT/tests/e2e/wine_env.sh"
PRESET=$(basename "$(zk_win_build)")
EXE=${ZK_EXE:-$ROOT/build/$PRESET/zentrik.exe}
DRIVER=${ZK_DRIVER:-$ROOT/build/$PRESET/tests/e2e/zk_e2e_driver.exe}
# px N: N pixels at 96 DPI, at the chosen DPI.
px() { echo $(($1 * DPI / 96)); }
W=$(px 800)
H=$(px 600)
SUFFIX=$([ "$DPI" = 96 ] || echo "-${DPI}dpi")

if [ ! -f "$EXE" ] || [ ! -f "$DRIVER" ]; then
  echo "screenshots: building the $PRESET preset"
  (cd "$ROOT" && cmake --preset "$PRESET" >/dev/null && cmake --build --preset "$PRESET") || exit 1
fi

mkdir -p "$OUT" || exit 1
OUT=$(cd "$OUT" && pwd)
zk_workspace zk-shots || exit 1

cleanup() {
  trap - EXIT INT TERM
  zk_teardown
}
trap cleanup EXIT
trap 'exit 3' INT TERM

die() {
  echo "screenshots: $*" >&2
  [ -s "$LOG" ] && tail -n 20 "$LOG" >&2
  exit 1
}

zk() { timeout 60 wine "$DRIVER" "$@" 2>>"$LOG" | tr -d '\r' >>"$LOG"; return "${PIPESTATUS[0]}"; }

# shot FILE [GEOMETRY]: the screen, or the part of it that GEOMETRY names;
# FILE gets the DPI's suffix.
shot() {
  local file=${1%.png}$SUFFIX.png
  timeout 30 import -window root ${2:+-crop "$2" +repage} "$OUT/$file" || die "import failed for $file"
  echo "screenshots: $OUT/$file"
}
# The dialogs stand in the middle of the screen.
DIALOG_AREA=$(px 460)x$(px 320)+$(((W - $(px 460)) / 2))+$(((H - $(px 320)) / 2))
MENU_AREA=$(px 330)x$((H - $(px 40)))+$((W - $(px 330)))+$(px 40)
BALLOON_AREA=$(px 420)x$(px 160)+$((W - $(px 420)))+$((H - $(px 160)))

zk_start_xvfb "$W" "$H" "$WORK" "$LOG" || die "Xvfb did not start"
echo "screenshots: display $DISPLAY, $DPI DPI, preparing a Wine prefix"
zk_make_prefix "$W" "$H" "$LOG" || die "creating the Wine prefix failed"
if [ "$DPI" != 96 ]; then
  timeout 60 wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$DPI" /f >>"$LOG" 2>&1 ||
    die "setting the DPI failed"
  zk_wine_stop
fi
mkdir -p "$WINEPREFIX/drive_c/Zentrik"
cp "$EXE" "$WINEPREFIX/drive_c/Zentrik/zentrik.exe"

# Two entries in each list: Notepad (WinKey+Alt+N) and Windows Directory
# (WinKey+Alt+W); Thank you (WinKey+Ctrl+T) and Signature (WinKey+Ctrl+S).
APPDATA_WIN=$(timeout 60 wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')
DATA_DIR=$(timeout 60 winepath -u "$APPDATA_WIN\\Zentrik" 2>/dev/null | tr -d '\r')
[ -n "$APPDATA_WIN" ] && [ -n "$DATA_DIR" ] || die "cannot find the application data folder"
mkdir -p "$DATA_DIR"
b64() { printf '%s' "$1" | base64 -w0; }
printf '%s|N|78|%s|\r\n%s|W|87|%s|%s' "$(b64 Notepad)" "$(b64 'C:\WINDOWS\notepad.exe')" \
  "$(b64 'Windows Directory')" "$(b64 explorer)" "$(b64 'C:\WINDOWS')" >"$DATA_DIR/znks.ini"
printf '%s|T|84|%s\r\n%s|S|83|%s' "$(b64 'Thank you')" "$(b64 'Thank you for using Zentrik!')" \
  "$(b64 Signature)" "$(b64 $'Best regards,\r\nA. Tester')" >"$DATA_DIR/znks2.ini"
zk_wine_stop

# Keep the pointer off the taskbar so no tool tip covers the balloon.
xdotool mousemove $((W / 2)) $((H / 2))
timeout 300 wine 'C:\Zentrik\zentrik.exe' >>"$LOG" 2>&1 &
PROGRAM_PID=$!
zk wait-window TfrmMain Zentrik 30000 || die "the program did not start"
zk atom-exists Zentrik_Hotkey78 30000 || die "the program did not finish starting"
sleep 2
shot 01-start.png "$BALLOON_AREA"

# The balloon closes by itself after ten seconds.
for _ in $(seq 40); do
  [ "$(timeout 60 wine "$DRIVER" count-windows tooltips_class32 '*' visible | tr -d '\r')" = 0 ] && break
  sleep 0.5
done

# A real left click on the icon, the only one in the taskbar's corner.
xdotool mousemove $((W - $(px 10))) $((H - $(px 10))) click 1
zk wait-menu 10000 || die "the tray menu did not open"
xdotool mousemove $((W - 10)) 10  # no tool tip over the menu
sleep 1
shot 02-menu.png "$MENU_AREA"

# The two add dialogs, opened with the keyboard from the tray menu: the
# submenus are the twelfth item and, after the two entries of list I, the
# fifteenth.
add_dialog() {
  local downs=$1 cls=$2 file=$3 i
  zk tray-click 0x202 || die "the tray callback opened no menu"
  zk wait-menu 10000 || die "the tray menu did not open"
  for ((i = 0; i < downs; i++)); do zk press-key down; done
  zk press-key right enter
  zk wait-visible "$cls" Add 10000 || die "$cls did not open"
  shift 3
  "$@"
  sleep 1
  shot "$file" "$DIALOG_AREA"
  zk press-hotkey 1 0x73  # Alt+F4: the close box
  zk wait-no-window "$cls" '*' 10000 || die "$cls did not close"
}
fill_add() { zk type-text Notepad && zk press-key tab && zk type-text 'C:\WINDOWS\notepad.exe'; }
fill_add2() {
  zk type-text 'Thank you' && zk press-key tab && zk type-text 'Thank you for using' &&
    zk press-key enter && zk type-text 'Zentrik!'
}
add_dialog 12 TfrmAdd 03-add.png fill_add
add_dialog 15 TfrmAdd2 04-add2.png fill_add2

# The delete dialog of list I ("Delete...", below "Add..."), left with
# Cancel; and the About box, "&About..." on the menu, left with Enter.
zk tray-click 0x202 || die "the tray callback opened no menu"
zk wait-menu 10000 || die "the tray menu did not open"
for ((i = 0; i < 12; i++)); do zk press-key down; done
zk press-key right down enter
zk wait-visible TfrmDel Delete 10000 || die "TfrmDel did not open"
sleep 1
shot 05-delete.png "$DIALOG_AREA"
zk press-key tab tab space  # Cancel
zk wait-no-window TfrmDel '*' 10000 || die "TfrmDel did not close"
zk tray-click 0x202 || die "the tray callback opened no menu"
zk wait-menu 10000 || die "the tray menu did not open"
zk press-key a
zk wait-visible TfrmAbout About 10000 || die "TfrmAbout did not open"
sleep 1
shot 06-about.png "$DIALOG_AREA"
zk press-key enter
zk wait-no-window TfrmAbout '*' 10000 || die "TfrmAbout did not close"

# Leave through the menu's Exit item.
zk tray-click 0x202 || die "the tray callback opened no menu"
zk wait-menu 10000 || die "the tray menu did not open"
zk press-key e
for _ in $(seq 100); do
  kill -0 "$PROGRAM_PID" 2>/dev/null || break
  sleep 0.1
done
