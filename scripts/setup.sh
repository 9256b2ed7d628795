#!/usr/bin/env bash
# Installs the Debian packages the build needs when a fresh machine lacks them.
set -euo pipefail
packages=(cmake g++ make python3 binutils googletest libgtest-dev libgmock-dev libbenchmark-dev libtinyobjloader-dev nlohmann-json3-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
