#!/usr/bin/env bash
# Runs every test: installs what is missing (Debian 12, as root), builds the
# native preset and runs the unit tests (simulated Windows, ASan+UBSan),
# builds the win32 preset and runs the end-to-end tests under Wine. Prints a
# summary; the exit code is non-zero when any step failed.
set -u -o pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# Parallel jobs: the build presets set their own; ZK_JOBS overrides them.
JOBS=()
[ -n "${ZK_JOBS:-}" ] && JOBS=(-j "$ZK_JOBS")

# shellcheck source=scripts/lib/deps.sh
. "$ROOT/scripts/lib/deps.sh"
zk_install_deps || { echo "test: installing the packages failed" >&2; exit 1; }
# shellcheck source=tests/e2e/wine_env.sh
. "$ROOT/tests/e2e/wine_env.sh"

cd "$ROOT" || exit 1
START=$(date +%s)
SUMMARY=()
FAILED=0

# step NAME COMMAND...: runs the command and records its outcome.
step() {
  local name=$1 t0 rc
  shift
  echo "==> $name"
  t0=$(date +%s)
  "$@"
  rc=$?
  if [ "$rc" -eq 0 ]; then
    SUMMARY+=("PASS  $name ($(($(date +%s) - t0)) s)")
  else
    SUMMARY+=("FAIL  $name (exit code $rc)")
    FAILED=1
  fi
  return "$rc"
}
skip() {
  SUMMARY+=("SKIP  $1 ($2)")
  FAILED=1
}

build_native() { cmake --preset native && cmake --build --preset native "${JOBS[@]}"; }
unit_tests() { ctest --preset native -j "${ZK_JOBS:-2}" --timeout 300 && fault_count; }
# The fault matrix's count of injected faults, from ctest's log.
fault_count() { grep -h '^fault matrix:' build/native/Testing/Temporary/LastTest.log || true; }
build_win32() { cmake --preset win32 && cmake --build --preset win32 "${JOBS[@]}"; }
# Where 32-bit programs cannot run, the end-to-end tests run a 64-bit build
# of the same sources under the 64-bit Wine (see tests/e2e/wine_env.sh).
build_win64() { cmake --preset win64 && cmake --build --preset win64 "${JOBS[@]}"; }

# The release (scripts/release.sh, built from the commit in a folder of its
# own): the zip holds its three files, its checksum verifies, README.txt has
# CR LF line ends, and its zentrik.exe is byte for byte build/win32's.
release_zip() {
  local name
  name=zentrik-$(sed -n 's/^project(Zentrik VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)-win32.zip
  scripts/release.sh >build/release.log 2>&1 || { tail -n 20 build/release.log; return 1; }
  [ "$(unzip -Z1 "dist/$name" | tr '\n' ' ')" = "zentrik.exe README.txt LICENSE.txt " ] ||
    { echo "release: dist/$name holds: $(unzip -Z1 "dist/$name" | tr '\n' ' ')"; return 1; }
  (cd dist && sha256sum -c "$name.sha256") || return 1
  ! unzip -p "dist/$name" README.txt | grep -q $'[^\r]$\|^$' ||
    { echo "release: README.txt has a line that does not end in CR LF"; return 1; }
  unzip -p "dist/$name" zentrik.exe | cmp - build/win32/zentrik.exe || {
    echo "release: the zip's zentrik.exe is not build/win32/zentrik.exe"
    [ -z "$(git status --porcelain --untracked-files=no)" ] ||
      echo "release: (the release is built from the commit; the working tree has uncommitted changes)"
    return 1
  }
}

# The end-to-end suite. Under a loaded machine Wine sometimes misses one of
# a case's time limits; a case that fails is run once more on its own, and
# the summary names every case that passed only on that second run.
RETRIED=()
e2e() {
  local rc c failed=() again=()
  tests/e2e/run.sh | tee "$ROOT/build/e2e-last.log"
  rc=${PIPESTATUS[0]}
  [ "$rc" -eq 0 ] && return 0
  mapfile -t failed < <(sed -n 's/^FAIL \([^:]*\):.*/\1/p' "$ROOT/build/e2e-last.log")
  [ ${#failed[@]} -eq 0 ] && return "$rc"  # the run itself failed, not a case
  for c in "${failed[@]}"; do again+=(--only "$c"); done
  echo "test: running the failed end-to-end cases once more: ${failed[*]}"
  tests/e2e/run.sh "${again[@]}" || return 1
  RETRIED+=("${failed[@]}")
}

step "set-up script" tests/scripts/deps_test.sh
if step "native build" build_native; then
  step "unit tests" unit_tests
else
  skip "unit tests" "native build failed"
fi
# The bad-input corpus runs within the unit tests; its count, as that run
# printed it.
grep -h '^corpus: ' build/native/Testing/Temporary/LastTest.log 2>/dev/null ||
  echo "corpus: not run"
# A short run of every fuzzing target (scripts/fuzz.sh --hours H runs longer).
step "fuzzing (20 s per target)" scripts/fuzz.sh 20
if step "win32 build" build_win32; then
  step "program headers" tests/e2e/check_exe.sh build/win32/zentrik.exe
  step "release zip" release_zip
  if [ "$(zk_wine_bits)" = 32 ]; then
    step "end-to-end tests" e2e
  else
    if zk_runs_32bit; then
      echo "test: the 32-bit Wine (wine32:i386) is not installed; the end-to-end tests use the win64 build under the 64-bit Wine"
    else
      echo "test: this machine cannot run 32-bit programs; the end-to-end tests use the win64 build under the 64-bit Wine"
    fi
    if step "win64 build (end-to-end only)" build_win64; then
      step "end-to-end tests (64-bit Wine)" e2e
    else
      skip "end-to-end tests" "win64 build failed"
    fi
  fi
else
  skip "end-to-end tests" "win32 build failed"
fi

echo
echo "Summary ($(($(date +%s) - START)) s):"
printf '  %s\n' "${SUMMARY[@]}"
[ ${#RETRIED[@]} -eq 0 ] ||
  echo "  NOTE  end-to-end cases that passed only when run again: ${RETRIED[*]}"
if [ "$FAILED" -ne 0 ]; then
  echo "test: FAILED"
  exit 1
fi
echo "test: all passed"
