# Shared by scripts/test and scripts/run.
# shellcheck shell=bash

VELMORA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
source "$VELMORA_ROOT/scripts/lib/wine-loader.sh"
BUILD_ROOT="${VELMORA_BUILD_ROOT:-$VELMORA_ROOT/build}"
JOBS="$(nproc 2>/dev/null || echo 2)"

# Debian packages the build and the tests need. Checked one by one so a warm machine
# never touches apt.
VELMORA_PACKAGES=(
  cmake make g++ pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  g++-mingw-w64-i686 binutils-mingw-w64-i686
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  wine wine32:i386 wine64 fonts-wine fonts-liberation fonts-wqy-microhei
  xvfb xauth x11-apps imagemagick librsvg2-bin
  clang libclang-rt-14-dev
  fp-utils-3.2.2
  nsis zip strace util-linux
)

# Wine maps Windows file names to Unix ones in the locale's character set: without a UTF-8
# locale (a bare root shell, a minimal image) every non-ASCII file name breaks. C.UTF-8 is
# built into Debian's C library.
if [ "$(locale charmap 2>/dev/null)" != "UTF-8" ]; then
  export LANG=C.UTF-8
  unset LC_ALL
fi

log() { printf "\n== [%ss] %s\n" "$SECONDS" "$*"; }

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

ensure_packages() {
  local missing=()
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    log "adding the i386 architecture (32-bit Wine)"
    as_root dpkg --add-architecture i386
    missing+=(update)
  fi
  local pkg
  for pkg in "${VELMORA_PACKAGES[@]}"; do
    if [ "$(dpkg-query -W -f='${db:Status-Abbrev}' "$pkg" 2>/dev/null)" != "ii " ]; then
      missing+=("$pkg")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  log "installing: ${missing[*]/update/}"
  as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  local pkgs=("${missing[@]/update/}")
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    ${pkgs[@]+"${pkgs[@]}"} >/dev/null
}

configure_and_build() {  # name, extra cmake args...
  local name=$1; shift
  local dir="$BUILD_ROOT/$name"
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$VELMORA_ROOT" -B "$dir" "$@" >/dev/null
  else
    cmake "$dir" >/dev/null
  fi
  cmake --build "$dir" -j "$JOBS"
}

# The Windows builds: build/win32 (i686, the shipped 32-bit program) and build/win64 (x86_64).
build_windows() {  # win32|win64
  local toolchain
  case "$1" in
    win32) toolchain=toolchain-i686-mingw.cmake ;;
    win64) toolchain=toolchain-x86_64-mingw.cmake ;;
  esac
  configure_and_build "$1" -DCMAKE_TOOLCHAIN_FILE="$VELMORA_ROOT/cmake/$toolchain"
}
