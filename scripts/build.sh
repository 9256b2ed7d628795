#!/usr/bin/env bash
# Configures and builds into a build folder: build.sh [DIR] [cmake options...].
# With -DMIROVA_TESTS=OFF the packages only the tests need are not installed.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$top/build}
shift || true
setup=()
for option in "$@"; do
  [ "$option" = -DMIROVA_TESTS=OFF ] && setup=(--program)
done
"$top/scripts/setup.sh" "${setup[@]}"
# Quiet while configuring goes well; everything CMake said when it fails.
if ! log=$(cmake -S "$top" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" 2>&1); then
  printf '%s\n' "$log" >&2
  echo "build: configuring $dir failed" >&2
  exit 1
fi
cmake --build "$dir" -j"$(nproc)"
