# Shell helpers shared by the end-to-end runner and the screenshot script:
# a private X server and a fresh Wine prefix whose programs all run in one
# virtual desktop with a taskbar. Source this file; it defines functions only.

# The Wine settings every helper uses: a 32-bit prefix, no debug output, and
# no download prompts for the .NET and HTML engines.
zk_wine_env() {
  export WINEARCH=win32
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
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
  timeout 60 wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >>"$log" 2>&1 || return 1
  timeout 60 wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "${w}x${h}" /f \
    >>"$log" 2>&1 || return 1
  # wineboot already started a desktop without these settings.
  zk_wine_stop
}

# Ends every Wine process of the prefix and waits for the server to go.
zk_wine_stop() {
  timeout 30 wineserver -k >/dev/null 2>&1
  timeout 30 wineserver -w >/dev/null 2>&1
  return 0
}
