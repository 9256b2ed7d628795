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
"$mirova" camera "$top/examples/dolly.asc" -o "$out/dolly-camera.json"
"$mirova" camera "$top/examples/dolly.asc" --format chan -o "$out/dolly-camera.chan"
face="$top/examples/face"
"$mirova" morph --neutral "$face/neutral.obj" \
  --target open="$face/open.obj" --target puckered="$face/puckered.obj" \
  --target left-eyelid="$face/left-eyelid.obj" --target left-eyebrow="$face/left-eyebrow.obj" \
  --target left-cheek="$face/left-cheek.obj" --target frown="$face/frown.obj" \
  --target left-squint="$face/left-squint.obj" --target right-eyelid="$face/right-eyelid.obj" \
  --target right-eyebrow="$face/right-eyebrow.obj" --target right-cheek="$face/right-cheek.obj" \
  --target right-squint="$face/right-squint.obj" \
  --set "Mouth Vertical=60" --set "Left Eyelid=20" --set "Right Eyebrow=80" --set "Frown=100" \
  -o "$out/face-blend.obj" > "$out/face-blend.json"
"$mirova" inspect "$top/examples/face_take.trc" > "$out/face_take.json"
"$mirova" face "$top/examples/face_take.trc" -o "$out/face-keys.json"
set +x
echo "examples: outputs in $out"
