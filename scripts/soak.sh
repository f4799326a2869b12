#!/usr/bin/env bash
# The long run of zentrik.exe under Wine: in a fresh prefix on a private X
# server, the program starts with one entry in each list, then
# zk_e2e_soak.exe works it and prints its private bytes, handles, GDI and
# USER objects and global atoms at the start, after each quarter and at the
# end. Exits non-zero when a figure keeps growing or the run fails.
#
# Usage: scripts/soak.sh [--cycles N] [--presses N] [--menus N] [--kinds K] [--keep]
#   --cycles   add and delete cycles (default 1000)
#   --presses  hotkey presses of each kind (default 10000)
#   --menus    tray menu openings (default 1000)
#   --kinds    which presses, letters of vlp: volume, launch, paste (default vlp)
#   --keep     keep the work folder (prefix and log)
set -u -o pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=tests/e2e/wine_env.sh
. "$ROOT/tests/e2e/wine_env.sh"
WIN_BUILD=$ROOT/$(zk_win_build)
CYCLES=1000
PRESSES=10000
MENUS=1000
KINDS=vlp
KEEP=0
while [ $# -gt 0 ]; do
  case $1 in
    --cycles) CYCLES=$2; shift 2 ;;
    --presses) PRESSES=$2; shift 2 ;;
    --menus) MENUS=$2; shift 2 ;;
    --kinds) KINDS=$2; shift 2 ;;
    --keep) KEEP=1; shift ;;
    -h|--help) sed -n '2,/^set -u/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;;
    *) echo "soak.sh: unknown option $1" >&2; exit 2 ;;
  esac
done

for f in zentrik.exe tests/e2e/zk_e2e_driver.exe tests/e2e/zk_e2e_soak.exe tests/e2e/zk_e2e_args.exe; do
  [ -f "$WIN_BUILD/$f" ] || { echo "soak.sh: $WIN_BUILD/$f not found; build $(zk_win_build) first" >&2; exit 2; }
done

zk_workspace zk-soak || exit 2
cleanup() {
  trap - EXIT INT TERM
  zk_teardown "$KEEP"
  [ "$KEEP" = 1 ] && echo "soak: kept $WORK"
}
trap cleanup EXIT
trap 'echo "soak: interrupted"; exit 3' INT TERM

zk_start_xvfb 800 600 "$WORK" "$LOG" || { echo "soak.sh: Xvfb did not start" >&2; exit 2; }
zk_make_prefix 800 600 "$LOG" || { echo "soak.sh: creating the Wine prefix failed" >&2; exit 2; }
# Without a sound device every volume press meets a failing mixerOpen, which
# costs Wine's winmm some memory each time; a null sink gives it a mixer.
SOUND=1
zk_start_pulse || SOUND=0
APP=$WINEPREFIX/drive_c/Zentrik
mkdir -p "$APP"
cp "$WIN_BUILD/zentrik.exe" "$WIN_BUILD/tests/e2e/zk_e2e_args.exe" "$APP/"
APPDATA_WIN=$(timeout 60 wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')
DATA_DIR=$(timeout 60 winepath -u "$APPDATA_WIN\\Zentrik" 2>/dev/null | tr -d '\r')
[ -n "$DATA_DIR" ] || { echo "soak.sh: no application data folder" >&2; exit 2; }
mkdir -p "$DATA_DIR"
b64() { printf '%s' "$1" | base64 -w0; }
# A launch entry on WinKey+Alt+F2 that starts the parameter recorder, and a
# text entry on WinKey+Ctrl+S.
printf '%s\r\n' "$(b64 Args)|F2|113|$(b64 'C:\Zentrik\zk_e2e_args.exe')|$(b64 soak)" >"$DATA_DIR/znks.ini"
printf '%s\r\n' "$(b64 Text)|S|83|$(b64 'soak text')" >"$DATA_DIR/znks2.ini"

drv() { timeout 60 wine "$WIN_BUILD/tests/e2e/zk_e2e_driver.exe" "$@" 2>>"$LOG" | tr -d '\r'; }
wine 'C:\Zentrik\zentrik.exe' >>"$LOG" 2>&1 &
ZK_PID=$!
if ! drv wait-window TfrmMain Zentrik 30000 >/dev/null || ! drv atom-exists Zentrik_Hotkey78 30000 >/dev/null; then
  echo "soak.sh: zentrik.exe did not start" >&2
  exit 2
fi
sleep 2
if [ "$SOUND" = 1 ] && ! drv mixer-info >/dev/null; then SOUND=0; fi
case $KINDS in
  *v*) [ "$SOUND" = 1 ] || echo "soak: note: no sound device (PulseAudio with a null sink did not come up);" \
    "the volume presses meet a failing mixerOpen, whose cost inside Wine shows as growth" ;;
esac
echo "soak: $CYCLES cycles, $PRESSES presses of each kind, $MENUS menu openings"
START=$(date +%s)
wine "$WIN_BUILD/tests/e2e/zk_e2e_soak.exe" "$CYCLES" "$PRESSES" "$MENUS" "$KINDS" 2>>"$LOG" | stdbuf -oL tr -d '\r'
RC=${PIPESTATUS[0]}
echo "soak: $(($(date +%s) - START)) s"
if ! kill -0 "$ZK_PID" 2>/dev/null; then
  echo "soak: zentrik.exe is no longer running"
  RC=1
fi
case $RC in
  0) echo "soak: PASS" ;;
  1) echo "soak: FAIL (a figure keeps growing)" ;;
  *) echo "soak: FAIL (the run broke off; see the log with --keep)"; tail -5 "$LOG" ;;
esac
exit "$RC"
