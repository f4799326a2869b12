# The Debian 12 packages that building and testing need. Source this file and
# call zk_install_deps: it installs only the packages that are missing, so
# running it again costs nothing. Installing needs root: as another user it
# calls sudo for apt-get (or says how to run it when there is no sudo).

ZK_PACKAGES=(
  cmake ninja-build g++ libgtest-dev googletest   # native build and unit tests
  mingw-w64 g++-mingw-w64-i686                     # the 32-bit Windows build
  g++-mingw-w64-x86-64                             # the 64-bit build for 64-bit-only Wine
  wine wine64                                      # running zentrik.exe
  fonts-wine                                       # Wine's Tahoma and Marlett (a recommendation of wine)
  xvfb xdotool imagemagick x11-utils xauth         # a virtual screen, input, screenshots
  pulseaudio pulseaudio-utils                      # a sound device for the volume hotkeys
  clang libclang-rt-14-dev                         # fuzzing (libFuzzer, ASan, UBSan)
  zip unzip                                        # the release zip (scripts/release.sh)
)
# Wine's 32-bit loader, which runs the shipped 32-bit zentrik.exe itself: asked
# for only where this machine's kernel runs 32-bit programs.
ZK_PACKAGES_32=(wine32:i386)

# Seconds between two tries of apt-get update (ZK_APT_PAUSE overrides).
ZK_APT_PAUSE=${ZK_APT_PAUSE:-10}

# zk_runs_elf [MACHINE]: runs a static 96-byte Linux program for the ELF
# machine MACHINE (two hex digits, default 03, i386) that does nothing but
# exit with 42, and succeeds when it did. A kernel without 32-bit emulation
# refuses the i386 program ("Exec format error"), just as any kernel refuses
# a program for a machine it has no loader for.
zk_runs_elf() {
  local dir rc
  dir=$(mktemp -d "${TMPDIR:-/tmp}/zk-elf.XXXXXX") || return 1
  # ELF header (52 bytes), one loadable segment (32), then the code:
  # mov eax,1 (exit); mov ebx,42; int 0x80.
  printf '\x7fELF\x01\x01\x01\0\0\0\0\0\0\0\0\0\x02\0\x'"${1:-03}"'\0\x01\0\0\0\x54\x80\x04\x08\x34\0\0\0\0\0\0\0\0\0\0\0\x34\0\x20\0\x01\0\0\0\0\0\0\0''\x01\0\0\0\0\0\0\0\0\x80\x04\x08\0\x80\x04\x08\x60\0\0\0\x60\0\0\0\x05\0\0\0\0\x10\0\0''\xb8\x01\0\0\0\xbb\x2a\0\0\0\xcd\x80' >"$dir/probe" &&
    chmod +x "$dir/probe" && (cd / && exec "$dir/probe") >/dev/null 2>&1
  rc=$?
  rm -rf "$dir"
  [ "$rc" -eq 42 ]
}

# zk_runs_32bit: succeeds when this machine runs 32-bit (i386) programs.
# ZK_RUNS_32BIT=yes or no set beforehand is taken instead of trying.
zk_runs_32bit() {
  case ${ZK_RUNS_32BIT:-} in
    yes) return 0 ;;
    no) return 1 ;;
  esac
  zk_runs_elf 03
}

# zk_missing_packages [PACKAGE...]: those of the packages (default: all of
# ZK_PACKAGES) that are not installed.
zk_missing_packages() {
  local p
  [ $# -gt 0 ] || set -- "${ZK_PACKAGES[@]}"
  for p in "$@"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -qx 'install ok installed' || echo "$p"
  done
}

# zk_apt_update: apt-get update, tried again twice after a pause while some
# index fails to download. An index that still fails is named and left out:
# apt installs from those that did download, and only a failed install
# fails the set-up.
zk_apt_update() {
  local try log failed rc
  log=$(mktemp "${TMPDIR:-/tmp}/zk-apt.XXXXXX") || return 1
  for try in 1 2 3; do
    "${ZK_AS_ROOT[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update 2>&1 | tee "$log"
    rc=${PIPESTATUS[0]}
    failed=$(grep -E '^[EW]: Failed to fetch' "$log")
    [ "$rc" -eq 0 ] && [ -z "$failed" ] && break
    [ "$try" -lt 3 ] || break
    echo "Some package indexes failed to download; trying again in $ZK_APT_PAUSE s ($try of 3)."
    sleep "$ZK_APT_PAUSE"
  done
  if [ -n "$failed" ] || [ "$rc" -ne 0 ]; then
    echo "Warning: apt-get update failed (exit code $rc) on these package indexes; installing from the others:" >&2
    grep -E '^[EW]: Failed to fetch' "$log" | sed -E 's/^[EW]: Failed to fetch /    /' >&2
  fi
  rm -f "$log"
  return 0
}

# zk_apt_install PACKAGE...: apt-get install, without recommends.
zk_apt_install() {
  "${ZK_AS_ROOT[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "$@"
}

# zk_install_deps [PACKAGE...]: installs those of the packages that are
# missing; nothing to do when none is. Without packages named: ZK_PACKAGES,
# and where 32-bit programs run ZK_PACKAGES_32 too, saying which Wine the
# end-to-end tests will use. Fails only when a named package or one of
# ZK_PACKAGES cannot be installed: without the 32-bit Wine the end-to-end
# tests run a 64-bit build under the 64-bit Wine.
zk_install_deps() {
  local missing missing32=() again all=0
  ZK_AS_ROOT=()
  [ $# -gt 0 ] || { all=1; set -- "${ZK_PACKAGES[@]}"; }
  mapfile -t missing < <(zk_missing_packages "$@")
  if [ "$all" = 1 ]; then
    if zk_runs_32bit; then
      mapfile -t missing32 < <(zk_missing_packages "${ZK_PACKAGES_32[@]}")
    else
      echo "This machine does not run 32-bit programs: the end-to-end tests will use the 64-bit Wine (wine64) and a 64-bit build."
    fi
  fi
  [ ${#missing[@]} -eq 0 ] && [ ${#missing32[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]} ${missing32[*]}"
  again="sudo $0"
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
      echo "Installing packages needs root, and there is no sudo: run this script as root once." >&2
      return 1
    fi
    echo "Installing packages needs root: running apt-get through sudo."
    ZK_AS_ROOT=(sudo)
  else
    again=$0
  fi
  # wine32 is an i386 package: enable the architecture on amd64 first.
  if [ ${#missing32[@]} -gt 0 ] && [ "$(dpkg --print-architecture)" != i386 ] &&
    ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${ZK_AS_ROOT[@]}" dpkg --add-architecture i386 || missing32=()
  fi
  zk_apt_update
  if [ ${#missing[@]} -gt 0 ] && ! zk_apt_install "${missing[@]}"; then
    echo "Installing these packages failed: ${missing[*]}" >&2
    echo "apt-get said why above. Once the package registry answers again, run $again again." >&2
    return 1
  fi
  if [ ${#missing32[@]} -gt 0 ]; then
    if zk_apt_install "${missing32[@]}"; then
      echo "The end-to-end tests will use the 32-bit Wine and the shipped 32-bit build."
    else
      echo "Warning: ${missing32[*]} could not be installed (apt-get said why above; an i386 index that failed or lags behind its amd64 twin is the usual cause)." >&2
      echo "The end-to-end tests will use the 64-bit Wine and a 64-bit build; the shipped program is still the 32-bit build. Run $again again later to install the 32-bit Wine." >&2
    fi
  fi
  return 0
}
