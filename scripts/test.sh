#!/usr/bin/env bash
# Builds and runs every test: test.sh [--sanitize]. With --sanitize, the
# whole suite is built with AddressSanitizer and UndefinedBehaviorSanitizer
# in build-asan. Warnings stay errors here, whatever the build folder says.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
sanitize=false
for arg in "$@"; do
  case "$arg" in
    --sanitize) sanitize=true ;;
    *)
      echo "test.sh: unknown argument: $arg" >&2
      echo "usage: test.sh [--sanitize]" >&2
      exit 2
      ;;
  esac
done
if $sanitize; then
  "$top/scripts/build.sh" "$top/build-asan" -DMIROVA_WERROR=ON -DMIROVA_SANITIZE=ON -DMIROVA_TESTS=ON -DMIROVA_BENCH=OFF
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  ctest --test-dir "$top/build-asan" --output-on-failure -j"$(nproc)"
else
  "$top/scripts/build.sh" "$top/build" -DMIROVA_WERROR=ON -DMIROVA_TESTS=ON -DMIROVA_BENCH=ON
  ctest --test-dir "$top/build" --output-on-failure -j"$(nproc)"
fi
