// A glTF 2.0 animation sampler read into plain numbers and evaluated as glTF
// defines it: STEP holds a key's value, LINEAR blends neighbouring keys
// (rotations by spherical interpolation, the short way round), CUBICSPLINE
// follows the Hermite curve through the keys and their tangents (rotations
// normalised after). Before the first key and after the last the nearest
// key's value holds.
#ifndef MIROVA_CLI_GLTF_ANIMATION_H
#define MIROVA_CLI_GLTF_ANIMATION_H
#include <tiny_gltf.h>

#include <string>
#include <vector>

namespace cli {

enum class GltfInterpolation { kStep, kLinear, kCubicSpline };

struct GltfSampler {
  GltfInterpolation interpolation = GltfInterpolation::kLinear;
  bool rotation = false;  // values are quaternions (x, y, z, w)
  int components = 3;     // of each value: 3, or 4 for a rotation
  std::vector<float> times;   // seconds, increasing
  // components numbers a key; CUBICSPLINE holds three values a key: the
  // in-tangent, the value and the out-tangent.
  std::vector<float> values;
};

// Reads the sampler that drives path ("translation", "rotation", "scale") of
// a node. False, with *problem, when it cannot be: accessors of the wrong
// kind or outside their buffers, key times that are not increasing finite
// numbers, values that are not finite, counts that do not match.
bool ReadGltfSampler(const tinygltf::Model& model, const tinygltf::AnimationSampler& sampler,
                     const std::string& path, GltfSampler* read, std::string* problem);

// The sampler's value at time (seconds) into value[0 .. components).
void EvaluateGltfSampler(const GltfSampler& sampler, double time, double* value);

}  // namespace cli

#endif
