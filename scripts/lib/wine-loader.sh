# Which Wine runs which Windows programs; shared by wine-exec and the two commands.
# shellcheck shell=bash
#
# Debian's /usr/bin/wine is not used: with wine32:i386 installed it always picks the 32-bit
# loader (it only tests that the file is executable, which it is even on a kernel that
# cannot run it). Each build calls the loader of its own word size directly.

WINE32_LOADER=/usr/lib/wine/wine
WINE64_LOADER=/usr/lib/wine/wine64

# wine_loader win32|win64: prints the loader for programs of that word size.
wine_loader() {
  case "$1" in
    win32) echo "$WINE32_LOADER" ;;
    win64) echo "$WINE64_LOADER" ;;
    *) echo "unknown Wine architecture '$1' (win32 or win64)" >&2; return 1 ;;
  esac
}

# runs_32bit_code: succeeds when this machine executes 32-bit x86 code, decided by running the
# 32-bit Wine loader (an i386 program). Some kernels are built with IA-32 emulation off: every
# 32-bit program then fails with "Exec format error", and no Wine mode can run 32-bit Windows
# code either. On failure, WHY_NO_32BIT says what was found. VELMORA_NO_32BIT=1 makes a
# machine that can run it act as one that cannot, to try that path.
runs_32bit_code() {
  WHY_NO_32BIT=""
  if [ "${VELMORA_NO_32BIT:-0}" = 1 ]; then
    WHY_NO_32BIT="VELMORA_NO_32BIT=1 is set"
    return 1
  fi
  if [ ! -e "$WINE32_LOADER" ]; then
    WHY_NO_32BIT="$WINE32_LOADER is not installed"
    return 1
  fi
  local output
  if ! output=$("$WINE32_LOADER" --version 2>&1); then
    WHY_NO_32BIT="this kernel does not run 32-bit programs ($WINE32_LOADER --version: ${output##*: })"
    return 1
  fi
  return 0
}
