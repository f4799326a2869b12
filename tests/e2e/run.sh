#!/usr/bin/env bash
# End-to-end tests of zentrik.exe under Wine.
#
# Starts a private X server (Xvfb) unless --display is given, creates a fresh
# Wine prefix in a temporary folder, and runs each test case against the
# real program inside one Wine virtual desktop with a taskbar. The helper
# program zk_e2e_driver.exe, run in the same prefix, looks at mutexes, atoms,
# hotkeys and windows and types keys. Every case prints "PASS name" or
# "FAIL name: why"; the last line counts them. The exit code is 0 only when
# every case passed.
#
# Usage: tests/e2e/run.sh [--exe PATH] [--driver PATH] [--display :N]
#                         [--keep] [--only NAME]...
#   --exe      zentrik.exe to test (default build/win32/zentrik.exe, or
#              build/win64/zentrik.exe on a machine that cannot run 32-bit
#              programs: see zk_wine_bits in wine_env.sh)
#   --driver   zk_e2e_driver.exe (default: tests/e2e/ of the same build)
#   --display  use this X display instead of starting Xvfb (the 800x600
#              desktop goes to its top-left corner; no window manager)
#   --keep     keep the temporary folder (prefix and logs) for inspection
#   --only     run only the named case (may be repeated)
set -u -o pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# shellcheck source=tests/e2e/wine_env.sh
. "$ROOT/tests/e2e/wine_env.sh"
# The programs of the build that this machine's Wine runs (build/win32, or
# build/win64 where 32-bit programs cannot run).
WIN_BUILD=$ROOT/$(zk_win_build)
EXE=$WIN_BUILD/zentrik.exe
DRIVER=$WIN_BUILD/tests/e2e/zk_e2e_driver.exe
USE_DISPLAY=""
KEEP=0
ONLY=()

while [ $# -gt 0 ]; do
  case $1 in
    --exe) EXE=$2; shift 2 ;;
    --driver) DRIVER=$2; shift 2 ;;
    --display) USE_DISPLAY=$2; shift 2 ;;
    --keep) KEEP=1; shift ;;
    --only) ONLY+=("$2"); shift 2 ;;
    -h|--help) sed -n '2,/^set -u/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;;
    *) echo "run.sh: unknown option $1" >&2; exit 2 ;;
  esac
done

# A watchdog over the whole run: nothing may hang the caller.
if [ -z "${ZK_E2E_WATCHDOG:-}" ]; then
  export ZK_E2E_WATCHDOG=1
  args=(--exe "$EXE" --driver "$DRIVER")
  [ -n "$USE_DISPLAY" ] && args+=(--display "$USE_DISPLAY")
  [ "$KEEP" = 1 ] && args+=(--keep)
  for o in "${ONLY[@]}"; do args+=(--only "$o"); done
  exec timeout --foreground -k 30 900 bash "$0" "${args[@]}"
fi

CASES=(single-instance old-windows builtin-hotkeys tray-menu first-start-files restart-after-kill)
CASES+=(launch-entry paste-entry paste-beside-watcher)
CASES+=(paste-beside-bare-watcher paste-beside-slow-watcher paste-winkey-held)
CASES+=(volume-hotkeys session-end-asks)
CASES+=(add-entries)
CASES+=(delete-entries about-box links)
CASES+=(bad-input)
CASES+=(told-to-end)
CASES+=(list-link list-read-only kill-during-add)
CASES+=(held-hotkeys dangling-link)
CASES+=(add-unicode-refused)
for o in "${ONLY[@]}"; do
  if ! printf '%s\n' "${CASES[@]}" | grep -qx -- "$o"; then
    echo "run.sh: no case $o (cases: ${CASES[*]})" >&2
    exit 2
  fi
done

for f in "$EXE" "$DRIVER"; do
  if [ ! -f "$f" ]; then
    echo "run.sh: $f not found; build the win32 preset first" >&2
    exit 2
  fi
done
for tool in wine wineserver Xvfb xdotool timeout; do
  command -v "$tool" >/dev/null || { echo "run.sh: $tool is missing" >&2; exit 2; }
done

# The virtual desktop: its size fixes where the taskbar and the tray icon are.
DESK_W=800
DESK_H=600
PROGRAM='C:\Zentrik\zentrik.exe'
DIGEST_MUTEX=dd3e197aa208b4674fa3f82ca6615995
MARKER_MUTEX=Vostel-Software-Zentrik-AppMutex
RUN_KEY='HKCU\SOFTWARE\Microsoft\Windows\CurrentVersion\Run'
APPDEFAULTS_KEY='HKCU\Software\Wine\AppDefaults\zentrik.exe'
BUILTIN_KEYS=(27 115 119 123 76 35 33 34 73 80 78)

zk_workspace zk-e2e || exit 2

cleanup() {
  trap - EXIT INT TERM
  zk_teardown "$KEEP"
  if [ "$KEEP" = 1 ]; then echo "e2e: kept $WORK"; fi
}
trap cleanup EXIT
trap 'echo "e2e: interrupted"; exit 3' INT TERM

log() { printf '%s\n' "$*" >>"$LOG"; }

# --- X server

if [ -n "$USE_DISPLAY" ]; then
  export DISPLAY=$USE_DISPLAY
else
  if ! zk_start_xvfb "$DESK_W" "$DESK_H" "$WORK" "$LOG"; then
    echo "run.sh: Xvfb did not start" >&2
    exit 2
  fi
fi

# --- helpers

# Runs the driver; its output (without CR) goes to stdout and the log.
zk() {
  local out rc
  out=$(timeout 60 wine "$DRIVER" "$@" 2>>"$LOG" | tr -d '\r')
  rc=${PIPESTATUS[0]}
  [ -z "$out" ] || log "driver $*: $out"
  log "driver $* -> $rc"
  [ -z "$out" ] || printf '%s\n' "$out"
  return "$rc"
}

wreg() { timeout 60 wine reg "$@" >>"$LOG" 2>&1; }

# The data of a registry value as `reg query` prints it: name, type and
# data, each after four blanks ("" when missing).
reg_value() {
  timeout 60 wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
    sed -n "s/^    $2    REG_[A-Z_]*    //p"
}

# Ends every Wine process of the prefix, so the next case starts afresh.
wine_reset() { zk_wine_stop; }

ZK_PID=""
ZK_TRACE=""
TRACE_FILE=""
# Starts zentrik.exe in the background; its exit code is collected by
# zk_wait_exit. With ZK_TRACE set (Wine debug channels, such as
# trace+mmdevapi), they are on for the program and its standard error goes
# to TRACE_FILE.
zk_start() {
  log "start zentrik${ZK_TRACE:+ with $ZK_TRACE}"
  if [ -n "$ZK_TRACE" ]; then
    WINEDEBUG=-all,$ZK_TRACE timeout 120 wine "$PROGRAM" >>"$LOG" 2>>"$TRACE_FILE" &
  else
    timeout 120 wine "$PROGRAM" >>"$LOG" 2>&1 &
  fi
  ZK_PID=$!
}

# Waits up to $1 seconds for the process started by zk_start to end; sets
# ZK_RC to its exit code, or to "running" when it did not end in time.
zk_wait_exit() {
  local limit=$1 pid=${2:-$ZK_PID} i
  for ((i = 0; i < limit * 10; i++)); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    ZK_RC=running
  else
    wait "$pid"
    ZK_RC=$?
  fi
  log "zentrik exit: $ZK_RC"
}

# Waits until start-up has registered the built-in hotkeys: their atoms are
# added one by one, WinKey+Shift+N last, each followed by its registration.
# Probing the hotkeys themselves could race the program's own registration.
zk_wait_ready() {
  zk wait-window TfrmMain Zentrik 30000 >/dev/null || return 1
  zk atom-exists Zentrik_Hotkey78 30000 >/dev/null || return 1
  sleep 1
}

# Starts the program and waits until it is ready; records a failure when it
# does not get there.
zk_start_ready() {
  zk_start
  zk_wait_ready && return 0
  fail "the program did not start"
  return 1
}

# The visible top-level windows (hwnd and class), leaving out tool tips: the
# start-up balloon closes by itself after a few seconds.
visible_windows() {
  zk list-windows | grep 'visible=1' | grep -v 'class="tooltips_class32"' |
    sed 's/ pid=.*class=/ /' | sort | tr '\n' ' '
}

# Opens the tray menu (posted callback) and chooses "&Exit" with its key.
zk_exit_by_menu() {
  zk tray-click 0x202 >/dev/null || return 1
  zk wait-menu 10000 || return 1
  zk press-key e >/dev/null
}

# --- test bookkeeping

PASSED=0
FAILED=0
CASE=""
REASONS=()

begin() {
  CASE=$1
  REASONS=()
  log "=== $CASE"
}
fail() {
  REASONS+=("$*")
  log "FAIL: $*"
}
finish() {
  if [ ${#REASONS[@]} -eq 0 ]; then
    echo "PASS $CASE"
    PASSED=$((PASSED + 1))
  else
    local why
    why=$(printf '%s; ' "${REASONS[@]}")
    echo "FAIL $CASE: ${why%; }"
    FAILED=$((FAILED + 1))
  fi
}

wanted() {
  [ ${#ONLY[@]} -eq 0 ] && return 0
  local o
  for o in "${ONLY[@]}"; do [ "$o" = "$1" ] && return 0; done
  return 1
}

# Fresh state for a case: no Wine process, no data folder, no Run value, no
# per-application Windows version.
fresh_state() {
  wine_reset
  rm -rf "$DATA_DIR"
  wreg delete "$RUN_KEY" /v Zentrik /f
  wreg delete "$APPDEFAULTS_KEY" /f
}

# --- the prefix

echo "e2e: display $DISPLAY, preparing a Wine prefix"
START_TIME=$(date +%s)
# Every program of the prefix runs in one virtual desktop with a taskbar.
if ! zk_make_prefix "$DESK_W" "$DESK_H" "$LOG"; then
  echo "run.sh: creating the Wine prefix failed (see the log with --keep)" >&2
  exit 2
fi
APPDATA_WIN=$(timeout 60 wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')
DATA_DIR=$(timeout 60 winepath -u "$APPDATA_WIN\\Zentrik" 2>/dev/null | tr -d '\r')
if [ -z "$APPDATA_WIN" ] || [ -z "$DATA_DIR" ]; then
  echo "run.sh: cannot find the application data folder in the prefix" >&2
  exit 2
fi
mkdir -p "$WINEPREFIX/drive_c/Zentrik"
cp "$EXE" "$WINEPREFIX/drive_c/Zentrik/zentrik.exe"
wine_reset
echo "e2e: prefix ready in $(($(date +%s) - START_TIME)) s"

# --- cases

case_single_instance() {
  begin single-instance
  fresh_state
  zk_start
  local first=$ZK_PID
  if ! zk_wait_ready; then
    fail "the first copy did not start"
    finish
    return
  fi
  zk mutex-exists "$DIGEST_MUTEX" >/dev/null || fail "no single-instance mutex $DIGEST_MUTEX"
  zk mutex-exists "$MARKER_MUTEX" >/dev/null || fail "no marker mutex $MARKER_MUTEX"
  local before after
  before=$(visible_windows)

  zk_start
  local second=$ZK_PID
  zk_wait_exit 15 "$second"
  [ "$ZK_RC" = 0 ] || fail "second copy: exit code $ZK_RC, expected 0"
  zk message-box 0 >/dev/null && fail "a dialog box appeared"
  after=$(visible_windows)
  [ "$before" = "$after" ] || fail "visible windows changed: [$before] -> [$after]"
  [ "$(zk count-windows TfrmMain Zentrik)" = 1 ] || fail "not exactly one main window"
  kill -0 "$first" 2>/dev/null || fail "the first copy ended"
  zk hotkeys-held >/dev/null || fail "the hotkeys are no longer all held"
  zk mutex-exists "$DIGEST_MUTEX" >/dev/null || fail "the mutex went away"

  ZK_PID=$first
  zk_exit_by_menu || fail "could not choose Exit on the tray menu"
  zk_wait_exit 15
  [ "$ZK_RC" = 0 ] || fail "first copy: exit code $ZK_RC after Exit, expected 0"
  zk mutex-exists "$DIGEST_MUTEX" >/dev/null && fail "the mutex outlived the program"
  finish
}

case_old_windows() {
  begin old-windows
  fresh_state
  wreg add "$APPDEFAULTS_KEY" /v Version /d win98 /f
  zk_start
  local box
  box=$(zk message-box 20000)
  if [ $? -ne 0 ]; then
    fail "no message box"
  else
    grep -qx 'caption: Error' <<<"$box" || fail "caption is not \"Error\": $(tr '\n' ' ' <<<"$box")"
    grep -qx 'text: This program must be run under Windows 2000 or later.' <<<"$box" ||
      fail "unexpected text: $(tr '\n' ' ' <<<"$box")"
    [ "$(grep -c '^caption:' <<<"$box")" = 1 ] || fail "more than one dialog"
    # Nothing but the box is on screen, and no mutex exists.
    local boxpid others
    boxpid=$(sed -n 's/^pid: //p' <<<"$box" | head -n1)
    others=$(zk list-windows | grep "pid=$boxpid " | grep 'visible=1' | grep -vc 'class="#32770"')
    [ "$others" = 0 ] || fail "$others other visible window(s)"
    [ "$(zk count-windows TfrmMain '*')" = 0 ] || fail "the main window was created"
    zk mutex-exists "$DIGEST_MUTEX" >/dev/null && fail "the single-instance mutex was created"
    zk mutex-exists "$MARKER_MUTEX" >/dev/null && fail "the marker mutex was created"
    zk hotkeys-free >/dev/null || fail "hotkeys were registered"
    zk dialog-ok 5000 >/dev/null || fail "could not press OK"
  fi
  zk_wait_exit 15
  [ "$ZK_RC" = 0 ] || fail "exit code $ZK_RC, expected 0"
  wreg delete "$APPDEFAULTS_KEY" /f
  finish
}

case_builtin_hotkeys() {
  begin builtin-hotkeys
  fresh_state
  zk hotkeys-free >/dev/null || fail "hotkeys taken before the start"
  zk_start_ready || { finish; return; }
  local out
  out=$(zk hotkeys-held) || fail "not all eleven WinKey+Shift hotkeys are held ($(grep '^free' <<<"$out"))"
  zk press-hotkey 12 78 >/dev/null
  zk wait-window Notepad '*' 20000 >/dev/null || fail "WinKey+Shift+N opened no Notepad"
  zk_exit_by_menu || fail "could not choose Exit on the tray menu"
  zk_wait_exit 15
  [ "$ZK_RC" = 0 ] || fail "exit code $ZK_RC after Exit, expected 0"
  out=$(zk hotkeys-free) || fail "hotkeys still held after Exit ($(grep '^held' <<<"$out"))"
  finish
}

case_tray_menu() {
  begin tray-menu
  fresh_state
  zk_start_ready || { finish; return; }
  local k missing=""
  for k in "${BUILTIN_KEYS[@]}"; do
    zk atom-exists "Zentrik_Hotkey$k" >/dev/null || missing+=" Zentrik_Hotkey$k"
  done
  [ -z "$missing" ] || fail "atoms missing:$missing"

  # A button press alone opens nothing.
  zk tray-click 0x201 >/dev/null
  zk wait-menu 1500 && fail "the menu opened on a button press"

  # A real right click on the icon (the only icon sits in the taskbar's
  # right-hand corner) opens the menu; Esc closes it without a choice.
  xdotool mousemove $((DESK_W - 10)) $((DESK_H - 10)) click 3
  if zk wait-menu 10000; then
    zk press-key esc >/dev/null
    zk wait-no-menu 5000 || fail "Esc did not close the menu"
  else
    fail "a right click on the icon opened no menu"
  fi
  sleep 0.5
  kill -0 "$ZK_PID" 2>/dev/null || fail "the program ended after the menu was dismissed"

  # The posted left-button callback opens it; "e" picks "&Exit".
  zk_exit_by_menu || fail "the tray callback opened no menu"
  zk_wait_exit 15
  [ "$ZK_RC" = 0 ] || fail "exit code $ZK_RC after Exit, expected 0"
  zk hotkeys-free >/dev/null || fail "hotkeys still held after Exit"
  local left=""
  for k in "${BUILTIN_KEYS[@]}"; do
    zk atom-exists "Zentrik_Hotkey$k" >/dev/null && left+=" Zentrik_Hotkey$k"
  done
  [ -z "$left" ] || fail "atoms left after Exit:$left"
  finish
}

case_first_start_files() {
  begin first-start-files
  fresh_state
  wreg add "$RUN_KEY" /v Zentrik /t REG_SZ /d 'C:\elsewhere\old.exe' /f
  zk_start_ready || { finish; return; }
  if [ ! -d "$DATA_DIR" ]; then
    fail "no data folder $APPDATA_WIN\\Zentrik"
  else
    local cfg
    cfg=$(tr -d '\r' <"$DATA_DIR/cfg.ini" 2>/dev/null)
    if [ ! -f "$DATA_DIR/cfg.ini" ]; then
      fail "no cfg.ini"
    elif ! grep -qx '\[ZNK\]' <<<"$cfg" || ! grep -qx 'showhint=1' <<<"$cfg"; then
      fail "cfg.ini lacks [ZNK] showhint=1: $(tr '\n' ' ' <<<"$cfg")"
    fi
    local f
    for f in znks.ini znks2.ini; do
      if [ ! -f "$DATA_DIR/$f" ]; then
        fail "no $f"
      elif [ -s "$DATA_DIR/$f" ]; then
        fail "$f is not empty"
      fi
    done
    # The list files are written through a temporary file: none may be left.
    local others
    others=$(find "$DATA_DIR" -mindepth 1 ! -name cfg.ini ! -name znks.ini ! -name znks2.ini -printf '%f ')
    [ -z "$others" ] || fail "unexpected files in the data folder: $others"
  fi
  local run expected="\"$PROGRAM\""
  run=$(reg_value "$RUN_KEY" Zentrik)
  [ "$run" = "$expected" ] || fail "Run value is [$run], expected [$expected]"
  wine_reset

  # A Run value of blanks counts as off and stays as it is.
  wreg add "$RUN_KEY" /v Zentrik /t REG_SZ /d '   ' /f
  zk_start
  if zk_wait_ready; then
    run=$(reg_value "$RUN_KEY" Zentrik)
    [ "$run" = '   ' ] || fail "a blank Run value was changed to [$run]"
  else
    fail "the second start failed"
  fi
  finish
}

# The process ids whose parent is $1, read from /proc/*/stat, which every
# kernel has (the command name in parentheses may hold blanks).
child_pids() {
  local parent=$1 stat line state ppid pid
  for stat in /proc/[0-9]*/stat; do
    line=$(cat "$stat" 2>/dev/null) || continue
    read -r state ppid _ <<<"${line##*) }"
    [ "$ppid" = "$parent" ] || continue
    pid=${stat#/proc/}
    echo "${pid%/stat}"
  done
}

case_restart_after_kill() {
  begin restart-after-kill
  fresh_state
  zk_start_ready || { finish; return; }
  # Killing the Wine process abandons the mutex; the next start must run.
  # ZK_PID is the `timeout` wrapper; the program is its child.
  local child
  child=$(child_pids "$ZK_PID")
  if [ -z "$child" ]; then
    fail "cannot find the program's process"
    finish
    return
  fi
  kill -9 $child
  wait "$ZK_PID" 2>/dev/null
  zk wait-no-window TfrmMain Zentrik 10000 >/dev/null || fail "the killed copy's window stayed"
  zk_start
  if zk_wait_ready; then
    zk mutex-exists "$DIGEST_MUTEX" >/dev/null || fail "no single-instance mutex after the restart"
    zk hotkeys-held >/dev/null || fail "hotkeys not held after the restart"
    kill -0 "$ZK_PID" 2>/dev/null || fail "the new copy ended"
  else
    fail "the program did not start again"
  fi
  finish
}

# --- ending when told to by a window message

# WM_CLOSE to either window and WM_ENDSESSION (the session ends) each end the
# program with code 0, its hotkeys, atoms and mutex released; the session's
# end also while the tray menu is open.
case_told_to_end() {
  begin told-to-end
  fresh_state
  local how cls msg w k menu
  for how in "TApplication 0x10 0" "TfrmMain 0x10 0" "TApplication 0x16 1" "TApplication 0x16 1 menu"; do
    read -r cls msg w menu <<<"$how"
    zk_start_ready || break
    if [ -n "$menu" ]; then
      zk tray-click 0x202 >/dev/null
      zk wait-menu 10000 || { fail "the tray menu did not open"; break; }
    fi
    zk post-message "$cls" Zentrik "$msg" "$w" >/dev/null || fail "no $cls window to tell"
    zk_wait_exit 15
    if [ "$ZK_RC" = running ]; then
      fail "still running after message $msg to $cls"
      break
    fi
    [ "$ZK_RC" = 0 ] || fail "exit code $ZK_RC after message $msg to $cls, expected 0"
    zk mutex-exists "$DIGEST_MUTEX" >/dev/null && fail "the mutex stayed after message $msg to $cls"
    zk hotkeys-free >/dev/null || fail "hotkeys still held after message $msg to $cls"
    for k in "${BUILTIN_KEYS[@]}"; do
      zk atom-exists "Zentrik_Hotkey$k" >/dev/null && { fail "atoms left after message $msg to $cls"; break; }
    done
  done
  finish
}

# --- user entries

ARGS_EXE=$WIN_BUILD/tests/e2e/zk_e2e_args.exe
ARGS_FILE=$WINEPREFIX/drive_c/Zentrik/args.txt

# An encoded field of a list file: Base64 on one line.
b64() { printf '%s' "$1" | base64 -w0; }

# Waits up to $2 seconds until the file $1 has at least $3 lines.
wait_lines() {
  local i
  for ((i = 0; i < $2 * 10; i++)); do
    [ -f "$1" ] && [ "$(wc -l <"$1")" -ge "$3" ] && return 0
    sleep 0.1
  done
  return 1
}

# Opens the tray menu with the posted callback and chooses its Nth item
# (separators and hidden items not counted) with the arrow keys and Enter.
# Menus of another process cannot be inspected under Wine, and items
# without "&" have no access key.
choose_tray_item() {
  local keys=() i
  for ((i = 0; i < $1; i++)); do keys+=(down); done
  zk tray-click 0x202 >/dev/null || return 1
  zk wait-menu 10000 || return 1
  zk press-key "${keys[@]}" enter >/dev/null
}

case_launch_entry() {
  begin launch-entry
  fresh_state
  local params='one "two three" four' line
  cp "$ARGS_EXE" "$WINEPREFIX/drive_c/Zentrik/zk_e2e_args.exe"
  rm -f "$ARGS_FILE"
  mkdir -p "$DATA_DIR"
  printf '%s|F1|112|%s|%s\r\n' "$(b64 'Record arguments')" \
    "$(b64 'C:\Zentrik\zk_e2e_args.exe')" "$(b64 "$params")" >"$DATA_DIR/znks.ini"
  zk_start_ready || { finish; return; }

  zk press-hotkey 9 112 >/dev/null
  if wait_lines "$ARGS_FILE" 20 1; then
    line=$(sed -n 1p "$ARGS_FILE")
    [ "$line" = "$params" ] || fail "WinKey+Alt+F1 passed [$line], expected [$params]"
  else
    fail "WinKey+Alt+F1 started no program"
  fi

  # Five, three and three built-in items and "Add/Delete Hotkey I" come first.
  if ! choose_tray_item 13; then
    fail "could not click the entry's tray item"
  elif wait_lines "$ARGS_FILE" 20 2; then
    line=$(sed -n 2p "$ARGS_FILE")
    [ "$line" = "$params" ] || fail "the tray item passed [$line], expected [$params]"
  else
    fail "the tray item started no program"
  fi
  zk message-box 0 >/dev/null && fail "a dialog box appeared"
  zk_exit_by_menu || fail "could not choose Exit on the tray menu"
  zk_wait_exit 15
  [ "$ZK_RC" = 0 ] || fail "exit code $ZK_RC after Exit, expected 0"
  finish
}

case_paste_entry() {
  begin paste-entry
  fresh_state
  local text=$'Dear Sir,\r\nyours sincerely' want='Dear Sir,\r\nyours sincerely' out
  mkdir -p "$DATA_DIR"
  printf '%s|S|83|%s\r\n' "$(b64 'Letter')" "$(b64 "$text")" >"$DATA_DIR/znks2.ini"
  zk_start_ready || { finish; return; }

  # A window of another program has the focus; the hotkey is typed as a
  # person does: modifiers down, key down, key up, modifiers up.
  timeout 60 wine "$DRIVER" edit-window 20000 >"$WORK/edit.txt" 2>>"$LOG" &
  local editor=$!
  if zk wait-window zk_e2e_edit zk_e2e_edit 20000 >/dev/null; then
    sleep 1
    zk press-hotkey 10 83 >/dev/null
  else
    fail "the test window did not appear"
  fi
  wait "$editor"
  out=$(tr -d '\r' <"$WORK/edit.txt" | sed -n 's/^text: //p')
  log "edit control: $out"
  [ "$out" = "$want" ] || fail "the edit control holds [$out], expected [$want]"
  out=$(zk clipboard-text | sed -n 's/^text: //p')
  [ "$out" = "$want" ] || fail "the clipboard holds [$out], expected [$want]"
  zk message-box 0 >/dev/null && fail "a dialog box appeared"
  zk_exit_by_menu || fail "could not choose Exit on the tray menu"
  zk_wait_exit 15
  [ "$ZK_RC" = 0 ] || fail "exit code $ZK_RC after Exit, expected 0"
  finish
}

# A clipboard watcher that holds the clipboard HOLD ms after every change, as
# clipboard history does, opened with its own window or with none (KIND
# nowindow): each of ten pastes into a fresh edit window still arrives whole,
# and no error box appears.
paste_beside_watcher() {
  local name=$1 hold=$2 kind=${3:-}
  begin "$name"
  fresh_state
  local want='first line\r\nsecond line' i out whole=0 got=() watcher
  mkdir -p "$DATA_DIR"
  printf '%s|S|83|%s\r\n' "$(b64 Lines)" "$(b64 $'first line\r\nsecond line')" >"$DATA_DIR/znks2.ini"
  zk_start_ready || { finish; return; }
  # shellcheck disable=SC2086
  timeout 300 wine "$DRIVER" clip-watcher "$hold" 240000 $kind >"$WORK/watcher.txt" 2>>"$LOG" &
  watcher=$!
  zk wait-window zk_e2e_clipwatch '*' 20000 >/dev/null || fail "the clipboard watcher did not start"
  for ((i = 1; i <= 10; i++)); do
    timeout 60 wine "$DRIVER" edit-window 5000 >"$WORK/edit.txt" 2>>"$LOG" &
    local editor=$!
    if zk wait-window zk_e2e_edit zk_e2e_edit 20000 >/dev/null; then
      sleep 1
      zk press-hotkey 10 83 >/dev/null
    fi
    wait "$editor"
    out=$(tr -d '\r' <"$WORK/edit.txt" | sed -n 's/^text: //p')
    if [ "$out" = "$want" ]; then whole=$((whole + 1)); else got+=("[$out]"); fi
    if out=$(zk message-box 0); then
      got+=("box \"$(sed -n 's/^text: //p' <<<"$out" | head -n1)\"")
      zk dialog-ok 2000 >/dev/null
    fi
  done
  zk post-message zk_e2e_clipwatch '*' 0x10 0 >/dev/null
  wait "$watcher"
  out=$(tr -d '\r' <"$WORK/watcher.txt")
  log "watcher: $out"
  [ "${out##* held: }" -ge 10 ] 2>/dev/null || fail "the watcher held the clipboard too seldom ($out)"
  [ "$whole" = 10 ] || fail "$whole of 10 pastes arrived whole; the others: ${got[*]}"
  kill -0 "$ZK_PID" 2>/dev/null || fail "the program ended"
  finish
}

case_paste_beside_watcher() { paste_beside_watcher paste-beside-watcher 40; }
case_paste_beside_bare_watcher() { paste_beside_watcher paste-beside-bare-watcher 150 nowindow; }
case_paste_beside_slow_watcher() { paste_beside_watcher paste-beside-slow-watcher 400; }

# WinKey and Ctrl held 2 s after the hotkey: the text arrives whole, and only
# after the keys came up (a Ctrl+V typed while WinKey is down reaches the
# focused program as WinKey+Ctrl+V).
case_paste_winkey_held() {
  begin paste-winkey-held
  fresh_state
  local want='held keys' out released changed
  mkdir -p "$DATA_DIR"
  printf '%s|S|83|%s\r\n' "$(b64 Held)" "$(b64 'held keys')" >"$DATA_DIR/znks2.ini"
  zk_start_ready || { finish; return; }
  timeout 60 wine "$DRIVER" edit-window 20000 >"$WORK/edit.txt" 2>>"$LOG" &
  local editor=$!
  if zk wait-window zk_e2e_edit zk_e2e_edit 20000 >/dev/null; then
    sleep 1
    released=$(zk press-hotkey 10 83 2000 | sed -n 's/^released: //p')
  else
    fail "the test window did not appear"
  fi
  wait "$editor"
  out=$(tr -d '\r' <"$WORK/edit.txt" | sed -n 's/^text: //p')
  changed=$(tr -d '\r' <"$WORK/edit.txt" | sed -n 's/^changed: //p')
  log "edit control: $out (changed at $changed, keys up at $released)"
  [ "$out" = "$want" ] || fail "the edit control holds [$out], expected [$want]"
  [ -n "$released" ] && [ -n "$changed" ] && [ "$changed" -ge "$released" ] ||
    fail "the text arrived at tick $changed, before the keys came up at $released"
  zk message-box 0 >/dev/null && fail "a dialog box appeared"
  kill -0 "$ZK_PID" 2>/dev/null || fail "the program ended"
  finish
}

# --- sound device and session end

# What each key asks of the default endpoint, in the order pressed: the
# mmdevapi trace lines that must follow it (extended regular expressions;
# "!" before one: must not). Wine's endpoint volume is a stub: a new one
# each time, whose master scalar reads 1.0 (level 5) and whose mute reads
# off; it cannot count its channels, so a write takes the master scalar,
# 52428 / 65535 for Volume-, which it refuses, and the mixer writes instead.
VOLUME_STEPS=(
  '35 AEV_GetMute AEV_SetMute.*->\(1,'
  '33 AEV_GetMasterVolumeLevelScalar !AEV_Set'
  '34 AEV_GetChannelCount AEV_SetMasterVolumeLevelScalar.*->\(0\.800000,'
  '34 AEV_SetMasterVolumeLevelScalar.*->\(0\.800000,'
  '35 AEV_SetMute.*->\(1,'
)

# The endpoint volume objects in these trace lines whose last call is not
# the release of the last reference.
unreleased_endpoints() {
  awk 'match($0, /AEV_[A-Za-z]+ \([0-9A-Fa-f]+\)/) {
         id = substr($0, RSTART, RLENGTH); sub(/^[^ ]+ /, "", id); last[id] = $0 }
       END { for (id in last) if (last[id] !~ /AEV_Release .* new ref 0$/) printf "%s ", id }'
}

case_volume_hotkeys() {
  begin volume-hotkeys
  local sound=1 step key pats pat lines=0 calls out
  zk_start_pulse || sound=0
  fresh_state
  if [ "$sound" = 1 ] && ! zk mixer-info >/dev/null; then sound=0; fi
  if [ "$sound" = 0 ]; then
    echo "note volume-hotkeys: no sound device (PulseAudio with a null sink did not come up;" \
      "see the log with --keep): the endpoint part is skipped, the keys are pressed without one"
  fi
  TRACE_FILE=$WORK/mmdevapi.txt
  : >"$TRACE_FILE"
  ZK_TRACE=trace+mmdevapi
  if zk_start_ready; then
    # Mute, Volume+, Volume- twice, Mute again: none may show anything.
    for step in "${VOLUME_STEPS[@]}"; do
      read -r key pats <<<"$step"
      zk press-hotkey 12 "$key" >/dev/null
      sleep 0.5
      if zk message-box 1000 >/dev/null; then
        fail "a dialog box appeared after WinKey+Shift+$key"
        zk dialog-ok 2000 >/dev/null
      fi
      kill -0 "$ZK_PID" 2>/dev/null || { fail "the program ended after WinKey+Shift+$key"; break; }
      [ "$sound" = 1 ] || continue
      calls=$(tail -n +$((lines + 1)) "$TRACE_FILE" | grep 'mmdevapi:AEV_')
      lines=$(wc -l <"$TRACE_FILE")
      log "WinKey+Shift+$key: $calls"
      if [ -z "$calls" ]; then
        fail "WinKey+Shift+$key did not reach the endpoint"
        continue
      fi
      for pat in $pats; do
        if [ "${pat#!}" != "$pat" ]; then
          grep -qE -- "${pat#!}" <<<"$calls" && fail "WinKey+Shift+$key: the endpoint got ${pat#!}"
        else
          grep -qE -- "$pat" <<<"$calls" || fail "WinKey+Shift+$key: no $pat in the trace"
        fi
      done
      out=$(unreleased_endpoints <<<"$calls")
      [ -z "$out" ] || fail "WinKey+Shift+$key left endpoint volume objects unreleased: $out"
    done
    out=$(zk hotkeys-held) || fail "not all eleven hotkeys are held while it runs ($(grep '^free' <<<"$out"))"
    zk_exit_by_menu || fail "could not choose Exit on the tray menu"
    zk_wait_exit 15
    [ "$ZK_RC" = 0 ] || fail "exit code $ZK_RC after Exit, expected 0"
  fi
  ZK_TRACE=""
  wine_reset
  zk_stop_pulse
  finish
}

# Log Off asks the programs to close: one with unsaved work is asked, can
# refuse, and then keeps running with its work. (Wine asks and ends the
# programs one process after another, so programs it reached before the
# refusal, zentrik.exe among them, may be gone.) Run only in this run's
# throwaway prefix.
case_session_end_asks() {
  begin session-end-asks
  fresh_state
  zk_start_ready || { finish; return; }
  local out=$WORK/veto.txt veto _
  timeout 60 wine "$DRIVER" veto-session 30000 >"$out" 2>>"$LOG" &
  veto=$!
  if ! zk wait-window zk_e2e_unsaved '*' 15000 >/dev/null; then
    fail "the window with unsaved work did not appear"
  else
    zk press-hotkey 12 123 >/dev/null
    wait "$veto"
    local rc=$?
    log "veto-session ($rc): $(tr -d '\r' <"$out" | tr '\n' ' ')"
    grep -q asked "$out" || fail "the program with unsaved work was not asked before the log-off"
    grep -q ended "$out" && fail "the session ended although a program refused"
    [ "$rc" = 0 ] || fail "the program with unsaved work did not end by itself (exit code $rc)"
  fi
  wait "$veto" 2>/dev/null
  if kill -0 "$ZK_PID" 2>/dev/null; then
    zk_exit_by_menu || fail "could not choose Exit on the tray menu"
    zk_wait_exit 15
    [ "$ZK_RC" = 0 ] || fail "exit code $ZK_RC after Exit, expected 0"
  fi
  finish
}

# --- the delete dialog, the About box and the maker's links

MAIL_TARGET='mailto:zentrik@example.com'
SITE_TARGET='http://www.example.com/'
OPENED_WIN='C:\Zentrik\opened.txt'

# Opens the tray menu with the posted callback and types the keys given.
menu_keys() {
  zk tray-click 0x202 >/dev/null || return 1
  zk wait-menu 10000 || return 1
  zk press-key "$@" >/dev/null
}

# Makes the driver the shell's handler of mailto: and http: links: it writes
# each link it is given as a line of opened.txt.
install_link_handler() {
  cp "$DRIVER" "$WINEPREFIX/drive_c/Zentrik/zk_e2e_driver.exe"
  rm -f "$WINEPREFIX/drive_c/Zentrik/opened.txt"
  local scheme
  for scheme in mailto http; do
    wreg add "HKCR\\$scheme\\shell\\open\\command" /ve /f \
      /d "\"C:\\Zentrik\\zk_e2e_driver.exe\" log-open $OPENED_WIN \"%1\""
  done
}

# Waits up to $2 seconds until opened.txt holds the line $1, then a moment
# more: while the handler and its console end, a tray menu opened at once
# may lose the keyboard to them.
wait_opened() {
  local i
  for ((i = 0; i < $2 * 10; i++)); do
    if tr -d '\r' 2>/dev/null <"$WINEPREFIX/drive_c/Zentrik/opened.txt" | grep -qxF -- "$1"; then
      sleep 1.5
      return 0
    fi
    sleep 0.1
  done
  return 1
}

opened_lines() { tr -d '\r' 2>/dev/null <"$WINEPREFIX/drive_c/Zentrik/opened.txt" | grep -c .; }

# Clicks the control with text $2 in the visible window of class $1 with
# the real mouse, as a person would; $3 clicks make a double-click.
click_control() {
  local xy
  xy=$(zk control-center "$1" "$2") || return 1
  # shellcheck disable=SC2086
  xdotool mousemove $xy click --repeat "${3:-1}" --delay 80 1
}

# The tray menu's height in pixels (opened with the posted callback, closed
# with Esc), or nothing.
menu_height() {
  zk tray-click 0x202 >/dev/null || return 1
  zk menu-height 10000 || return 1
  zk press-key esc >/dev/null
  zk wait-no-menu 5000
}

# Chooses "Delete..." under the submenu that is the $1-th item from the top
# (separators do not count), deletes the entry $2 down from the first and
# confirms the message, which must name $3. Checks the list the dialog
# shows against $4 (names, one a line).
delete_entry() {
  local downs=() i texts box
  for ((i = 0; i < $1; i++)); do downs+=(down); done
  menu_keys "${downs[@]}" right down enter || { fail "no tray menu for Delete..."; return 1; }
  if ! texts=$(zk window-texts Delete 10000); then
    fail "no Delete dialog"
    return 1
  fi
  [ "$(sed -n 's/^item: //p' <<<"$texts")" = "$4" ] ||
    fail "the Delete dialog lists [$(sed -n 's/^item: //p' <<<"$texts" | tr '\n' ',')]"
  grep -qx 'selected: 0' <<<"$texts" || fail "the first entry is not selected"
  downs=()
  for ((i = 0; i < $2; i++)); do downs+=(down); done
  # The list has the focus; Tab moves on to OK, and space presses it.
  zk press-key "${downs[@]}" tab space >/dev/null
  box=$(zk message-box 10000) || { fail "no message after deleting"; return 1; }
  grep -qx "text: Successfully deleted: $3" <<<"$box" || fail "unexpected message: $(tr '\n' ' ' <<<"$box")"
  grep -qx 'caption: Zentrik' <<<"$box" || fail "the message's caption is not Zentrik"
  zk dialog-ok 5000 >/dev/null
  zk wait-no-window '*' Delete 10000 >/dev/null || fail "the Delete dialog stayed"
}

case_delete_entries() {
  begin delete-entries
  fresh_state
  # Launch entries Notepad (WinKey+Alt+F5) and Calculator (WinKey+Alt+C),
  # both starting the program that records its parameters; text entries
  # Thanks (WinKey+Ctrl+T) and Signature (WinKey+Ctrl+S).
  local args_exe
  args_exe=$(b64 'C:\Zentrik\zk_e2e_args.exe')
  local notepad calc thanks signature
  notepad="$(b64 Notepad)|F5|116|$args_exe|$(b64 kept)"
  calc="$(b64 Calculator)|C|67|$args_exe|$(b64 deleted)"
  thanks="$(b64 Thanks)|T|84|$(b64 'Thank you')"
  signature="$(b64 Signature)|S|83|$(b64 'Best regards')"
  cp "$ARGS_EXE" "$WINEPREFIX/drive_c/Zentrik/zk_e2e_args.exe"
  rm -f "$ARGS_FILE"
  mkdir -p "$DATA_DIR"
  printf '%s\r\n%s' "$notepad" "$calc" >"$DATA_DIR/znks.ini"
  printf '%s\r\n%s' "$thanks" "$signature" >"$DATA_DIR/znks2.ini"
  zk_start_ready || { finish; return; }
  local k
  for k in "9 116" "9 67" "10 84" "10 83"; do
    # shellcheck disable=SC2086
    zk hotkey-held $k >/dev/null || fail "hotkey $k is not held at the start"
  done
  # Another program rewrites the list while the dialog is open: the picked
  # Calculator is no longer the second line (Notepad is), so nothing is
  # deleted and the dialog lists the file anew.
  local texts box downs=() i
  for ((i = 0; i < 12; i++)); do downs+=(down); done
  menu_keys "${downs[@]}" right down enter || fail "no tray menu for Delete..."
  if texts=$(zk window-texts Delete 10000); then
    printf '%s\r\n%s\r\n' "$calc" "$notepad" >"$DATA_DIR/znks.ini"
    zk press-key down tab space >/dev/null
    if box=$(zk message-box 10000); then
      grep -qx 'text: The list has changed since it was shown; nothing was deleted.' <<<"$box" ||
        fail "changed list: unexpected box: $(tr '\n' ' ' <<<"$box")"
      zk dialog-ok 5000 >/dev/null
      zk wait-no-window '#32770' '*' 5000 >/dev/null
    else
      fail "changed list: no message"
    fi
    texts=$(zk window-texts Delete 5000)
    [ "$(sed -n 's/^item: //p' <<<"$texts")" = $'Calculator\nNotepad' ] ||
      fail "changed list: the dialog lists [$(sed -n 's/^item: //p' <<<"$texts" | tr '\n' ',')]"
    [ "$(cat "$DATA_DIR/znks.ini")" = "$(printf '%s\r\n%s\r\n' "$calc" "$notepad")" ] ||
      fail "changed list: znks.ini was changed"
    click_control TfrmDel Cancel || fail "changed list: no Cancel button"
    zk wait-no-window '*' Delete 10000 >/dev/null || fail "changed list: Cancel did not close the dialog"
  else
    fail "no Delete dialog"
  fi
  printf '%s\r\n%s' "$notepad" "$calc" >"$DATA_DIR/znks.ini"

  local h0 h1 h2
  h0=$(menu_height)

  # Calculator, the second entry of list I: "Add/Delete Hotkey I" is the
  # twelfth item, after the eleven built-in ones.
  delete_entry 12 1 Calculator $'Notepad\nCalculator'
  [ "$(od -An -c "$DATA_DIR/znks.ini" | tr -s ' ')" = "$(printf '%s\r\n' "$notepad" | od -An -c | tr -s ' ')" ] ||
    fail "znks.ini holds [$(tr '\r\n' '~~' <"$DATA_DIR/znks.ini")]"
  zk hotkey-held 9 67 >/dev/null && fail "WinKey+Alt+C is still held"
  # The deleted entry no longer fires, the one left still does.
  zk press-hotkey 9 67 >/dev/null
  zk press-hotkey 9 116 >/dev/null
  if wait_lines "$ARGS_FILE" 20 1; then
    sleep 1
    [ "$(tr -d '\r' <"$ARGS_FILE" | tr '\n' ' ')" = "kept " ] ||
      fail "the hotkeys started [$(tr '\r\n' '  ' <"$ARGS_FILE")], expected only the kept entry"
  else
    fail "WinKey+Alt+F5 no longer starts its entry"
  fi
  h1=$(menu_height)

  # Thanks, the first entry of list II: its submenu follows the one entry
  # left in list I.
  delete_entry 14 0 Thanks $'Thanks\nSignature'
  [ "$(od -An -c "$DATA_DIR/znks2.ini" | tr -s ' ')" = "$(printf '%s\r\n' "$signature" | od -An -c | tr -s ' ')" ] ||
    fail "znks2.ini holds [$(tr '\r\n' '~~' <"$DATA_DIR/znks2.ini")]"
  zk hotkey-held 10 84 >/dev/null && fail "WinKey+Ctrl+T is still held"
  h2=$(menu_height)
  for k in "9 116" "10 83"; do
    # shellcheck disable=SC2086
    zk hotkey-held $k >/dev/null || fail "hotkey $k was released and not taken again"
  done

  # One item fewer on the menu after each delete.
  if [ -z "$h0" ] || [ -z "$h1" ] || [ -z "$h2" ]; then
    fail "could not measure the tray menu ($h0, $h1, $h2)"
  elif ! [ "$h1" -lt "$h0" ] || [ $((h0 - h1)) -ne $((h1 - h2)) ]; then
    fail "menu heights $h0, $h1, $h2 do not shrink by one item each time"
  fi

  # The entries left still belong to the program: Exit frees them.
  zk_exit_by_menu || fail "could not choose Exit on the tray menu"
  zk_wait_exit 15
  for k in "9 116" "10 83"; do
    # shellcheck disable=SC2086
    zk hotkey-held $k >/dev/null && fail "hotkey $k still held after Exit"
  done
  finish
}

case_about_box() {
  begin about-box
  fresh_state
  zk_start_ready || { finish; return; }
  menu_keys a || fail "no tray menu for About"
  local texts line
  if ! texts=$(LC_ALL=C zk window-texts About 10000); then
    fail "no About box"
    finish
    return
  fi
  for line in 'Zentrik' 'Version 6.34' $'Copyright \xA9 2009 Vostel Software' 'Our Mail:' \
    'zentrik@example.com' 'Our Site:' 'http://www.example.com/' 'OK'; do
    LC_ALL=C grep -qF -- ": $line" <<<"$texts" || fail "About box lacks \"$line\""
  done
  # While the box is open a click on the tray icon opens no menu.
  xdotool mousemove $((DESK_W - 10)) $((DESK_H - 10)) click 1
  zk wait-menu 1500 && fail "the tray menu opened while the About box was open"
  # Enter presses OK, the default button, once the box has the focus again.
  click_control TfrmAbout 'Version 6.34' || fail "cannot click into the About box"
  zk press-key enter >/dev/null
  zk wait-no-window '*' About 5000 >/dev/null || fail "Enter did not close the About box"
  kill -0 "$ZK_PID" 2>/dev/null || fail "the program ended"
  # The icon answers the mouse again; Esc closes the box too.
  xdotool mousemove $((DESK_W - 10)) $((DESK_H - 10)) click 1
  if zk wait-menu 10000; then
    zk press-key a >/dev/null
    if zk wait-window '*' About 10000 >/dev/null; then
      click_control TfrmAbout 'Version 6.34' || fail "cannot click into the About box"
      zk press-key esc >/dev/null
      zk wait-no-window '*' About 5000 >/dev/null || fail "Esc did not close the About box"
    else
      fail "no About box from the icon's menu"
    fi
  else
    fail "no tray menu after the About box closed"
  fi
  finish
}

case_links() {
  begin links
  fresh_state
  install_link_handler
  zk_start_ready || { finish; return; }
  # The two menu items, each of them with its access key.
  menu_keys c || fail "no tray menu for Contact Us"
  wait_opened "$MAIL_TARGET" 20 || fail "Contact Us did not open $MAIL_TARGET"
  menu_keys v || fail "no tray menu for Visit Website"
  wait_opened "$SITE_TARGET" 20 || fail "Visit Website did not open $SITE_TARGET"
  # The links of the About box, clicked with the mouse.
  menu_keys a || fail "no tray menu for About"
  if zk wait-window '*' About 10000 >/dev/null; then
    click_control TfrmAbout zentrik@example.com || fail "no mail link in the About box"
    wait_opened "$MAIL_TARGET" 20 || fail "the mail link did not open $MAIL_TARGET"
    # A double-click opens the link once.
    click_control TfrmAbout "$SITE_TARGET" 2 || fail "no website link in the About box"
    wait_opened "$SITE_TARGET" 20 || fail "the website link did not open $SITE_TARGET"
    sleep 2
    click_control TfrmAbout OK || fail "no OK button in the About box"
    zk wait-no-window '*' About 5000 >/dev/null || fail "OK did not close the About box"
  else
    fail "no About box"
  fi
  [ "$(opened_lines)" = 4 ] || fail "expected four links opened: $(tr '\r\n' '  ' 2>/dev/null <"$WINEPREFIX/drive_c/Zentrik/opened.txt")"
  kill -0 "$ZK_PID" 2>/dev/null || fail "the program ended"
  finish
}

# --- add dialogs

# Presses keys one after another: "down*12" stands for twelve downs.
keys() {
  local k n i
  for k in "$@"; do
    n=1
    if [[ $k == *'*'* ]]; then n=${k#*\*}; k=${k%%\**}; fi
    for ((i = 0; i < n; i++)); do zk press-key "$k" >/dev/null; done
  done
}

# Opens the tray menu and chooses "Add..." in the submenu that is the
# $1-th item from the top; waits until the dialog of class $2 is shown.
open_add() {
  zk tray-click 0x202 >/dev/null || return 1
  zk wait-menu 10000 || return 1
  keys "down*$1" right enter
  zk wait-visible "$2" Add 10000
}

# The focused control's class (Edit, ComboBox, Button) and its text.
focused() { zk focused | sed -n 's/^class="\([^"]*\)" text="\([^"]*\)".*/\1 \2/p'; }

# The message box now on screen: "caption|text".
message() {
  local box
  box=$(zk message-box "${1:-10000}") || return 1
  printf '%s|%s\n' "$(sed -n 's/^caption: //p' <<<"$box" | head -n1)" "$(sed -n 's/^text: //p' <<<"$box" | head -n1)"
}

case_add_entries() {
  begin add-entries
  fresh_state
  zk_start_ready || { finish; return; }

  # List I: the menu's twelfth item is "Add/Delete Hotkey I".
  if ! open_add 12 TfrmAdd; then
    fail "Add... of list I opened no dialog"
    finish
    return
  fi
  [ "$(focused)" = "Edit " ] || fail "the empty name field does not have the focus at first: $(focused)"
  zk type-text pad >/dev/null
  keys tab
  zk type-text notepad >/dev/null
  # A real click on "...": the open-file dialog; cancelled, it changes nothing
  # and the focus is still in the file field.
  local at
  if at=$(zk control-center TfrmAdd ...); then
    xdotool mousemove ${at% *} ${at#* } click 1
    if zk wait-visible '#32770' '*' 15000; then
      sleep 1
      keys esc
      zk wait-hidden '#32770' '*' 10000 || fail "Esc did not close the open-file dialog"
      sleep 0.5
      [ "$(focused)" = "Edit notepad" ] || fail "the file field lost its text or the focus: $(focused)"
    else
      fail "the ... button opened no open-file dialog"
    fi
  else
    fail "no ... button"
  fi
  keys tab tab   # past the parameters (the "..." button takes no focus)
  [ "$(focused)" = "ComboBox WinKey+Alt+F1" ] || fail "Tab did not reach the key list on F1: $(focused)"
  keys down      # WinKey+Alt+F2
  zk press-hotkey 4 9 >/dev/null  # Shift+Tab
  [ "$(focused)" = "Edit " ] || fail "Shift+Tab did not go back to the empty parameters: $(focused)"
  keys enter esc
  message 1500 >/dev/null && fail "Enter or Esc pressed a button"
  zk wait-visible TfrmAdd Add 0 || fail "Enter or Esc closed the dialog"
  keys tab tab
  [ "$(focused)" = "Button OK" ] || fail "Tab did not reach OK: $(focused)"
  zk press-hotkey 0 32 >/dev/null  # Space presses the focused button
  local msg
  msg=$(message) || fail "no message after OK"
  [ "$msg" = "Zentrik|SUCCESS: WinKey+Alt+F2" ] || fail "unexpected message [$msg]"
  [ "$(zk count-windows TfrmAdd '*' visible)" = 0 ] || fail "the dialog was still shown with SUCCESS"
  zk dialog-ok 5000 >/dev/null
  zk wait-no-window TfrmAdd '*' 10000 >/dev/null || fail "the dialog was not destroyed"
  local want1='cGFk|F2|113|bm90ZXBhZA==|'
  [ "$(cat "$DATA_DIR/znks.ini" 2>/dev/null)" = "$want1" ] ||
    fail "znks.ini is [$(cat "$DATA_DIR/znks.ini" 2>/dev/null)], expected [$want1]"
  zk hotkey-held 9 113 >/dev/null || fail "WinKey+Alt+F2 is not registered"

  # List II: "Add/Delete Hotkey II" follows list I's new entry, so it is
  # the fourteenth item now; the text gets two lines.
  if open_add 14 TfrmAdd2; then
    zk type-text thanks >/dev/null
    keys tab
    zk type-text Hello >/dev/null
    keys enter
    zk type-text World >/dev/null
    keys tab down down tab
    [ "$(focused)" = "Button OK" ] || fail "Tab did not reach OK in the text dialog: $(focused)"
    keys enter      # Enter presses the focused button
    msg=$(message) || fail "no message after OK in the text dialog"
    [ "$msg" = "Zentrik|SUCCESS: WinKey+Ctrl+F3" ] || fail "unexpected message [$msg]"
    zk dialog-ok 5000 >/dev/null
    zk wait-no-window TfrmAdd2 '*' 10000 >/dev/null || fail "the text dialog was not destroyed"
  else
    fail "Add... of list II opened no dialog (the menu did not get the new entry)"
  fi
  local want2='dGhhbmtz|F3|114|SGVsbG8NCldvcmxk'
  [ "$(cat "$DATA_DIR/znks2.ini" 2>/dev/null)" = "$want2" ] ||
    fail "znks2.ini is [$(cat "$DATA_DIR/znks2.ini" 2>/dev/null)], expected [$want2]"
  zk hotkey-held 10 114 >/dev/null || fail "WinKey+Ctrl+F3 is not registered"
  zk hotkey-held 9 113 >/dev/null || fail "WinKey+Alt+F2 was lost on the reload"

  # Both new hotkeys fire: the launch entry opens Notepad, the text entry
  # pastes its two lines into a focused edit control.
  zk press-hotkey 9 113 >/dev/null
  zk wait-window Notepad '*' 20000 >/dev/null || fail "WinKey+Alt+F2 opened no Notepad"
  timeout 60 wine "$DRIVER" edit-window 20000 >"$WORK/edit.txt" 2>>"$LOG" &
  local editor=$! out
  if zk wait-window zk_e2e_edit zk_e2e_edit 20000 >/dev/null; then
    sleep 1
    zk press-hotkey 10 114 >/dev/null
  else
    fail "the test window did not appear"
  fi
  wait "$editor"
  out=$(tr -d '\r' <"$WORK/edit.txt" | sed -n 's/^text: //p')
  [ "$out" = 'Hello\r\nWorld' ] || fail "WinKey+Ctrl+F3 pasted [$out], expected [Hello\r\nWorld]"

  # A pasted text of 40,000 characters, more than an edit control takes by
  # default, is stored whole (WinKey+Ctrl+F4).
  if open_add 14 TfrmAdd2; then
    zk type-text long >/dev/null
    keys tab
    zk paste-text 40000 >/dev/null || fail "could not paste into the text field"
    keys tab down*3 tab enter
    msg=$(message) || fail "no message after OK for the long text"
    [ "$msg" = "Zentrik|SUCCESS: WinKey+Ctrl+F4" ] || fail "unexpected message for the long text [$msg]"
    zk dialog-ok 5000 >/dev/null
    zk wait-no-window TfrmAdd2 '*' 10000 >/dev/null || fail "the text dialog was not destroyed"
    local long
    long=$(sed -n 2p "$DATA_DIR/znks2.ini" | cut -d'|' -f4 | base64 -d 2>/dev/null | wc -c)
    [ "$long" = 40000 ] || fail "the long text was stored with $long characters, expected 40000"
  else
    fail "Add... of list II did not open a second time"
  fi

  # The same key again in list I: "ERROR", the dialog stays as it was.
  if open_add 12 TfrmAdd; then
    zk type-text again >/dev/null
    keys tab
    zk type-text notepad >/dev/null
    keys tab tab down tab enter
    msg=$(message) || fail "no message for a taken key"
    [ "$msg" = "Zentrik|ERROR: WinKey+Alt+F2" ] || fail "unexpected message [$msg]"
    zk wait-visible TfrmAdd Add 0 || fail "the dialog was hidden with ERROR"
    zk dialog-ok 5000 >/dev/null
    zk wait-no-window '#32770' '*' 5000 >/dev/null
    sleep 0.5
    [ "$(focused)" = "Button OK" ] || fail "OK lost the focus after the message: $(focused)"
    keys tab enter  # Cancel
    zk wait-no-window TfrmAdd '*' 10000 >/dev/null || fail "Cancel did not close the dialog"
  else
    fail "Add... of list I did not open a second time"
  fi
  [ "$(cat "$DATA_DIR/znks.ini" 2>/dev/null)" = "$want1" ] || fail "the refused entry changed znks.ini"

  # The tray icon opens its menu again.
  zk_exit_by_menu || fail "the tray menu did not open after the dialogs"
  zk_wait_exit 15
  [ "$ZK_RC" = 0 ] || fail "exit code $ZK_RC after Exit, expected 0"
  finish
}

# --- bad input: a selection of tests/corpus/cases.tsv on the real program

# Starts the program on the present files and expects the error box $1 at
# start-up; after OK the program is still running, and it is ended.
bad_start_shows() {
  local box
  zk_start
  box=$(zk message-box 30000) || { fail "$2: no error box"; return; }
  grep -qxF "text: $1" <<<"$box" || fail "$2: unexpected box: $(tr '\n' ' ' <<<"$box" | cut -c1-200)"
  zk dialog-ok 5000 >/dev/null || fail "$2: could not press OK"
  sleep 1
  kill -0 "$ZK_PID" 2>/dev/null || fail "$2: the program ended after the error"
  wine_reset
}

case_bad_input() {
  begin bad-input
  local line want

  # A line of two fields, a key code that is not a number and a key name
  # that is not its key code's are skipped with one warning that names them
  # with the file's full path, a blank line without a word; the records
  # around them, also those after them, hold their hotkeys and work, also
  # while the warning is open, the tray icon is up and the file keeps its
  # bytes.
  fresh_state
  cp "$ARGS_EXE" "$WINEPREFIX/drive_c/Zentrik/zk_e2e_args.exe"
  rm -f "$ARGS_FILE"
  mkdir -p "$DATA_DIR"
  local args_exe box k
  args_exe=$(b64 'C:\Zentrik\zk_e2e_args.exe')
  { printf '%s|F1|112|%s|%s\r\n\r\n' "$(b64 First)" "$args_exe" "$(b64 first)"
    printf '%s|F2\r\n' "$(b64 Two)"
    printf '%s|F4|abc|%s|\r\n' "$(b64 Mail)" "$(b64 notepad)"
    printf '%s|F6|113|%s|%s\r\n' "$(b64 Odd)" "$args_exe" "$(b64 odd)"
    printf '%s|F3|114|%s|%s' "$(b64 After)" "$args_exe" "$(b64 after)"; } >"$DATA_DIR/znks.ini"
  want=$(od -An -tx1 "$DATA_DIR/znks.ini")
  zk_start
  if box=$(zk message-box 30000); then
    grep -qx 'caption: Warning' <<<"$box" || fail "skipped lines: the box is not a warning: $(tr '\n' ' ' <<<"$box")"
    local list="$APPDATA_WIN\\Zentrik\\znks.ini"
    for line in "$list, line 3: '' is not a valid integer value. The line was skipped." \
      "$list, line 4: 'abc' is not a valid integer value. The line was skipped." \
      "$list, line 5: F6 does not match key code 113. The line was skipped."; do
      tr -d '\r' <<<"$box" | grep -qF -- "$line" || fail "skipped lines: the warning lacks \"$line\""
    done
    grep -qF 'line 2:' <<<"$box" && fail "skipped lines: the warning names the blank line"
    # A launch hotkey pressed while the warning is open runs.
    zk press-hotkey 9 112 >/dev/null
    wait_lines "$ARGS_FILE" 20 1 || fail "skipped lines: WinKey+Alt+F1 did nothing while the warning was open"
    zk dialog-ok 5000 >/dev/null || fail "skipped lines: could not press OK"
  else
    fail "skipped lines: no warning"
  fi
  if zk_wait_ready; then
    for k in 112 114; do
      [ "$(zk hotkey-held 9 $k)" = held ] || fail "skipped lines: WinKey+Alt+$k is not registered"
    done
    [ "$(zk hotkey-held 9 113)" = held ] && fail "skipped lines: the mismatched record's key code 113 is registered"
    zk press-hotkey 9 114 >/dev/null
    if wait_lines "$ARGS_FILE" 20 2; then
      [ "$(tr -d '\r' <"$ARGS_FILE" | tr '\n' ' ')" = "first after " ] || fail "skipped lines: the hotkeys passed [$(tr '\r\n' '  ' <"$ARGS_FILE")]"
    else
      fail "skipped lines: the record after the skipped lines started nothing"
    fi
    # The icon answers a real click.
    xdotool mousemove $((DESK_W - 10)) $((DESK_H - 10)) click 1
    if zk wait-menu 10000; then
      zk press-key e >/dev/null
      zk_wait_exit 15
      [ "$ZK_RC" = 0 ] || fail "skipped lines: exit code $ZK_RC after Exit, expected 0"
    else
      fail "skipped lines: no tray menu from the icon"
    fi
  else
    fail "skipped lines: the program did not start"
  fi
  [ "$(od -An -tx1 "$DATA_DIR/znks.ini")" = "$want" ] || fail "skipped lines: znks.ini changed"
  wine_reset

  # CR-only line breaks and a NUL byte in a name: both entries load.
  fresh_state
  mkdir -p "$DATA_DIR"
  { printf '%s' "$(b64 Mail)"; printf '\0|F1|112|%s|\r' "$(b64 notepad)"
    printf '%s|F2|113|%s|\r' "$(b64 News)" "$(b64 notepad)"; } >"$DATA_DIR/znks.ini"
  want=$(od -An -tx1 "$DATA_DIR/znks.ini")
  if zk_start_ready; then
    zk message-box 0 >/dev/null && fail "CR breaks: a dialog box appeared"
    [ "$(zk hotkey-held 9 112)" = held ] || fail "CR breaks: WinKey+Alt+F1 is not registered"
    [ "$(zk hotkey-held 9 113)" = held ] || fail "CR breaks: WinKey+Alt+F2 is not registered"
    zk_exit_by_menu || fail "CR breaks: could not choose Exit on the tray menu"
    zk_wait_exit 15
    [ "$ZK_RC" = 0 ] || fail "CR breaks: exit code $ZK_RC after Exit, expected 0"
  fi
  [ "$(od -An -tx1 "$DATA_DIR/znks.ini")" = "$want" ] || fail "CR breaks: znks.ini changed"

  # A Run value that is not a string is an error and stays as it was.
  fresh_state
  wreg add "$RUN_KEY" /v Zentrik /t REG_DWORD /d 1 /f
  bad_start_shows "Invalid data type for 'Zentrik'" "Run value REG_DWORD"
  line=$(timeout 60 wine reg query "$RUN_KEY" /v Zentrik 2>/dev/null | tr -d '\r' | grep -c REG_DWORD)
  [ "$line" = 1 ] || fail "Run value REG_DWORD: the value was changed"
  wreg delete "$RUN_KEY" /v Zentrik /f
  finish
}

# --- list files as users keep them: a link, read-only, a write cut short

# Adds a launch entry $1 (file notepad) on WinKey+Alt+F2 through the tray
# menu and its dialog, and prints the message that OK brings ("caption|text").
add_on_f2() {
  open_add 12 TfrmAdd || return 1
  zk type-text "$1" >/dev/null
  keys tab
  zk type-text notepad >/dev/null
  keys tab tab down tab enter
  message
}

# znks.ini kept as a symbolic link into another folder: Add and Delete write
# the file it leads to, with no temporary file left there, and the link stays
# a link.
case_list_link() {
  begin list-link
  fresh_state
  local sync=$WINEPREFIX/drive_c/Sync first second msg
  rm -rf "$sync"
  mkdir -p "$DATA_DIR" "$sync"
  first="$(b64 First)|F1|112|$(b64 notepad)|"
  second="$(b64 Second)|F2|113|$(b64 notepad)|"
  printf '%s' "$first" >"$sync/znks.ini"
  ln -s "$sync/znks.ini" "$DATA_DIR/znks.ini"
  zk_start_ready || { finish; return; }
  msg=$(add_on_f2 Second) || fail "Add: no dialog or no message"
  [ "$msg" = "Zentrik|SUCCESS: WinKey+Alt+F2" ] || fail "Add: unexpected message [$msg]"
  zk dialog-ok 5000 >/dev/null
  zk wait-no-window TfrmAdd '*' 10000 >/dev/null || fail "Add: the dialog stayed"
  [ -L "$DATA_DIR/znks.ini" ] || fail "Add: znks.ini is no longer a link"
  [ "$(cat "$sync/znks.ini")" = "$first"$'\r\n'"$second" ] ||
    fail "Add: the link's file holds [$(tr '\r\n' '~~' <"$sync/znks.ini")]"
  zk hotkey-held 9 113 >/dev/null || fail "Add: WinKey+Alt+F2 is not registered"
  delete_entry 12 0 First $'First\nSecond'
  [ -L "$DATA_DIR/znks.ini" ] || fail "Delete: znks.ini is no longer a link"
  [ "$(od -An -c "$sync/znks.ini" | tr -s ' ')" = "$(printf '%s\r\n' "$second" | od -An -c | tr -s ' ')" ] ||
    fail "Delete: the link's file holds [$(tr '\r\n' '~~' <"$sync/znks.ini")]"
  [ "$(ls "$sync")" = znks.ini ] || fail "files left beside the link's file: $(ls "$sync" | tr '\n' ' ')"
  zk_exit_by_menu || fail "could not choose Exit on the tray menu"
  zk_wait_exit 15
  rm -rf "$sync"
  finish
}

# A list made read-only (chmod 444, the read-only attribute under Wine):
# Add and Delete are refused with "File access denied: <the list>.", and the
# file keeps its bytes and its mode.
case_list_read_only() {
  begin list-read-only
  fresh_state
  local msg want texts denied
  mkdir -p "$DATA_DIR"
  printf '%s|F1|112|%s|' "$(b64 First)" "$(b64 notepad)" >"$DATA_DIR/znks.ini"
  chmod 444 "$DATA_DIR/znks.ini"
  want=$(od -An -tx1 "$DATA_DIR/znks.ini")
  zk_start_ready || { finish; return; }
  msg=$(add_on_f2 Second) || fail "Add: no dialog or no message"
  denied="Zentrik|File access denied: $APPDATA_WIN\\Zentrik\\znks.ini."
  [ "$msg" = "$denied" ] || fail "Add: unexpected message [$msg]"
  zk dialog-ok 5000 >/dev/null
  zk wait-no-window '#32770' '*' 5000 >/dev/null
  click_control TfrmAdd Cancel || fail "Add: the dialog did not stay open"
  zk wait-no-window TfrmAdd '*' 10000 >/dev/null || fail "Add: Cancel did not close the dialog"
  local downs=() i
  for ((i = 0; i < 12; i++)); do downs+=(down); done
  menu_keys "${downs[@]}" right down enter || fail "no tray menu for Delete..."
  if texts=$(zk window-texts Delete 10000); then
    zk press-key tab space >/dev/null
    msg=$(message) || fail "Delete: no message"
    [ "$msg" = "$denied" ] || fail "Delete: unexpected message [$msg]"
    zk dialog-ok 5000 >/dev/null
    zk wait-no-window '#32770' '*' 5000 >/dev/null
    click_control TfrmDel Cancel || fail "Delete: the dialog did not stay open"
    zk wait-no-window '*' Delete 10000 >/dev/null || fail "Delete: Cancel did not close the dialog"
  else
    fail "no Delete dialog"
  fi
  [ "$(od -An -tx1 "$DATA_DIR/znks.ini")" = "$want" ] || fail "znks.ini changed"
  [ "$(stat -c %a "$DATA_DIR/znks.ini")" = 444 ] || fail "znks.ini lost its mode: $(stat -c %a "$DATA_DIR/znks.ini")"
  [ "$(ls "$DATA_DIR" | grep -c tmp)" = 0 ] || fail "a temporary file was left"
  zk_exit_by_menu || fail "could not choose Exit on the tray menu"
  zk_wait_exit 15
  chmod 644 "$DATA_DIR/znks.ini"
  finish
}

# The program is killed (kill -9) while an add writes a large list: the list
# stays whole, and the next start removes the temporary file left behind.
case_kill_during_add() {
  begin kill-during-add
  fresh_state
  local first second child want got size
  mkdir -p "$DATA_DIR"
  second="$(b64 Second)|F2|113|$(b64 notepad)|"
  # One record whose file field takes some 64 MB, so that writing it takes a while.
  first="$(b64 Big)|F1|112|$(head -c 48000000 /dev/zero | base64 -w0)|"
  printf '%s' "$first" >"$DATA_DIR/znks.ini"
  want=$(printf '%s' "$first" | md5sum)
  zk_start_ready || { finish; return; }
  child=$(child_pids "$ZK_PID")
  if [ -z "$child" ] || ! open_add 12 TfrmAdd; then
    fail "no program or no Add dialog"
    finish
    return
  fi
  zk type-text Second >/dev/null
  keys tab
  zk type-text notepad >/dev/null
  keys tab tab down tab
  # Kills the program as soon as the temporary file of the write appears.
  (
    shopt -s nullglob
    for ((i = 0; i < 1000000; i++)); do
      tmp=("$DATA_DIR"/znks.ini.*.tmp)
      if [ ${#tmp[@]} -gt 0 ]; then
        kill -9 $child
        echo killed
        exit 0
      fi
    done
  ) >"$WORK/kill.txt" &
  local killer=$!
  zk press-key enter >/dev/null
  wait "$killer"
  wait "$ZK_PID" 2>/dev/null
  if [ "$(cat "$WORK/kill.txt")" != killed ]; then
    fail "the write was not caught under way"
  else
    compgen -G "$DATA_DIR/znks.ini.*.tmp" >/dev/null || fail "the killed write left no temporary file to remove"
  fi
  # Whole: the old list, or the old record, CR LF and the new one.
  got=$(head -c "${#first}" "$DATA_DIR/znks.ini" | md5sum)
  size=$(stat -c %s "$DATA_DIR/znks.ini")
  [ "$got" = "$want" ] && { [ "$size" = ${#first} ] || [ "$size" = $((${#first} + 2 + ${#second})) ]; } ||
    fail "the list was damaged by the kill"
  zk wait-no-window TfrmMain Zentrik 10000 >/dev/null || fail "the killed copy's window stayed"
  zk_start_ready || { finish; return; }
  local left
  left=$(cd "$DATA_DIR" && ls | grep -v '^cfg.ini$\|^znks.ini$\|^znks2.ini$' | tr '\n' ' ')
  [ -z "$left" ] || fail "files left after the restart: $left"
  zk hotkey-held 9 112 >/dev/null || fail "WinKey+Alt+F1 is not registered after the restart"
  zk_exit_by_menu || fail "could not choose Exit on the tray menu"
  zk_wait_exit 15
  finish
}

# --- hotkeys held by another program, a list link into a missing folder

# Another program holds WinKey+Alt+F1, WinKey+Ctrl+F2 and WinKey+Shift+N
# before the start, and the lists have entries on F1 and F2: one warning
# names the three by keys and name, the program keeps running with its other
# hotkeys, and the entries stay on the menu.
case_held_hotkeys() {
  begin held-hotkeys
  fresh_state
  local holder box want
  mkdir -p "$DATA_DIR"
  printf '%s|F1|112|%s|' "$(b64 Notes)" "$(b64 notepad)" >"$DATA_DIR/znks.ini"
  printf '%s|F2|113|%s' "$(b64 Greeting)" "$(b64 Hello)" >"$DATA_DIR/znks2.ini"
  timeout 300 wine "$DRIVER" hold-hotkeys 240000 9 112 10 113 12 78 >"$WORK/holder.txt" 2>>"$LOG" &
  holder=$!
  zk wait-window zk_e2e_hotkeys '*' 20000 >/dev/null || fail "the other program did not start"
  zk_start
  if box=$(zk message-box 30000); then
    grep -qx 'caption: Warning' <<<"$box" || fail "the box is not a warning: $(tr '\n' ' ' <<<"$box")"
    for want in 'Another program or Windows holds these hotkeys' 'WinKey+Shift+N (Notepad)' \
      'WinKey+Alt+F1 (Notes)' 'WinKey+Ctrl+F2 (Greeting)'; do
      tr -d '\r' <<<"$box" | grep -qF -- "$want" || fail "the warning lacks \"$want\""
    done
    zk dialog-ok 5000 >/dev/null || fail "could not press OK"
  else
    fail "no warning"
  fi
  if zk_wait_ready; then
    kill -0 "$ZK_PID" 2>/dev/null || fail "the program ended"
    zk message-box 2000 >/dev/null && fail "a second box came"
    [ "$(zk hotkey-held 12 73)" = held ] || fail "WinKey+Shift+I is not registered"
    [ "$(tr -d '\r' <"$WORK/holder.txt")" = "held: 3" ] || fail "the other program holds [$(cat "$WORK/holder.txt")]"
    zk_exit_by_menu || fail "could not choose Exit on the tray menu"
    zk_wait_exit 15
    [ "$ZK_RC" = 0 ] || fail "exit: $ZK_RC"
  else
    fail "the program did not get ready"
  fi
  zk post-message zk_e2e_hotkeys '*' 0x10 0 >/dev/null
  wait "$holder"
  finish
}

# znks.ini is a symbolic link into a folder that is not there (a synced
# folder not mounted yet), znks2.ini one whose target is missing in a folder
# that is: the start names the first in a warning and leaves it a link, with
# nothing made; it makes the second's target through the link. An add on
# list I fails with an error that names the file, and the link stays.
case_dangling_link() {
  begin dangling-link
  fresh_state
  local sync=$WINEPREFIX/drive_c/Sync gone=$WINEPREFIX/drive_c/Gone box msg
  rm -rf "$sync" "$gone"
  mkdir -p "$DATA_DIR" "$sync"
  ln -s "$gone/znks.ini" "$DATA_DIR/znks.ini"
  ln -s "$sync/znks2.ini" "$DATA_DIR/znks2.ini"
  zk_start
  if box=$(zk message-box 30000); then
    grep -qx 'caption: Warning' <<<"$box" || fail "the box is not a warning: $(tr '\n' ' ' <<<"$box")"
    tr -d '\r' <<<"$box" | grep -qF -- "$APPDATA_WIN\\Zentrik\\znks.ini is a link" ||
      fail "the warning does not name znks.ini: $(tr '\n' ' ' <<<"$box")"
    tr -d '\r' <<<"$box" | grep -qF -- "the link was left as it is." || fail "the warning lacks its end"
    zk dialog-ok 5000 >/dev/null || fail "could not press OK"
  else
    fail "no warning"
  fi
  if zk_wait_ready; then
    [ -L "$DATA_DIR/znks.ini" ] || fail "znks.ini is no longer a link"
    [ -e "$gone" ] && fail "the missing folder was made"
    [ -L "$DATA_DIR/znks2.ini" ] || fail "znks2.ini is no longer a link"
    [ -f "$sync/znks2.ini" ] && [ ! -s "$sync/znks2.ini" ] || fail "znks2.ini's target was not made empty"
    msg=$(add_on_f2 Second) || fail "Add: no dialog or no message"
    grep -qF -- "$APPDATA_WIN\\Zentrik\\znks.ini" <<<"$msg" || fail "Add: the error does not name the file [$msg]"
    zk dialog-ok 5000 >/dev/null
    zk wait-no-window '#32770' '*' 5000 >/dev/null
    click_control TfrmAdd Cancel || fail "Add: the dialog did not stay open"
    zk wait-no-window TfrmAdd '*' 10000 >/dev/null || fail "Add: Cancel did not close the dialog"
    [ -L "$DATA_DIR/znks.ini" ] || fail "Add: znks.ini is no longer a link"
    [ "$(ls "$DATA_DIR" | grep -c tmp)" = 0 ] || fail "a temporary file was left"
    zk_exit_by_menu || fail "could not choose Exit on the tray menu"
    zk_wait_exit 15
  else
    fail "the program did not get ready"
  fi
  rm -rf "$sync"
  finish
}

# A check mark pasted into the name of "Add..." of list II (Wine keeps it
# in the field, though code page 1252 has no byte for it): OK refuses it,
# naming the field and the character, and the list stays as it was; "café"
# pasted the same way is stored in the bytes of the code page.
case_add_unicode_refused() {
  begin add-unicode-refused
  fresh_state
  local msg want
  zk_start_ready || { finish; return; }
  want=$(od -An -tx1 "$DATA_DIR/znks2.ini")
  # List II is the thirteenth item of the menu while both lists are empty.
  if open_add 13 TfrmAdd2; then
    zk paste-unicode 2713 20 63 68 65 63 6B >/dev/null || fail "could not paste the check mark"
    keys tab
    zk type-text hello >/dev/null
    keys tab tab enter
    msg=$(message) || fail "no message after OK"
    [ "$msg" = "Zentrik|ERROR: Name: the character U+2713 cannot be stored in the list." ] ||
      fail "unexpected message [$msg]"
    zk dialog-ok 5000 >/dev/null
    zk wait-no-window '#32770' '*' 5000 >/dev/null
    zk wait-visible TfrmAdd2 Add 0 || fail "the dialog did not stay open"
    keys tab enter  # Cancel
    zk wait-no-window TfrmAdd2 '*' 10000 >/dev/null || fail "Cancel did not close the dialog"
  else
    fail "Add... of list II opened no dialog"
  fi
  [ "$(od -An -tx1 "$DATA_DIR/znks2.ini")" = "$want" ] || fail "the refused text changed znks2.ini"
  if open_add 13 TfrmAdd2; then
    zk paste-unicode 63 61 66 E9 >/dev/null || fail "could not paste café"
    keys tab
    zk type-text hello >/dev/null
    keys tab tab enter
    msg=$(message) || fail "no message after OK for café"
    [ "$msg" = "Zentrik|SUCCESS: WinKey+Ctrl+F1" ] || fail "unexpected message for café [$msg]"
    zk dialog-ok 5000 >/dev/null
    zk wait-no-window TfrmAdd2 '*' 10000 >/dev/null || fail "the dialog was not destroyed"
  else
    fail "Add... of list II did not open a second time"
  fi
  [ "$(cat "$DATA_DIR/znks2.ini" 2>/dev/null)" = 'Y2Fm6Q==|F1|112|aGVsbG8=' ] ||
    fail "znks2.ini is [$(cat "$DATA_DIR/znks2.ini" 2>/dev/null)], expected café in code page 1252"
  zk_exit_by_menu || fail "could not choose Exit on the tray menu"
  zk_wait_exit 15
  finish
}

for c in "${CASES[@]}"; do
  wanted "$c" || continue
  case $c in
    single-instance) case_single_instance ;;
    old-windows) case_old_windows ;;
    builtin-hotkeys) case_builtin_hotkeys ;;
    tray-menu) case_tray_menu ;;
    first-start-files) case_first_start_files ;;
    restart-after-kill) case_restart_after_kill ;;
    launch-entry) case_launch_entry ;;
    paste-entry) case_paste_entry ;;
    paste-beside-watcher) case_paste_beside_watcher ;;
    paste-beside-bare-watcher) case_paste_beside_bare_watcher ;;
    paste-beside-slow-watcher) case_paste_beside_slow_watcher ;;
    paste-winkey-held) case_paste_winkey_held ;;
    volume-hotkeys) case_volume_hotkeys ;;
    session-end-asks) case_session_end_asks ;;
    add-entries) case_add_entries ;;
    delete-entries) case_delete_entries ;;
    about-box) case_about_box ;;
    links) case_links ;;
    bad-input) case_bad_input ;;
    told-to-end) case_told_to_end ;;
    list-link) case_list_link ;;
    list-read-only) case_list_read_only ;;
    kill-during-add) case_kill_during_add ;;
    held-hotkeys) case_held_hotkeys ;;
    dangling-link) case_dangling_link ;;
    add-unicode-refused) case_add_unicode_refused ;;
  esac
done

echo "e2e: $PASSED passed, $FAILED failed ($(($(date +%s) - START_TIME)) s)"
[ "$FAILED" -eq 0 ] && [ "$PASSED" -gt 0 ]
