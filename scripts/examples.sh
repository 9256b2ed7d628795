#!/usr/bin/env bash
# Builds the library and the headless host, then runs the main job on the
# bundled examples; outputs go to build/examples-out.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/build.sh" "$top/build"
mirova="$top/build/bin/mirova"
out="$top/build/examples-out"
mkdir -p "$out"
set -x
"$mirova" info
"$mirova" inspect "$top/examples/dolly.asc" > "$out/dolly.json"
set +x
echo "examples: outputs in $out"
