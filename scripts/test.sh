#!/usr/bin/env bash
# Builds and runs every test. With --sanitize, the whole suite is built with
# AddressSanitizer and UndefinedBehaviorSanitizer in build-asan.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
if [ "${1:-}" = "--sanitize" ]; then
  "$top/scripts/build.sh" "$top/build-asan" -DMIROVA_SANITIZE=ON -DMIROVA_BENCH=OFF
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  ctest --test-dir "$top/build-asan" --output-on-failure -j"$(nproc)"
else
  "$top/scripts/build.sh" "$top/build"
  ctest --test-dir "$top/build" --output-on-failure -j"$(nproc)"
fi
