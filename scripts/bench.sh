#!/usr/bin/env bash
# Benchmark: measures zentrik.exe beside a bare tray program under the same
# Wine, in one virtual desktop on a private X server, alternating, several
# rounds each, and prints one table of medians and ratios. Not a test: it
# asserts nothing. Usage: scripts/bench.sh [ROUNDS]   (default 5)
# ZK_BENCH_EXE and ZK_BENCH_SHIPPED name another program to run and another
# shipped file to weigh (an older build, say).
set -u -o pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
ROUNDS=${1:-5}
cd "$ROOT" || exit 1
. tests/e2e/wine_env.sh

# What it needs: the shipped file (win32 preset) and the programs this
# machine's Wine runs (the same preset, or win64 where 32-bit programs
# cannot run).
build() { cmake --preset "$1" >/dev/null && cmake --build --preset "$1" >/dev/null; }
echo "bench: building" >&2
build win32 || { echo "bench: the win32 build failed" >&2; exit 1; }
WIN_BUILD=$(zk_win_build)
[ "$WIN_BUILD" = build/win32 ] || build "${WIN_BUILD#build/}" || { echo "bench: the $WIN_BUILD build failed" >&2; exit 1; }

zk_workspace zk-bench || exit 1
trap 'zk_teardown 0' EXIT
trap 'exit 3' INT TERM
zk_start_xvfb 1024 768 "$WORK" "$LOG" || { echo "bench: Xvfb did not start" >&2; exit 1; }
echo "bench: preparing a Wine prefix" >&2
zk_make_prefix 1024 768 "$LOG" || { echo "bench: creating the Wine prefix failed" >&2; exit 1; }
DIR=$WINEPREFIX/drive_c/bench
mkdir -p "$DIR"
cp "${ZK_BENCH_EXE:-$WIN_BUILD/zentrik.exe}" "$WIN_BUILD/tests/bench/zk_bare_tray.exe" "$WIN_BUILD/tests/bench/zk_bench.exe" "$DIR/"
APPDATA_WIN=$(timeout 60 wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')
DATA=$(timeout 60 winepath -u "$APPDATA_WIN\\Zentrik" 2>/dev/null | tr -d '\r')
[ -n "$DATA" ] || { echo "bench: no application data folder" >&2; exit 1; }
mkdir -p "$DATA"

# run EXE SETTLE_MS IDLE_MS MENU [ARGUMENTS]: "startup_ms private_bytes menu_ms".
run() { timeout 900 wine 'C:\bench\zk_bench.exe' start "C:\\bench\\$1" "$2" "$3" "$4" ${5:+"$5"} 2>>"$LOG" | tr -d '\r'; }
median() { sort -g | awk '{v[NR]=$1} END {if (NR == 0) print "nan"; else if (NR % 2) print v[(NR+1)/2]; else print (v[NR/2]+v[NR/2+1])/2}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {if (b > 0) printf "%.2f", a/b; else print "n/a"}'; }

# lists N [last]: N records in each list, key codes cycling through A to
# Z; launch entries open Notepad, text entry I pastes "Line I". With
# "last", the last record alone has key code 90 (Z), the others cycle
# through A to Y, and launch entries start zk_signal.exe, which sets the
# event ZkBenchLaunched.
lists() {
  python3 - "$DATA" "$1" "${2:-}" <<'PY'
import base64, sys
folder, n, last = sys.argv[1], int(sys.argv[2]), sys.argv[3] == "last"
b = lambda s: base64.b64encode(s.encode()).decode()
if last:
    key = lambda i: 90 if i == n - 1 else 65 + i % 25
    exe, params = b('C:\\bench\\zk_signal.exe'), b('ZkBenchLaunched')
else:
    key = lambda i: 65 + i % 26
    exe, params = b('notepad.exe'), b('')
launch = [f"{b('Entry %d' % i)}|{chr(key(i))}|{key(i)}|{exe}|{params}" for i in range(n)]
text = [f"{b('Text %d' % i)}|{chr(key(i))}|{key(i)}|{b('Line %d' % i)}" for i in range(n)]
for name, lines in (("znks.ini", launch), ("znks2.ini", text)):
    with open(f"{folder}/{name}", "w", newline="") as f:
        f.write("".join(line + "\r\n" for line in lines))
PY
}

# measure NAME EXE ROUNDS MENU: medians of start-up, private bytes and menu.
measure() {
  local i out
  : >"$WORK/$1"
  for i in $(seq "$3"); do
    out=$(run "$2" 1000 0 "$4")
    echo "$out" >>"$WORK/$1"
    echo "bench: $1 round $i: $out" >&2
  done
  S_MS=$(awk '{print $1}' "$WORK/$1" | median)
  S_MEM=$(awk '{print $2}' "$WORK/$1" | median)
  S_MENU=$(awk '{print $3}' "$WORK/$1" | median)
  S_MENU2=$(awk '{print $4}' "$WORK/$1" | median)
}

# The Linux process of C:\bench\EXE in this prefix.
bench_pid() {
  local pid args
  while read -r pid args; do
    [ "$args" = "C:\\bench\\$1" ] || continue
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && { echo "$pid"; return; }
  done < <(ps -eo pid=,args=)
}
# Voluntary context switches of all the process's threads.
switches() {
  local sum=0 t
  for t in /proc/"$1"/task/*/status; do
    sum=$((sum + $(awk '/^voluntary_ctxt_switches/ {print $2}' "$t" 2>/dev/null || echo 0)))
  done
  echo "$sum"
}
# idle EXE [ARGUMENTS]: "wake-ups private_kib": the voluntary context switches over 10 s
# of idling from 6 s after the start, and the private (anonymous) memory
# the process holds then, as Linux counts it.
idle() {
  local pid before after mem
  run "$1" 2000 17000 0 "${2:-}" >/dev/null &
  sleep 6
  pid=$(bench_pid "$1${2:+ $2}")
  if [ -z "$pid" ]; then wait; echo "n/a n/a"; return; fi
  mem=$(awk '/^RssAnon/ {print $2}' "/proc/$pid/status")
  before=$(switches "$pid")
  sleep 10
  after=$(switches "$pid")
  wait
  echo "$((after - before)) $mem"
}

# Start-up and memory, alternating the two programs round by round.
lists 0
: >"$WORK/bare"; : >"$WORK/empty"
for i in $(seq "$ROUNDS"); do
  run zk_bare_tray.exe 1000 0 0 >>"$WORK/bare"
  run zentrik.exe 1000 0 1 >>"$WORK/empty"
  echo "bench: round $i of $ROUNDS" >&2
done
BARE_MS=$(awk '{print $1}' "$WORK/bare" | median); BARE_MEM=$(awk '{print $2}' "$WORK/bare" | median)
ZK_MS=$(awk '{print $1}' "$WORK/empty" | median); ZK_MEM=$(awk '{print $2}' "$WORK/empty" | median)
ZK_MENU=$(awk '{print $3}' "$WORK/empty" | median); ZK_MENU2=$(awk '{print $4}' "$WORK/empty" | median)
read -r WAKE_ZK ZK_ANON < <(idle zentrik.exe)
read -r WAKE_BARE BARE_ANON < <(idle zk_bare_tray.exe)
# The bare program once more, finding its data folder and reading its
# files as the program must at start (Wine's shell32 sets itself up for it).
read -r _ DATA_ANON < <(idle zk_bare_tray.exe /data)
lists 48
measure full zentrik.exe "$ROUNDS" 0; FULL_MS=$S_MS
lists 5000
measure big zentrik.exe 3 1; BIG_MS=$S_MS; BIG_MENU=$S_MENU; BIG_MENU2=$S_MENU2
READ_MS=$(python3 -c "import time,sys;t=time.perf_counter();open(sys.argv[1],'rb').read();print('%.1f'%((time.perf_counter()-t)*1000))" "$DATA/znks.ini")
# --- hotkey to action and entry lookup -------------------------------------
cp "$WIN_BUILD/tests/bench/zk_signal.exe" "$WIN_BUILD/tests/bench/zk_lookup_bench.exe" "$DIR/"
LIST_WIN="$APPDATA_WIN\\Zentrik\\znks.ini"
# hotkeys FILE COMMAND: ten trials of WinKey+Ctrl+Z and WinKey+Alt+Z on the
# program COMMAND starts, "paste_ms launch_ms" a line, appended to FILE.
hotkeys() {
  timeout 600 wine 'C:\bench\zk_bench.exe' hotkey 90 "Line 47" ZkBenchLaunched 10 "$2" 2>>"$LOG" | tr -d '\r' >>"$1"
}
# column FILE N: the median of the Nth column's successful trials (>= 0),
# and " (K failed)" when some did not happen within 10 s.
column() {
  local failed
  failed=$(awk -v n="$2" '$n < 0 {k++} END {print k + 0}' "$1")
  printf '%s%s' "$(awk -v n="$2" '$n >= 0 {print $n}' "$1" | median)" "$([ "$failed" = 0 ] || echo " ($failed failed)")"
}
lists 48 last
: >"$WORK/hk_bare"; : >"$WORK/hk_zk"
for i in $(seq "$ROUNDS"); do
  hotkeys "$WORK/hk_bare" 'C:\bench\zk_bare_tray.exe 90 "Line 47" C:\bench\zk_signal.exe ZkBenchLaunched'
  hotkeys "$WORK/hk_zk" 'C:\bench\zentrik.exe'
  echo "bench: hotkey round $i of $ROUNDS" >&2
done
HK_PASTE=$(column "$WORK/hk_zk" 1); HK_PASTE_BARE=$(column "$WORK/hk_bare" 1)
HK_LAUNCH=$(column "$WORK/hk_zk" 2); HK_LAUNCH_BARE=$(column "$WORK/hk_bare" 2)
# Each size: "lookup_us with_path_us plain_us", alternating in ten batches
# a round; with_path adds finding the list file's path, as a hotkey does.
for n in 48 1000 100000; do
  lists "$n" last
  read -r LOOKUP WITH_PATH PLAIN < <(timeout 600 wine 'C:\bench\zk_lookup_bench.exe' "$LIST_WIN" 90 $((ROUNDS * 10)) 2>>"$LOG" | tr -d '\r')
  printf -v "LOOKUP_$n" '%s' "${LOOKUP:-nan}"; printf -v "PLAIN_$n" '%s' "${PLAIN:-nan}"
  printf -v "WITH_PATH_$n" '%s' "${WITH_PATH:-nan}"
  echo "bench: lookup in $n records: ${LOOKUP:-failed} us, with the path ${WITH_PATH:-failed} us (read + scan ${PLAIN:-failed} us)" >&2
done
# --- reload after an add, and scale ------------------------------------------
# reload N: the median over ROUNDS of the milliseconds from the OK on an
# add's "SUCCESS" box until the Add dialog is gone (the release and reload
# of every user entry), with N records a list before the add; n/a when no
# round got through.
reload() {
  local i out
  : >"$WORK/reload"
  for i in $(seq "$ROUNDS"); do
    lists "$1"
    out=$(timeout 300 wine 'C:\bench\zk_bench.exe' add 'C:\bench\zentrik.exe' 2>>"$LOG" | tr -d '\r')
    stray zentrik.exe
    echo "bench: reload after an add, $1 a list, round $i: ${out:-timeout}" >&2
    case $out in ''|-*) ;; *) echo "$out" >>"$WORK/reload" ;; esac
  done
  if [ -s "$WORK/reload" ]; then median <"$WORK/reload"; else echo n/a; fi
}
# Ends the prefix's copy of EXE that a helper stopped by timeout left behind.
stray() {
  local pid
  pid=$(bench_pid "$1")
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  return 0
}
# scale N: "startup_ms menu_ms [box text]" with N records a list, one run,
# or "n/a (timeout)" after 10 minutes. Start-up ends when the main window
# answers (WaitForInputIdle may return before the lists are loaded).
scale() {
  local out
  lists "$1"
  out=$(timeout 600 wine 'C:\bench\zk_bench.exe' scale 'C:\bench\zentrik.exe' 2>>"$LOG" | tr -d '\r')
  stray zentrik.exe
  echo "bench: scale, $1 a list: ${out:-timeout}" >&2
  echo "${out:-n/a (timeout)}"
}
# per1000 MS N: milliseconds per 1,000 records over the empty lists' start-up.
per1000() { awk -v t="$1" -v e="$ZK_MS" -v n="$2" 'BEGIN {if (t ~ /^[0-9.]+$/) printf "%.1f", (t - e) * 1000 / n; else print "n/a"}'; }
# ms VALUE: "VALUE ms" for a time, the text itself for anything else.
ms() { case $1 in [0-9]*) echo "$1 ms" ;; *) echo "$1" ;; esac; }
RELOAD=$(reload 48)
RELOAD0=$(reload 0)
read -r SCALE_MS SCALE_MENU _ < <(scale 5000)
HUGE=$(scale 42500)
case $HUGE in
  n/a*) HUGE_MS=$HUGE; HUGE_MENU=$HUGE ;;
  *) read -r HUGE_MS HUGE_MENU HUGE_BOX <<<"$HUGE"
     # No menu: either the program showed a box instead, or none opened.
     [ -n "${HUGE_BOX:-}" ] && HUGE_MENU="none, box \"$HUGE_BOX\""
     case $HUGE_MENU in -*) HUGE_MENU="none within 60 s" ;; esac ;;
esac
case $SCALE_MS in n/a*) SCALE_MS="n/a (timeout)"; SCALE_MENU=$SCALE_MS ;; esac
case $SCALE_MENU in -*) SCALE_MENU="none within 60 s" ;; esac
P10=$(per1000 "$SCALE_MS" 10000); P85=$(per1000 "$HUGE_MS" 85000)
case $P85 in n/a) P_RATIO="-" ;; *) P_RATIO="$(ratio "$P85" "$P10")x" ;; esac
# A load stopped by an error did less than the whole list: no ratio then.
[ -z "${HUGE_BOX:-}" ] || P_RATIO="- (stopped)"

SIZE=$(stat -c %s "${ZK_BENCH_SHIPPED:-build/win32/zentrik.exe}")

printf '\nZentrik benchmark, %s; Wine %s (%s-bit programs), %s rounds, medians\n' \
  "$(date -u +%Y-%m-%d)" "$(wine --version 2>/dev/null)" "$(zk_wine_bits)" "$ROUNDS"
printf 'machine: %s, %s cores\n\n' "$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')" "$(nproc)"
printf '| %-44s | %-30s | %-9s | %-11s |\n' figure measured ratio goal
printf '|%s|%s|%s|%s|\n' "$(printf -- '-%.0s' {1..46})" "$(printf -- '-%.0s' {1..32})" "$(printf -- '-%.0s' {1..11})" "$(printf -- '-%.0s' {1..13})"
row() { printf '| %-44s | %-30s | %-9s | %-11s |\n' "$1" "$2" "$3" "$4"; }
row "size of zentrik.exe (win32 preset)" "$SIZE bytes ($((SIZE / 1024)) KiB)" "-" "<= 320 KiB"
row "start-up, ms (bare program)" "$ZK_MS ($BARE_MS)" "$(ratio "$ZK_MS" "$BARE_MS")x" "<= 1.1x"
if [ "$ZK_MEM" -gt 0 ]; then
  row "private bytes after start (bare)" "$((ZK_MEM / 1024)) KiB ($((BARE_MEM / 1024)) KiB)" "+$(((ZK_MEM - BARE_MEM) / 1024)) KiB" "<= +384 KiB"
else
  # Wine reports no private bytes for another process; Linux's count of
  # the process's anonymous memory stands in.
  row "private memory after start, RssAnon (bare)" "$ZK_ANON KiB ($BARE_ANON KiB)" "+$((ZK_ANON - BARE_ANON)) KiB" "<= +384 KiB"
  row "  the same, bare program with its data folder" "$ZK_ANON KiB ($DATA_ANON KiB)" "+$((ZK_ANON - DATA_ANON)) KiB" "-"
fi
row "idle wake-ups in 10 s (bare)" "$WAKE_ZK ($WAKE_BARE)" "-" "0"
row "start-up, 96 entries over empty lists" "$FULL_MS ms ($ZK_MS ms)" "$(ratio "$FULL_MS" "$ZK_MS")x" "<= 1.1x"
row "menu opening, empty lists: 1st, 2nd" "$ZK_MENU ms, $ZK_MENU2 ms" "-" "< 100 ms"
row "start-up, 10,000 records (5,000 a list)" "$BIG_MS ms (file read $READ_MS ms)" "$(ratio "$BIG_MS" "$ZK_MS")x" "linear"
row "menu opening, 10,000 records: 1st, 2nd" "$BIG_MENU ms, $BIG_MENU2 ms" "-" "< 100 ms"
row "reload after an add, 96 entries (release + reload)" "$(ms "$RELOAD") (empty lists: $(ms "$RELOAD0"))" "-" "report"
row "scale: start-up, 10,000 / 85,000 records" "$(ms "$SCALE_MS") / $(ms "$HUGE_MS")" "-" "linear"
row "scale: start-up per 1,000 records over empty" "$(ms "$P10") / $(ms "$P85")" "$P_RATIO" "1x (linear)"
row "scale: 1st menu opening, 10,000 / 85,000" "$(ms "$SCALE_MENU") / $(ms "$HUGE_MENU")" "-" "< 100 ms"
row "hotkey to paste, ms (bare program)" "$HK_PASTE ($HK_PASTE_BARE)" "$(ratio "${HK_PASTE%% *}" "${HK_PASTE_BARE%% *}")x" "<= 1.2x"
row "hotkey to launch, ms (bare program)" "$HK_LAUNCH ($HK_LAUNCH_BARE)" "$(ratio "${HK_LAUNCH%% *}" "${HK_LAUNCH_BARE%% *}")x" "<= 1.2x"
for n in 48 1000 100000; do
  look=LOOKUP_$n; plain=PLAIN_$n
  row "entry lookup, $n records, us (read+scan)" "${!look} (${!plain})" "$(ratio "${!look}" "${!plain}")x" "<= 1.5x"
done
row "path + lookup, 48 records, us (read+scan)" "$WITH_PATH_48 ($PLAIN_48)" "$(ratio "$WITH_PATH_48" "$PLAIN_48")x" "<= 1.5x"
