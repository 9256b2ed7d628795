#!/usr/bin/env bash
# Builds the library, the plug-in and the headless host (no tests, no
# benchmarks: scripts/test.sh builds those), then runs the main job on the
# bundled examples; outputs go to build/examples-out.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/build.sh" "$top/build" -DMIROVA_TESTS=OFF -DMIROVA_BENCH=OFF
mirova="$top/build/bin/mirova"
out="$top/build/examples-out"
mkdir -p "$out"
face="$top/examples/face"
targets=()
for t in open puckered left-eyelid left-eyebrow left-cheek frown left-squint right-eyelid right-eyebrow \
         right-cheek right-squint; do
  targets+=(--target "$t=$face/$t.obj")
done
set -x
"$mirova" --version
"$mirova" info
"$mirova" inspect "$top/examples/dolly.asc" > "$out/dolly.json"
"$mirova" camera "$top/examples/dolly.asc" -o "$out/dolly-camera.json"
"$mirova" camera "$top/examples/dolly.asc" --format chan -o "$out/dolly-camera.chan"
"$mirova" camera "$top/examples/dolly.asc" --format gltf -o "$out/dolly-camera.glb"
"$mirova" morph --neutral "$face/neutral.obj" "${targets[@]}" \
  --set "Mouth Vertical=60" --set "Left Eyelid=20" --set "Right Eyebrow=80" --set "Frown=100" \
  -o "$out/face-blend.obj" > "$out/face-blend.json"
"$mirova" inspect "$top/examples/face_take.trc" > "$out/face_take.json"
"$mirova" face "$top/examples/face_take.trc" -o "$out/face-keys.json"
"$mirova" face "$top/examples/face_take.trc" "${targets[@]}" --format gltf -o "$out/face.glb"
"$mirova" view "$top/examples/face_take.trc" --frame 30 --trajectories --names --extents -o "$out/face-view.png"
"$mirova" panel utility -o "$out/panel-utility.png"
"$mirova" panel object -o "$out/panel-object.png"
set +x
echo "examples: outputs in $out"
