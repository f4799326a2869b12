#!/usr/bin/env bash
# Builds the release from the current commit and writes
#   dist/zentrik-VERSION-win32.zip         zentrik.exe, README.txt, LICENSE.txt
#   dist/zentrik-VERSION-win32.zip.sha256  its checksum, as sha256sum -c reads it
# VERSION is the one in the commit's CMakeLists.txt.
#
#   scripts/release.sh            one build, in build/release/1
#   scripts/release.sh --verify   two builds, in build/release/1 and /2, each
#                                 fresh; fails when their exe or zip differ
#
# The commit's files (git archive, not the working tree) are built with the
# win32 preset, zentrik.exe alone. The same commit gives the same bytes: the
# exe has no link timestamp and no path of the build folder in it, and the
# zip holds its three files in a fixed order, each dated with the commit's
# time (UTC), with mode 0644 and no extra attributes. README.txt
# (docs/release/README.txt) and LICENSE.txt (LICENSE) get CR LF line ends.
# ZK_JOBS sets the number of parallel build jobs.
set -u -o pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VERIFY=0
case "${1:-}" in
  "") ;;
  --verify) VERIFY=1 ;;
  *) echo "usage: scripts/release.sh [--verify]" >&2; exit 2 ;;
esac
JOBS=()
[ -n "${ZK_JOBS:-}" ] && JOBS=(-j "$ZK_JOBS")

# shellcheck source=scripts/lib/deps.sh
. "$ROOT/scripts/lib/deps.sh"
zk_install_deps cmake ninja-build mingw-w64 g++-mingw-w64-i686 zip ||
  { echo "release: installing the packages failed" >&2; exit 1; }

cd "$ROOT" || exit 1
COMMIT=$(git rev-parse --verify HEAD 2>/dev/null) ||
  { echo "release: $ROOT is not a git checkout with a commit" >&2; exit 1; }
EPOCH=$(git log -1 --format=%ct "$COMMIT")
VERSION=$(git show "$COMMIT:CMakeLists.txt" | sed -n 's/^project(Zentrik VERSION \([0-9.]*\).*/\1/p')
[ -n "$VERSION" ] || { echo "release: no project(Zentrik VERSION ...) in CMakeLists.txt" >&2; exit 1; }
NAME=zentrik-$VERSION-win32
if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
  echo "release: the working tree has uncommitted changes; the release is built from commit ${COMMIT:0:12} without them"
fi

# crlf FILE: the file with CR LF line ends.
crlf() { sed 's/\r*$/\r/' "$1"; }

# build_release DIR: the commit's files in DIR/src, zentrik.exe built there,
# and DIR/NAME.zip. DIR is removed first.
build_release() {
  local dir=$1
  local src=$dir/src stage=$dir/stage
  rm -rf "$dir" && mkdir -p "$src" "$stage" || return 1
  git -c core.autocrlf=false archive --format=tar "$COMMIT" | tar -x -C "$src" || return 1
  echo "release: building $NAME.zip in $dir (commit ${COMMIT:0:12})"
  if ! (cd "$src" && cmake --preset win32 && cmake --build --preset win32 --target zentrik "${JOBS[@]}") \
    >"$dir/build.log" 2>&1; then
    tail -n 30 "$dir/build.log" >&2
    echo "release: the build failed (log: $dir/build.log)" >&2
    return 1
  fi
  cp "$src/build/win32/zentrik.exe" "$stage/zentrik.exe" &&
    crlf "$src/docs/release/README.txt" >"$stage/README.txt" &&
    crlf "$src/LICENSE" >"$stage/LICENSE.txt" &&
    chmod 0644 "$stage"/* &&
    TZ=UTC touch -d "@$EPOCH" "$stage"/* || return 1
  # -X: no extra fields (times, uid and gid); -D: no folder entries.
  (cd "$stage" && TZ=UTC zip -q -X -D "$dir/$NAME.zip" zentrik.exe README.txt LICENSE.txt)
}

OUT=$ROOT/build/release
build_release "$OUT/1" || exit 1
if [ "$VERIFY" = 1 ]; then
  build_release "$OUT/2" || exit 1
  same=1
  for f in src/build/win32/zentrik.exe "$NAME.zip"; do
    if ! cmp "$OUT/1/$f" "$OUT/2/$f"; then
      echo "release: FAIL $(basename "$f") differs between $OUT/1 and $OUT/2" >&2
      same=0
    fi
  done
  [ "$same" = 1 ] || exit 1
  echo "release: the two builds are byte for byte the same"
fi

mkdir -p "$ROOT/dist" || exit 1
cp "$OUT/1/$NAME.zip" "$ROOT/dist/$NAME.zip" || exit 1
(cd "$ROOT/dist" && sha256sum "$NAME.zip" >"$NAME.zip.sha256") || exit 1
echo "release: wrote dist/$NAME.zip and dist/$NAME.zip.sha256"
cat "$ROOT/dist/$NAME.zip.sha256"
