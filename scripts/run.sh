#!/usr/bin/env bash
# Builds zentrik.exe (the win32 preset) and runs it under Wine in a virtual
# desktop with a taskbar, where its tray icon appears. Installs what is
# missing first (Debian 12; only that needs root: as another user apt-get is
# called through sudo). Wine runs as the user who called the script: started
# with sudo, the script builds and runs the program as $SUDO_USER. Uses
# $DISPLAY, or starts a private X server (Xvfb) when there is no display.
#
# Wine keeps its files in $WINEPREFIX (default ~/.wine-zentrik-32, created
# on the first run; -64 where 32-bit programs cannot run and a 64-bit build
# of the same sources is shown). The script returns when the program ends (tray menu, Exit)
# or on Ctrl+C.
set -u -o pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
W=1024
H=768

# shellcheck source=scripts/lib/deps.sh
. "$ROOT/scripts/lib/deps.sh"
zk_install_deps || exit 1

# Started with sudo: root was for the packages alone. The rest runs as the
# user who called sudo, so the build folder and the Wine prefix are theirs.
if [ "$(id -u)" -eq 0 ] && [ -n "${SUDO_USER:-}" ] && [ "$SUDO_USER" != root ]; then
  echo "Building and running the program as $SUDO_USER, who called sudo"
  exec runuser -u "$SUDO_USER" -- "$ROOT/scripts/run.sh" "$@"
fi
if [ -e "$ROOT/build" ] && [ ! -w "$ROOT/build" ]; then
  echo "$ROOT/build is not writable by $(id -un) (made by an earlier run as root?); remove it or give it to $(id -un)." >&2
  exit 1
fi

# shellcheck source=tests/e2e/wine_env.sh
. "$ROOT/tests/e2e/wine_env.sh"

cd "$ROOT" || exit 1
echo "Building zentrik.exe (cmake --preset win32)"
cmake --preset win32 >/dev/null || exit 1
cmake --build --preset win32 || exit 1
EXE=$ROOT/build/win32/zentrik.exe
if [ "$(zk_wine_bits)" = 64 ]; then
  # Without the 32-bit Wine (or a kernel that runs 32-bit programs) Wine
  # cannot run the product itself: show the 64-bit build of the same sources.
  if zk_runs_32bit; then
    echo "The 32-bit Wine (wine32:i386) is not installed; building the same program for 64-bit Wine (cmake --preset win64)"
  else
    echo "This machine cannot run 32-bit programs; building the same program for 64-bit Wine (cmake --preset win64)"
  fi
  cmake --preset win64 >/dev/null || exit 1
  cmake --build --preset win64 || exit 1
  EXE=$ROOT/build/win64/zentrik.exe
fi

export WINEPREFIX=${WINEPREFIX:-$HOME/.wine-zentrik-$(zk_wine_bits)}
zk_wine_env

XVFB_PID=""
WINE_PID=""
WORK=$(mktemp -d /tmp/zk-run.XXXXXX)
cleanup() {
  trap - EXIT INT TERM
  if [ -n "$WINE_PID" ]; then
    # The prefix is this script's own: end whatever still runs in it, and
    # let Wine close before its X server goes away.
    kill -0 "$WINE_PID" 2>/dev/null && timeout 30 wineserver -k >/dev/null 2>&1
    timeout 30 wineserver -w >/dev/null 2>&1
  fi
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ -n "${DISPLAY:-}" ] && timeout 10 xdpyinfo >/dev/null 2>&1; then
  echo "Using display $DISPLAY"
else
  zk_start_xvfb "$W" "$H" "$WORK" "$WORK/xvfb.log" || { echo "Xvfb did not start" >&2; exit 1; }
  echo "No display found: started a virtual X server (Xvfb) on $DISPLAY."
  echo "Nothing is visible on your screen. To take a screenshot, run:"
  echo "    DISPLAY=$DISPLAY import -window root zentrik.png"
  echo "To click the tray icon:"
  echo "    DISPLAY=$DISPLAY xdotool mousemove $((W - 10)) $((H - 10)) click 1"
fi

if [ ! -d "$WINEPREFIX" ]; then
  echo "Creating the Wine prefix $WINEPREFIX (first run only, about half a minute)"
  mkdir -p "$(dirname "$WINEPREFIX")" || exit 1
  timeout 300 wineboot -i >>"$WORK/wineboot.log" 2>&1 || { echo "Creating the Wine prefix failed" >&2; exit 1; }
  timeout 120 wineserver -w >/dev/null 2>&1
fi
# The fonts the dialogs are drawn with, also in a prefix made by an earlier run.
zk_link_fonts
echo "Starting zentrik.exe in the Wine desktop \"Zentrik\" (${W}x${H}); end it with Exit on its tray menu or Ctrl+C"
wine explorer "/desktop=Zentrik,${W}x${H}" "$EXE" &
WINE_PID=$!
wait "$WINE_PID"
