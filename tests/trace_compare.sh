#!/usr/bin/env bash
# Compares the platform calls of every fault-matrix run between two builds.
#
# Runs the fault matrix of each build's unit tests with ZK_TRACE_DIR set, so
# that every run (each operation's clean run and each faulted one) writes
# its calls, one a line, to NN-operation/RUN.trace; then compares the two
# folders file by file and prints how many runs were compared, how many are
# identical and how many differ (a run only one build made differs).
# The exit code is 0 only when every run is identical.
#
# Usage: tests/trace_compare.sh [--out DIR] A B
#   A, B   a build folder holding zentrik_tests (such as build/native), or a
#          checkout, whose native preset is then configured and built first;
#          the same folder twice checks that the traces are reproducible
#   --out  write the traces to DIR/a and DIR/b and keep them (default: a
#          temporary folder, kept only when some run differs)
set -u -o pipefail

usage() {
  sed -n 's/^# \{0,1\}//;11,16p' "${BASH_SOURCE[0]}" >&2
  exit 2
}

OUT=""
while [ $# -gt 0 ]; do
  case $1 in
    --out) [ $# -ge 2 ] || usage; OUT=$2; shift 2 ;;
    -*) usage ;;
    *) break ;;
  esac
done
[ $# -eq 2 ] || usage

# tests_of FOLDER: the unit test program of a build folder or a checkout.
tests_of() {
  if [ -x "$1/zentrik_tests" ]; then
    echo "$1/zentrik_tests"
  elif [ -f "$1/CMakePresets.json" ]; then
    (cd "$1" && cmake --preset native && cmake --build --preset native) >&2 || return 1
    echo "$1/build/native/zentrik_tests"
  else
    echo "trace_compare: $1 is neither a build folder with zentrik_tests nor a checkout" >&2
    return 1
  fi
}

# dump PROGRAM DIR: the traces of the program's fault matrix, in DIR.
dump() {
  rm -rf "$2" && mkdir -p "$2" || return 1
  echo "trace_compare: $1 -> $2"
  ZK_TRACE_DIR=$2 "$1" --gtest_filter='FaultMatrix.*' >"$2.log" 2>&1 ||
    echo "trace_compare: the fault matrix of $1 failed (see $2.log); its traces are compared still"
}

A=$(tests_of "$1") || exit 1
B=$(tests_of "$2") || exit 1
KEEP=1
[ -n "$OUT" ] || { OUT=$(mktemp -d) && KEEP=0; } || exit 1
dump "$A" "$OUT/a" || exit 1
dump "$B" "$OUT/b" || exit 1

compared=0 identical=0 differing=()
while IFS= read -r run; do
  compared=$((compared + 1))
  if cmp -s "$OUT/a/$run" "$OUT/b/$run"; then
    identical=$((identical + 1))
  else
    differing+=("$run")
  fi
done < <(cd "$OUT" && find a b -type f -name '*.trace' | cut -d/ -f2- | sort -u)

for run in "${differing[@]:0:20}"; do
  if [ ! -f "$OUT/a/$run" ]; then echo "  only in B: $run"
  elif [ ! -f "$OUT/b/$run" ]; then echo "  only in A: $run"
  else echo "  differs:   $run"
  fi
done
[ ${#differing[@]} -le 20 ] || echo "  ... and $((${#differing[@]} - 20)) more"
echo "trace_compare: runs compared $compared, identical $identical, differing ${#differing[@]}"
if [ ${#differing[@]} -gt 0 ] || [ "$compared" -eq 0 ]; then
  echo "trace_compare: traces kept in $OUT (diff -r $OUT/a $OUT/b)"
  exit 1
fi
if [ "$KEEP" -eq 0 ]; then rm -rf "$OUT"; else echo "trace_compare: traces in $OUT"; fi
