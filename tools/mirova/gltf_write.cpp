#include "gltf_write.h"

#include <maxtypes.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "file_names.h"

namespace cli {

namespace {

int AccessorType(int components) {
  switch (components) {
    case 2: return TINYGLTF_TYPE_VEC2;
    case 3: return TINYGLTF_TYPE_VEC3;
    case 4: return TINYGLTF_TYPE_VEC4;
    default: return TINYGLTF_TYPE_SCALAR;
  }
}

void SetBounds(const std::vector<float>& values, int components, tinygltf::Accessor& accessor) {
  accessor.minValues.assign(static_cast<size_t>(components), HUGE_VAL);
  accessor.maxValues.assign(static_cast<size_t>(components), -HUGE_VAL);
  for (size_t i = 0; i < values.size(); ++i) {
    size_t c = i % static_cast<size_t>(components);
    accessor.minValues[c] = std::min(accessor.minValues[c], static_cast<double>(values[i]));
    accessor.maxValues[c] = std::max(accessor.maxValues[c], static_cast<double>(values[i]));
  }
}

}  // namespace

bool IsGltfPath(const std::string& path, bool* binary) {
  bool glb = HasExtension(path, ".glb");
  if (binary) *binary = glb;
  return glb || HasExtension(path, ".gltf");
}

tinygltf::Model NewGltfModel() {
  tinygltf::Model model;
  model.asset.version = "2.0";
  model.asset.generator = "mirova";
  model.scenes.emplace_back();
  model.defaultScene = 0;
  return model;
}

int GltfBuffer::AddView(const void* data, size_t bytes, int viewTarget) {
  if (model.buffers.empty()) model.buffers.emplace_back();
  std::vector<unsigned char>& buffer = model.buffers[0].data;
  tinygltf::BufferView view;
  view.buffer = 0;
  // Every element here is 4 bytes, so each view starts aligned.
  view.byteOffset = buffer.size();
  view.byteLength = bytes;
  view.target = viewTarget;
  buffer.resize(buffer.size() + bytes);
  std::memcpy(buffer.data() + view.byteOffset, data, bytes);
  model.bufferViews.push_back(view);
  return static_cast<int>(model.bufferViews.size()) - 1;
}

int GltfBuffer::AddFloats(const std::vector<float>& values, int components, bool bounded, int viewTarget) {
  tinygltf::Accessor accessor;
  accessor.bufferView = AddView(values.data(), values.size() * sizeof(float), viewTarget);
  accessor.componentType = TINYGLTF_COMPONENT_TYPE_FLOAT;
  accessor.type = AccessorType(components);
  accessor.count = values.size() / static_cast<size_t>(components);
  if (bounded) SetBounds(values, components, accessor);
  model.accessors.push_back(accessor);
  return static_cast<int>(model.accessors.size()) - 1;
}

int GltfBuffer::AddIndices(const std::vector<unsigned>& indices) {
  tinygltf::Accessor accessor;
  accessor.bufferView = AddView(indices.data(), indices.size() * sizeof(unsigned),
                                TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER);
  accessor.componentType = TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT;
  accessor.type = TINYGLTF_TYPE_SCALAR;
  accessor.count = indices.size();
  model.accessors.push_back(accessor);
  return static_cast<int>(model.accessors.size()) - 1;
}

std::vector<float> Flatten(const std::vector<Point3>& points) {
  std::vector<float> values;
  values.reserve(points.size() * 3);
  for (const Point3& p : points) values.insert(values.end(), {p.x, p.y, p.z});
  return values;
}

bool AllFinite(const std::vector<float>& values) {
  return std::all_of(values.begin(), values.end(), [](float v) { return std::isfinite(v); });
}

bool KeySeconds(const std::vector<int>& ticks, std::vector<float>* seconds) {
  seconds->clear();
  for (int t : ticks) {
    float s = static_cast<float>(static_cast<double>(t) / TIME_TICKSPERSEC);
    if (!seconds->empty() && !(s > seconds->back())) return false;
    seconds->push_back(s);
  }
  return true;
}

void AddLinearChannel(tinygltf::Animation& animation, int node, const char* path, int input, int output) {
  tinygltf::AnimationSampler sampler;
  sampler.input = input;
  sampler.output = output;
  sampler.interpolation = "LINEAR";
  animation.samplers.push_back(sampler);
  tinygltf::AnimationChannel channel;
  channel.sampler = static_cast<int>(animation.samplers.size()) - 1;
  channel.target_node = node;
  channel.target_path = path;
  animation.channels.push_back(channel);
}

bool WriteGltf(const tinygltf::Model& model, bool binary, std::ostream& out) {
  tinygltf::TinyGLTF writer;
  // Images are named by their URIs only: the default writer would encode
  // pixels the model does not hold.
  writer.SetImageWriter(nullptr, nullptr);
  // Pretty text is for people reading the .gltf; GLB's JSON stays compact.
  return writer.WriteGltfSceneToStream(&model, out, !binary, binary) && out.flush();
}

}  // namespace cli
