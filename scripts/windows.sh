#!/usr/bin/env bash
# The plug-in for 32-bit Windows, tested under Wine: windows.sh [BUILD_DIR].
# Installs what a fresh machine lacks (mingw-w64, Wine for 32-bit programs,
# Xvfb, GoogleTest's sources), cross-builds mirova.dlu, the host SDK DLL and
# the Windows tests (build-win by default), checks the module's exports and
# resources with objdump, and runs the tests under Wine in a private prefix.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build-win}
jobs=${JOBS:-2}

install_missing() {
  local packages=(cmake make g++-mingw-w64-i686-posix binutils-mingw-w64-i686 wine wine32:i386 xvfb xauth
                  googletest)
  local missing=() sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  for p in "${packages[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return
  echo "windows: installing ${missing[*]}"
  # wine32 is a package of Debian's i386 architecture.
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

build_modules() {
  cmake -S "$top/cmake/windows" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-i686.cmake" \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build" -j"$jobs"
  bash "$top/tests/windows/check_module.sh" i686-w64-mingw32-objdump "$build/bin/mirova.dlu" \
       "$top/source/mirova.def"
}

# A private 32-bit prefix, made once; Wine's own debugging output is off.
prepare_wine() {
  export WINEPREFIX="$build/wineprefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "windows: making the Wine prefix (once)"
    xvfb-run -a wineboot -i >/dev/null 2>&1
    # A virtual desktop: without a window manager every top-level window
    # (each message box) would wait on X for its focus.
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
    wineserver -w
  fi
}

run_tests() {
  # Dialogs and message boxes need a display: Xvfb gives one. Progress over
  # CR LF files is exact only at the end on Windows (readers_wintest.cpp).
  xvfb-run -a wine "$build/bin/mirova_wintests.exe" --gtest_brief=1 \
      --gtest_filter=-KuperReadTest.ProgressIsPositionOverSizeAfterEverySample \
      "--dialog_dump=$build/dialogs.json"
  # The Linux suite compares the stand-in's dialogs with this dump.
  if ! cmp -s "$build/dialogs.json" "$top/tests/windows/dialogs_wine.json"; then
    echo "windows: the dialogs Windows builds changed; copy $build/dialogs.json to tests/windows/dialogs_wine.json" >&2
    diff "$top/tests/windows/dialogs_wine.json" "$build/dialogs.json" | head -20 >&2
    exit 1
  fi
}

install_missing
build_modules
prepare_wine
run_tests
echo "windows: all Windows checks passed"
