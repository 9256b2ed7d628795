// The keyed camera as glTF 2.0: one node with a perspective camera, animated
// by one LINEAR translation key and one rotation key per camera key.
#ifndef MIROVA_CLI_GLTF_CAMERA_H
#define MIROVA_CLI_GLTF_CAMERA_H
#include <ostream>
#include <string>
#include <vector>

#include <tiny_gltf.h>

#include "chan.h"
#include "interchange.h"

namespace cli {

// The clipping planes, in scene units.
const double kCameraNear = 0.1, kCameraFar = 100000.0;

// The camera's keys as glTF animates them: seconds, Y-up translations
// (x, y, z) and rotations (x, y, z, w), one a key. False, with *problem,
// when two keys fall on one time or a value is not a finite number.
struct CameraTrack {
  std::vector<float> seconds, translations, rotations;
};
bool CameraTrackOf(const std::vector<CameraKey>& keys, CameraTrack* track, std::string* problem);

// The lens of a camera with a horizontal field of view of fov radians over a
// kCameraAspect frame.
tinygltf::Camera PerspectiveCamera(float fov);

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
