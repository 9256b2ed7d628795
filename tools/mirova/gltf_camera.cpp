#include "gltf_camera.h"

#include <cmath>

#include "gltf_write.h"
#include "interchange.h"

namespace cli {

namespace {

// Translations and rotations in Y-up axes, as flat arrays. Neighbouring
// quaternions keep one sign, so that a reader that blends them as they are
// takes the short way round.
void YUpKeys(const std::vector<CameraKey>& keys, std::vector<float>* translations, std::vector<float>* rotations) {
  Quat previous;
  for (const CameraKey& key : keys) {
    Point3 p = YUp(key.position);
    translations->insert(translations->end(), {p.x, p.y, p.z});
    Quat q = YUpRotation(key.rotation).Normalize();
    float dot = q.x * previous.x + q.y * previous.y + q.z * previous.z + q.w * previous.w;
    if (dot < 0) q = Quat(-q.x, -q.y, -q.z, -q.w);
    rotations->insert(rotations->end(), {q.x, q.y, q.z, q.w});
    previous = q;
  }
}

// The camera's node, resting at the first key.
tinygltf::Node CameraNode(const std::vector<float>& translations, const std::vector<float>& rotations) {
  tinygltf::Node node;
  node.name = "Camera";
  node.camera = 0;
  if (!translations.empty()) {
    node.translation.assign(translations.begin(), translations.begin() + 3);
    node.rotation.assign(rotations.begin(), rotations.begin() + 4);
  }
  return node;
}

tinygltf::Animation TakeAnimation(tinygltf::Model& model, const std::vector<float>& seconds,
                                  const std::vector<float>& translations, const std::vector<float>& rotations) {
  GltfBuffer buffer(model);
  tinygltf::Animation animation;
  animation.name = "Take";
  int input = buffer.AddFloats(seconds, 1, true);
  AddLinearChannel(animation, 0, "translation", input, buffer.AddFloats(translations, 3, false));
  AddLinearChannel(animation, 0, "rotation", input, buffer.AddFloats(rotations, 4, false));
  return animation;
}

}  // namespace

tinygltf::Camera PerspectiveCamera(float fov) {
  tinygltf::Camera camera;
  camera.type = "perspective";
  camera.name = "Camera";
  camera.perspective.aspectRatio = kCameraAspect;
  camera.perspective.yfov = VerticalFov(fov);
  camera.perspective.znear = kCameraNear;
  camera.perspective.zfar = kCameraFar;
  return camera;
}

bool CameraTrackOf(const std::vector<CameraKey>& keys, CameraTrack* track, std::string* problem) {
  std::vector<int> ticks;
  for (const CameraKey& key : keys) ticks.push_back(key.ticks);
  if (!KeySeconds(ticks, &track->seconds)) {
    *problem = "the keys lie too close together for glTF's times";
    return false;
  }
  YUpKeys(keys, &track->translations, &track->rotations);
  if (AllFinite(track->translations) && AllFinite(track->rotations)) return true;
  *problem = "a key is not a finite number";
  return false;
}

bool WriteCameraGltf(const std::vector<CameraKey>& keys, float fov, bool binary, std::ostream& out,
                     std::string* problem) {
  CameraTrack track;
  if (!CameraTrackOf(keys, &track, problem)) return false;
  tinygltf::Model model = NewGltfModel();
  model.cameras.push_back(PerspectiveCamera(fov));
  model.nodes.push_back(CameraNode(track.translations, track.rotations));
  model.scenes[0].nodes.push_back(0);
  // glTF has no accessor of no elements: a take without samples has no animation.
  if (!keys.empty())
    model.animations.push_back(TakeAnimation(model, track.seconds, track.translations, track.rotations));
  if (WriteGltf(model, binary, out)) return true;
  *problem = "cannot write the glTF";
  return false;
}

}  // namespace cli
