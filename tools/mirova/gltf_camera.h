// The keyed camera as glTF 2.0: one node with a perspective camera, animated
// by one LINEAR translation key and one rotation key per camera key.
#ifndef MIROVA_CLI_GLTF_CAMERA_H
#define MIROVA_CLI_GLTF_CAMERA_H
#include <ostream>
#include <string>
#include <vector>

#include "chan.h"
#include "interchange.h"

namespace cli {

// The clipping planes, in scene units.
const double kCameraNear = 0.1, kCameraFar = 100000.0;

// Writes the camera with a horizontal field of view of fov radians over a
// kCameraAspect frame. Keys land at ticks / 4800 seconds, in glTF's Y-up axes
// ((x, y, z) becomes (x, z, -y)); glTF cameras look down their local -Z with
// +Y up, as the scene's do. The node rests at the first key. False, with
// *problem, when the keys cannot be written: two of them on one time, or a
// value that is not a finite number.
bool WriteCameraGltf(const std::vector<CameraKey>& keys, float fov, bool binary, std::ostream& out,
                     std::string* problem);

}  // namespace cli

#endif
