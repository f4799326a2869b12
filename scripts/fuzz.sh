#!/usr/bin/env bash
# Fuzzes the parsers of hand-editable input with libFuzzer (clang, ASan and
# UBSan, on the simulated Windows): the Base64 decoder, the record parser,
# the entry lookup by key code, the list loader that fills the tray menu and
# the delete dialog's line splitting.
#
#   scripts/fuzz.sh              20 seconds per target (part of scripts/test.sh)
#   scripts/fuzz.sh SECONDS      that long per target
#   scripts/fuzz.sh --hours H    H hours in all, shared among the targets
#
# Each target starts from its seeds in tests/fuzz/seeds and keeps what it
# learns in build/fuzz/corpus; a crashing input is saved in
# build/fuzz/crashes and the exit code is non-zero.
set -u -o pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
TARGETS=(base64 record deletelist lookup listload)
SECONDS_EACH=20
case "${1:-}" in
  "") ;;
  --hours)
    [ -n "${2:-}" ] || { echo "usage: $0 [SECONDS | --hours H]" >&2; exit 2; }
    SECONDS_EACH=$(awk -v h="$2" -v n=${#TARGETS[@]} 'BEGIN { printf "%d", h * 3600 / n }') ;;
  *[!0-9]*) echo "usage: $0 [SECONDS | --hours H]" >&2; exit 2 ;;
  *) SECONDS_EACH=$1 ;;
esac

BUILD="$ROOT/build/fuzz"
cmake -S "$ROOT/tests/fuzz" -B "$BUILD" -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null &&
  cmake --build "$BUILD" -j "${ZK_JOBS:-2}" || { echo "fuzz: build failed" >&2; exit 1; }

FAILED=0
for t in "${TARGETS[@]}"; do
  mkdir -p "$BUILD/corpus/$t" "$BUILD/crashes"
  log="$BUILD/fuzz_$t.log"
  "$BUILD/fuzz_$t" -max_total_time="$SECONDS_EACH" -print_final_stats=1 \
    -artifact_prefix="$BUILD/crashes/$t-" "$BUILD/corpus/$t" "$ROOT/tests/fuzz/seeds/$t" >"$log" 2>&1
  rc=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  if [ "$rc" -eq 0 ]; then
    echo "fuzz_$t: ${runs:-?} inputs in $SECONDS_EACH s, no failure"
  else
    FAILED=1
    echo "fuzz_$t: FAILED after ${runs:-?} inputs (exit code $rc); log: $log"
    grep -E "ERROR|SUMMARY|Test unit written" "$log" | head -5
  fi
done
exit "$FAILED"
