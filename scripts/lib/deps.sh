# The Debian 12 packages that building and testing need. Source this file and
# call zk_install_deps: it installs only the packages that are missing, so
# running it again costs nothing. Installing needs root: as another user it
# calls sudo for apt-get (or says how to run it when there is no sudo).

ZK_PACKAGES=(
  cmake ninja-build g++ libgtest-dev googletest   # native build and unit tests
  mingw-w64 g++-mingw-w64-i686                     # the 32-bit Windows build
  g++-mingw-w64-x86-64                             # the 64-bit build for 64-bit-only Wine
  wine wine32:i386 wine64                          # running zentrik.exe
  fonts-wine                                       # Wine's Tahoma and Marlett (a recommendation of wine)
  xvfb xdotool imagemagick x11-utils xauth         # a virtual screen, input, screenshots
  pulseaudio pulseaudio-utils                      # a sound device for the volume hotkeys
  clang libclang-rt-14-dev                         # fuzzing (libFuzzer, ASan, UBSan)
  zip unzip                                        # the release zip (scripts/release.sh)
)

# zk_missing_packages [PACKAGE...]: those of the packages (default: all of
# ZK_PACKAGES) that are not installed.
zk_missing_packages() {
  local p
  [ $# -gt 0 ] || set -- "${ZK_PACKAGES[@]}"
  for p in "$@"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -qx 'install ok installed' || echo "$p"
  done
}

# zk_install_deps [PACKAGE...]: installs those of the packages (default: all
# of ZK_PACKAGES) that are missing; nothing to do when none is.
zk_install_deps() {
  local missing as_root=()
  mapfile -t missing < <(zk_missing_packages "$@")
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
      echo "Installing packages needs root, and there is no sudo: run this script as root once." >&2
      return 1
    fi
    echo "Installing packages needs root: running apt-get through sudo."
    as_root=(sudo)
  fi
  # wine32 is an i386 package: enable the architecture on amd64 first.
  if printf '%s\n' "${missing[@]}" | grep -q ':i386$' &&
    [ "$(dpkg --print-architecture)" != i386 ] &&
    ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${as_root[@]}" dpkg --add-architecture i386 || return 1
  fi
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update || return 1
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
}
