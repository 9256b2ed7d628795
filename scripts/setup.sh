#!/usr/bin/env bash
# Installs the Debian packages the build needs when a fresh machine lacks them,
# and the glTF Validator the tests run (pinned by tests/gltf/package-lock.json).
#
#   setup.sh            what the library, mirova, the tests and benchmarks need
#   setup.sh --program  what the library and mirova need, no more
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
tests=true
case "${1:-}" in
  "") ;;
  --program) tests=false ;;
  *) echo "usage: setup.sh [--program]" >&2; exit 2 ;;
esac
packages=(cmake g++ make python3 binutils libtinyobjloader-dev libtinygltf-dev nlohmann-json3-dev libcli11-dev
          libfreetype-dev libpng-dev fonts-dejavu-core)
$tests && packages+=(googletest libgtest-dev libgmock-dev libbenchmark-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
# Node may come from elsewhere than Debian's packages; only a missing one is installed.
if $tests; then
  command -v node >/dev/null 2>&1 || missing+=(nodejs)
  command -v npm >/dev/null 2>&1 || missing+=(npm)
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
if $tests && [ ! -d "$top/tests/gltf/node_modules" ]; then
  echo "setup: installing the glTF Validator in tests/gltf"
  (cd "$top/tests/gltf" && npm ci --no-audit --no-fund --loglevel=error)
fi
