#!/usr/bin/env bash
# The plug-in for Windows, tested under Wine: windows.sh [BUILD_DIR].
#
# The product is the 32-bit mirova.dlu: it is cross-built with mingw-w64 and
# its exports and resources are checked with objdump on every machine. The
# Windows tests then run under Wine as 32-bit programs where this machine's
# kernel runs 32-bit programs, and otherwise as the same tests built for
# 64-bit Windows under 64-bit Wine. MIROVA_WINE=32 or MIROVA_WINE=64 forces a
# path. Installs what a fresh machine lacks (mingw-w64, Wine, Xvfb,
# GoogleTest's sources). Builds go to BUILD_DIR (build-win by default) and
# BUILD_DIR-64 for the 64-bit tests.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build-win}
jobs=${JOBS:-2}

# A 96-byte static i386 program that exits with 42: the kernel either runs
# it or refuses it ("Exec format error") before any library is involved.
runs_32bit_programs() {
  local probe
  probe=$(mktemp "$build/probe32.XXXXXX")
  printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00'\
'\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00'\
'\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00'\
'\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$probe"
  chmod +x "$probe"
  local status=0
  "$probe" 2>/dev/null || status=$?
  rm -f "$probe"
  [ "$status" -eq 42 ]
}

choose_path() {
  case "${MIROVA_WINE:-}" in
    32) bits=32; echo "windows: 32-bit Wine (MIROVA_WINE=32)" ;;
    64) bits=64; echo "windows: 64-bit Wine (MIROVA_WINE=64)" ;;
    "")
      if runs_32bit_programs; then
        bits=32; echo "windows: 32-bit Wine (this kernel runs 32-bit programs)"
      else
        bits=64; echo "windows: 64-bit Wine (this kernel runs no 32-bit programs)"
      fi ;;
    *) echo "windows.sh: MIROVA_WINE must be 32 or 64, not '$MIROVA_WINE'" >&2; exit 2 ;;
  esac
}

install_missing() {
  local packages=(cmake make python3 g++-mingw-w64-i686-posix binutils-mingw-w64-i686 wine xvfb xauth
                  googletest)
  if [ "$bits" = 32 ]; then
    packages+=(wine32:i386)
  else
    packages+=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine64)
  fi
  local missing=() sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  for p in "${packages[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return
  echo "windows: installing ${missing[*]}"
  # wine32 is a package of Debian's i386 architecture.
  if [ "$bits" = 32 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

# configure DIR TOOLCHAIN
configure() {
  cmake -S "$top/cmake/windows" -B "$1" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/$2" \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
}

# The product, checked on either path; the 32-bit tests come with it when
# they are the ones to run.
build_product() {
  configure "$build" mingw-i686.cmake
  if [ "$bits" = 32 ]; then
    cmake --build "$build" -j"$jobs"
  else
    cmake --build "$build" -j"$jobs" --target mirova_module
  fi
  bash "$top/tests/windows/check_module.sh" i686-w64-mingw32-objdump "$build/bin/mirova.dlu" \
       "$top/source/mirova.def"
}

build_64bit_tests() {
  configure "$tests_build" mingw-x86_64.cmake
  cmake --build "$tests_build" -j"$jobs"
}

# A private prefix, made once; Wine's own debugging output is off. On the
# 64-bit path Wine's 64-bit loader is called by name: Debian's wine wrapper
# prefers the 32-bit one whenever wine32 is installed.
prepare_wine() {
  export WINEPREFIX="$tests_build/wineprefix" WINEARCH="win$bits" WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  wine=wine
  if [ "$bits" = 64 ]; then
    wine=/usr/lib/wine/wine64
    export WINELOADER=$wine
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "windows: making the Wine prefix (once)"
    xvfb-run -a "$wine" wineboot -i >/dev/null 2>&1
    # A virtual desktop: without a window manager every top-level window
    # (each message box) would wait on X for its focus.
    "$wine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    "$wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
    wineserver -w
  fi
}

run_tests() {
  # Dialogs and message boxes need a display: Xvfb gives one. Progress over
  # CR LF files is exact only at the end on Windows (readers_wintest.cpp).
  xvfb-run -a "$wine" "$tests_build/bin/mirova_wintests.exe" --gtest_brief=1 \
      --gtest_filter=-KuperReadTest.ProgressIsPositionOverSizeAfterEverySample \
      "--dialog_dump=$tests_build/dialogs.json"
  # The Linux suite compares the stand-in's dialogs with this dump. Pixels
  # follow the prefix's font, so the two are compared in dialog units.
  if ! python3 "$top/tests/windows/same_dialogs.py" "$top/tests/windows/dialogs_wine.json" \
       "$tests_build/dialogs.json"; then
    echo "windows: the dialogs Windows builds changed; copy $tests_build/dialogs.json to" \
         "tests/windows/dialogs_wine.json" >&2
    exit 1
  fi
}

mkdir -p "$build"
choose_path
install_missing
build_product
if [ "$bits" = 32 ]; then
  tests_build=$build
else
  tests_build=$build-64
  build_64bit_tests
fi
prepare_wine
run_tests
echo "windows: all Windows checks passed ($bits-bit Wine)"
