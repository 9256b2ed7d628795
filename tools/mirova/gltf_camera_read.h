// A camera move from a glTF 2.0 file (.glb or .gltf): the node that holds a
// camera, where its world transform (its parents' included) puts it at each
// time of the animation that moves it.
#ifndef MIROVA_CLI_GLTF_CAMERA_READ_H
#define MIROVA_CLI_GLTF_CAMERA_READ_H
#include <string>

#include "camera_source.h"

namespace cli {

// The camera node named cameraName, or the only camera node when cameraName
// is empty; a file with none, with several and no name given, or without the
// name given is a usage problem that lists the camera nodes. The move is the
// first animation that drives the translation, rotation or scale of the node
// or a node above it (a note names any other that does too); a node that no
// animation moves holds no move. Time is counted in seconds, as glTF's 32-bit
// float key times: sample i of a take at fps lies at the start plus
// floor(i * 4800 / fps) ticks of 1/4800 s, where the utility keys it,
// rounded to a float. Positions and rotations are in glTF's Y-up axes; a
// parent's scale moves the camera but does not turn it (the rotation is the
// orthogonal part of the world transform).
CameraRead ReadGltfCamera(const std::string& path, const std::string& cameraName, int fps);

}  // namespace cli

#endif
