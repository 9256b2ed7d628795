// glTF 2.0 through tinygltf: a model's one buffer filled with plain floats and
// indices, animation channels, and the model written to a stream as GLB or as
// text with the buffer embedded (so that the caller decides where it goes).
#ifndef MIROVA_CLI_GLTF_WRITE_H
#define MIROVA_CLI_GLTF_WRITE_H
#include <point3.h>
#include <tiny_gltf.h>

#include <ostream>
#include <string>
#include <vector>

namespace cli {

// True when path names a glTF file: .glb (*binary set) or .gltf (text).
bool IsGltfPath(const std::string& path, bool* binary = nullptr);

// A model with its asset record and one scene.
tinygltf::Model NewGltfModel();

// Adds the values to model's one buffer (made on first use), each block in a
// view of its own, and returns the new accessor's index.
class GltfBuffer {
 public:
  explicit GltfBuffer(tinygltf::Model& m) : model(m) {}
  // values.size() / components float elements (1 to 4 components); min
  // and max are recorded when bounded (positions and key times need them).
  // viewTarget is the view's ARRAY_BUFFER target for vertex data, else 0.
  int AddFloats(const std::vector<float>& values, int components, bool bounded, int viewTarget = 0);
  int AddIndices(const std::vector<unsigned>& indices);

 private:
  int AddView(const void* data, size_t bytes, int viewTarget);
  tinygltf::Model& model;
};

std::vector<float> Flatten(const std::vector<Point3>& points);
// False when a value is infinite or not a number, which glTF cannot hold.
bool AllFinite(const std::vector<float>& values);

// Key times in seconds for times in ticks (4800 a second); false when two
// keys would fall on one 32-bit float time, as glTF needs them increasing.
bool KeySeconds(const std::vector<int>& ticks, std::vector<float>* seconds);

// A LINEAR sampler from input times to output values, and the channel that
// drives path ("translation", "rotation", "weights") of node with it.
void AddLinearChannel(tinygltf::Animation& animation, int node, const char* path, int input, int output);

// The model as GLB when binary, otherwise as glTF JSON with the buffer in a
// data URI (images stay where their URIs point); false when out failed.
bool WriteGltf(const tinygltf::Model& model, bool binary, std::ostream& out);

}  // namespace cli

#endif
