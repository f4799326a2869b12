#!/usr/bin/env bash
# Tests scripts/lib/deps.sh without root and without touching the machine:
# apt-get, dpkg, dpkg-query, sudo and id are stand-ins on PATH that keep the
# installed packages in a folder of their own and log each call.
set -u -o pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
T=$(mktemp -d /tmp/zk-deps-test.XXXXXX)
trap 'rm -rf "$T"' EXIT
mkdir -p "$T/bin"

# The stand-ins. State: $T/installed (one package a line), $T/foreign (the
# foreign architectures), $T/update-fails (how many more updates fail on
# one index), $T/broken (packages whose install fails), $T/calls (the log).
stand_in() { printf '#!/usr/bin/env bash\nS=%q\n%s\n' "$T" "$2" >"$T/bin/$1"; chmod +x "$T/bin/$1"; }
stand_in id 'echo 1000'
stand_in sudo 'echo "sudo $*" >>"$S/calls"; exec "$@"'
stand_in dpkg-query 'grep -qxF -- "${@: -1}" "$S/installed" && echo "install ok installed"'
stand_in dpkg 'echo "dpkg $*" >>"$S/calls"
case $1 in
  --print-architecture) echo amd64 ;;
  --print-foreign-architectures) cat "$S/foreign" ;;
  --add-architecture) echo "$2" >>"$S/foreign" ;;
esac'
stand_in apt-get 'echo "apt-get $*" >>"$S/calls"
if [ "$1" = update ]; then
  n=$(cat "$S/update-fails")
  [ "$n" -gt 0 ] || exit 0
  echo $((n - 1)) >"$S/update-fails"
  if [ -s "$S/update-warns" ]; then  # a temporary failure: a warning, exit code 0
    echo "W: Failed to fetch http://registry.invalid/dists/main/binary-amd64/Packages.xz  Temporary failure resolving"
    exit 0
  fi
  echo "E: Failed to fetch http://registry.invalid/dists/security/main/binary-i386/Packages.xz  File has unexpected size"
  exit 100
fi
shift 3
for p in "$@"; do grep -qxF -- "$p" "$S/broken" && { echo "E: $p: held broken packages" >&2; exit 100; }; done
printf "%s\n" "$@" >>"$S/installed"'

. "$ROOT/scripts/lib/deps.sh"
PASSED=0
FAILED=0
check() {  # check NAME CONDITION-COMMAND...
  local name=$1
  shift
  if "$@"; then PASSED=$((PASSED + 1)); else FAILED=$((FAILED + 1)); echo "FAIL $name: $*"; fi
}
has() { if [ -n "$1" ]; then grep -qF -- "$1" "$2"; else [ ! -s "$2" ]; fi; }
not() { ! "$@"; }
count() { grep -c -- "$1" "$T/calls"; }

# The probe: a program for a machine the kernel has no loader for (ARM) is
# refused, as an i386 one is on a kernel without 32-bit emulation.
check "probe refuses a foreign program" not zk_runs_elf 28
if zk_runs_elf 03; then echo "this machine runs 32-bit programs"; else echo "this machine does not run 32-bit programs"; fi

# name | runs 32-bit | failing updates (W: warnings) | broken packages | all installed | exit code | output | update calls
while IFS='|' read -r name runs32 fails broken all rc_want says updates; do
  printf '' >"$T/calls"; printf '' >"$T/foreign"; echo "${fails%W}" >"$T/update-fails"
  [ "$fails" = "${fails%W}" ] && printf '' >"$T/update-warns" || echo W >"$T/update-warns"
  tr ' ' '\n' <<<"$broken" >"$T/broken"
  if [ "$all" = yes ]; then printf '%s\n' "${ZK_PACKAGES[@]}" "${ZK_PACKAGES_32[@]}" >"$T/installed"; else printf 'cmake\n' >"$T/installed"; fi
  PATH="$T/bin:$PATH" ZK_RUNS_32BIT=$runs32 ZK_APT_PAUSE=0 zk_install_deps >"$T/out" 2>&1
  rc=$?
  check "$name: exit code $rc" [ "$rc" = "$rc_want" ]
  check "$name: says '$says' (or nothing)" has "$says" "$T/out"
  check "$name: $updates updates" [ "$(count '^apt-get update')" = "$updates" ]
  check "$name: apt-get through sudo" [ "$(grep -c '^apt-get' "$T/calls")" = "$(count '^sudo env')" ]
  if [ "$runs32" = yes ] && [ "$all" = no ]; then
    check "$name: i386 enabled" has 'dpkg --add-architecture i386' "$T/calls"
  else
    check "$name: no i386" not grep -q 'i386' "$T/calls"
  fi
  [ "$rc" = 0 ] || continue
  check "$name: the rest installed" [ -z "$(PATH="$T/bin:$PATH" zk_missing_packages)" ]
done <<'ROWS'
no 32-bit machine|no|0||no|0|will use the 64-bit Wine|1
32-bit, everything installs|yes|0||no|0|will use the 32-bit Wine|1
an index fails once|yes|1||no|0|will use the 32-bit Wine|2
an index fails every time|no|9||no|0|    http://registry.invalid/dists/security/main/binary-i386/Packages.xz|3
an index warns once|no|1W||no|0|will use the 64-bit Wine|2
wine32 cannot be installed|yes|9|wine32:i386|no|0|will use the 64-bit Wine and a 64-bit build|3
a package cannot be installed|no|0|xvfb|no|1|Installing these packages failed: |1
nothing missing|yes|0||yes|0||0
ROWS

# Packages named by the caller (the release script's few): only those, and
# no 32-bit Wine.
printf '' >"$T/calls"; echo 0 >"$T/update-fails"; printf 'cmake\n' >"$T/installed"; printf '' >"$T/broken"
PATH="$T/bin:$PATH" ZK_RUNS_32BIT=yes ZK_APT_PAUSE=0 zk_install_deps cmake zip >"$T/out" 2>&1
check "named packages: exit code" [ $? = 0 ]
check "named packages: only those" [ "$(grep '^apt-get install' "$T/calls")" = "apt-get install -y --no-install-recommends zip" ]

echo "deps: $PASSED passed, $FAILED failed"
[ "$FAILED" -eq 0 ]
