# Shell helpers shared by the end-to-end runner, the soak, the benchmarks and
# the screenshot script: a private X server, a sound device, and a fresh Wine
# prefix whose programs all run in one virtual desktop with a taskbar.
# Source this file; it defines functions only.

# zk_wine_bits: prints 32 when this machine runs Wine's 32-bit loader, the
# normal case, and 64 when it cannot: the kernel runs no 32-bit programs
# (some are built or booted without 32-bit emulation), or the 32-bit Wine
# could not be installed. Then the end-to-end tests run a 64-bit build of
# the same sources (the win64 preset) under the 64-bit Wine. ZK_WINE_BITS
# set beforehand is kept.
zk_wine_bits() {
  if [ -z "${ZK_WINE_BITS:-}" ]; then
    if /usr/lib/wine/wine --version >/dev/null 2>&1; then
      ZK_WINE_BITS=32
    else
      ZK_WINE_BITS=64
    fi
    export ZK_WINE_BITS
  fi
  echo "$ZK_WINE_BITS"
}

# zk_win_build: the build folder whose programs run under this machine's
# Wine: build/win32 or build/win64 (relative to the project root).
zk_win_build() { echo "build/win$(zk_wine_bits)"; }

# The Wine settings every helper uses: a 32-bit prefix (64-bit where 32-bit
# programs cannot run), no debug output, and no download prompts for the
# .NET and HTML engines.
zk_wine_env() {
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  if [ "$(zk_wine_bits)" = 32 ]; then
    export WINEARCH=win32
    return 0
  fi
  export WINEARCH=win64
  # Debian's wine and wineboot commands always pick the 32-bit loader when it
  # is installed; commands of the same names, first on PATH, use the 64-bit
  # one instead.
  local bin=${TMPDIR:-/tmp}/zk-wine64-bin-$(id -u) name
  mkdir -p "$bin" || return 1
  # Each command is made executable before it replaces the old one: other
  # runs on the machine may look it up at any moment.
  printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$bin/wine.tmp.$$"
  chmod 755 "$bin/wine.tmp.$$"
  mv -f "$bin/wine.tmp.$$" "$bin/wine"
  for name in wineboot winepath winecfg regedit; do
    printf '#!/bin/sh\nexec /usr/lib/wine/wine64 %s.exe "$@"\n' "$name" >"$bin/$name.tmp.$$"
    chmod 755 "$bin/$name.tmp.$$"
    mv -f "$bin/$name.tmp.$$" "$bin/$name"
  done
  export WINESERVER=/usr/lib/wine/wineserver64
  case ":$PATH:" in
    *":$bin:"*) ;;
    *) export PATH=$bin:$PATH ;;
  esac
}

# zk_workspace NAME
# A fresh work folder WORK under /tmp with the log LOG and the place of the
# Wine prefix (WINEPREFIX, not created yet); XVFB_PID starts empty.
zk_workspace() {
  WORK=$(mktemp -d "/tmp/$1.XXXXXX") || return 1
  LOG=$WORK/log.txt
  XVFB_PID=""
  export WINEPREFIX=$WORK/prefix
  zk_wine_env
}

# zk_teardown [KEEP]
# Ends Wine and the X server started by zk_start_xvfb, and removes WORK
# unless KEEP is 1.
zk_teardown() {
  zk_wine_stop
  zk_stop_pulse
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
  [ "${1:-0}" = 1 ] || rm -rf "$WORK"
}

# zk_start_xvfb WIDTH HEIGHT WORKDIR LOGFILE
# Starts Xvfb on a free display (Xvfb picks it and reports it through
# -displayfd); sets DISPLAY and XVFB_PID. Returns non-zero when it fails.
# Xvfb runs in a session of its own, so a Ctrl+C at the terminal reaches the
# caller, whose clean-up ends Wine before the X server.
zk_start_xvfb() {
  local w=$1 h=$2 work=$3 log=$4 _
  : >"$work/display"
  setsid Xvfb -displayfd 3 -screen 0 "${w}x${h}x24" -nolisten tcp 3>"$work/display" >>"$log" 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    kill -0 "$XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  [ -s "$work/display" ] || return 1
  export DISPLAY=:$(head -n1 "$work/display")
}

# zk_make_prefix WIDTH HEIGHT LOGFILE
# Creates the prefix named by WINEPREFIX (which must not exist yet) and makes
# its default desktop a virtual desktop of the given size, so every program
# started with plain `wine` shares it and its notification area. Leaves no
# Wine process running.
zk_make_prefix() {
  local w=$1 h=$2 log=$3
  zk_wine_env
  timeout 300 wineboot -i >>"$log" 2>&1 || return 1
  timeout 120 wineserver -w >>"$log" 2>&1
  zk_link_fonts
  timeout 60 wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >>"$log" 2>&1 || return 1
  timeout 60 wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "${w}x${h}" /f \
    >>"$log" 2>&1 || return 1
  # wineboot already started a desktop without these settings.
  zk_wine_stop
}

# zk_link_fonts
# Debian's Wine 8 does not load the TrueType fonts of its data folder
# (/usr/share/wine/fonts, from fonts-wine: Tahoma, Marlett...), only
# fontconfig's and those in C:\windows\Fonts; without them the dialogs
# show a stand-in font and the captions an "r" for the close box. Links
# them into the Fonts folder of the existing prefix WINEPREFIX; linking
# again changes nothing.
zk_link_fonts() {
  local font
  for font in /usr/share/wine/fonts/*.ttf; do
    [ -e "$font" ] && ln -sf "$font" "$WINEPREFIX/drive_c/windows/Fonts/"
  done
  return 0
}

# Ends every Wine process of the prefix and waits for the server to go.
zk_wine_stop() {
  timeout 30 wineserver -k >/dev/null 2>&1
  timeout 30 wineserver -w >/dev/null 2>&1
  return 0
}

# zk_start_pulse / zk_stop_pulse
# A private PulseAudio with a null sink, the sound device Wine's mixer
# needs. Its socket lies in the work folder; PULSE_SERVER points the Wine
# processes started afterwards at it. Returns non-zero when it does not
# come up (as root without a session bus it may not).
PULSE_PID=""
zk_start_pulse() {
  command -v pulseaudio >/dev/null && command -v pactl >/dev/null || {
    printf '%s\n' "pulseaudio or pactl is missing" >>"$LOG"
    return 1
  }
  local dir=$WORK/pulse _
  mkdir -p "$dir" && chmod 700 "$dir" || return 1
  XDG_RUNTIME_DIR=$dir HOME=$dir pulseaudio -n --daemonize=no --exit-idle-time=-1 \
    --use-pid-file=no --disable-shm=yes \
    --load="module-native-protocol-unix socket=$dir/native auth-anonymous=1" >>"$LOG" 2>&1 &
  PULSE_PID=$!
  export PULSE_SERVER=unix:$dir/native
  for _ in $(seq 50); do
    timeout 5 pactl info >/dev/null 2>&1 && break
    sleep 0.2
  done
  if ! timeout 10 pactl load-module module-null-sink >>"$LOG" 2>&1; then
    printf '%s\n' "PulseAudio did not come up" >>"$LOG"
    zk_stop_pulse
    return 1
  fi
}

zk_stop_pulse() {
  if [ -n "$PULSE_PID" ]; then
    kill "$PULSE_PID" 2>/dev/null
    wait "$PULSE_PID" 2>/dev/null
  fi
  PULSE_PID=""
  unset PULSE_SERVER
}
