// Test helpers for the glTF files the command line writes: the Khronos glTF
// Validator's verdict (tests/gltf/validate.js under Node), and the file read
// back with TinyGLTF's loader.
#ifndef TESTS_GLTF_CHECK_H
#define TESTS_GLTF_CHECK_H

#include <gtest/gtest.h>
#include <tiny_gltf.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace gltf_check {

// Success when the validator reports no error in the file; its report is the
// failure message otherwise (warnings are printed too).
inline testing::AssertionResult PassesValidator(const std::string& path) {
  std::string command =
      "node '" MIROVA_SOURCE_DIR "/tests/gltf/validate.js' '" + path + "' 2>&1";
  std::FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return testing::AssertionFailure() << "cannot run " << command;
  std::string report;
  char chunk[512];
  while (size_t n = std::fread(chunk, 1, sizeof chunk, pipe)) report.append(chunk, n);
  int status = pclose(pipe);
  if (status != 0) return testing::AssertionFailure() << "the glTF Validator says:\n" << report;
  if (!report.empty()) std::printf("%s", report.c_str());
  return testing::AssertionSuccess();
}

// Reads a .glb or .gltf file; the loader's error is the failure message.
inline testing::AssertionResult Load(const std::string& path, tinygltf::Model* model) {
  tinygltf::TinyGLTF loader;
  std::string error, warning;
  bool binary = path.size() > 4 && path.compare(path.size() - 4, 4, ".glb") == 0;
  bool ok = binary ? loader.LoadBinaryFromFile(model, &error, &warning, path)
                   : loader.LoadASCIIFromFile(model, &error, &warning, path);
  if (ok) return testing::AssertionSuccess();
  return testing::AssertionFailure() << path << ": " << error << warning;
}

// The floats an accessor holds, components of each element in a row.
inline std::vector<float> Floats(const tinygltf::Model& model, int accessorIndex) {
  const tinygltf::Accessor& accessor = model.accessors.at(static_cast<size_t>(accessorIndex));
  const tinygltf::BufferView& view = model.bufferViews.at(static_cast<size_t>(accessor.bufferView));
  const tinygltf::Buffer& buffer = model.buffers.at(static_cast<size_t>(view.buffer));
  EXPECT_EQ(accessor.componentType, TINYGLTF_COMPONENT_TYPE_FLOAT);
  size_t n = accessor.count * static_cast<size_t>(tinygltf::GetNumComponentsInType(accessor.type));
  std::vector<float> values(n);
  size_t start = view.byteOffset + accessor.byteOffset;
  if (start + n * sizeof(float) <= buffer.data.size())
    std::memcpy(values.data(), buffer.data.data() + start, n * sizeof(float));
  else
    ADD_FAILURE() << "accessor " << accessorIndex << " runs past its buffer";
  return values;
}

// A face mesh as a viewer takes it from the file: the first mesh's first
// primitive with its morph targets, their names, the set weights and the
// first animation's weights at each key time.
struct MorphFace {
  std::vector<float> points;               // x, y, z of each point
  std::vector<unsigned> indices;           // of the triangles
  std::vector<std::vector<float>> deltas;  // per target, like points
  std::vector<std::string> names;
  std::vector<double> weights;
  std::vector<float> seconds;          // key times
  std::vector<float> keyWeights;       // per key, one per target
};

inline testing::AssertionResult ReadMorphFace(const std::string& path, MorphFace* face) {
  tinygltf::Model model;
  testing::AssertionResult loaded = Load(path, &model);
  if (!loaded) return loaded;
  if (model.meshes.size() != 1 || model.meshes[0].primitives.size() != 1 || model.nodes.size() != 1)
    return testing::AssertionFailure() << "one node with one mesh of one primitive";
  const tinygltf::Mesh& mesh = model.meshes[0];
  const tinygltf::Primitive& primitive = mesh.primitives[0];
  face->points = Floats(model, primitive.attributes.at("POSITION"));
  if (primitive.indices >= 0) {
    const tinygltf::Accessor& accessor = model.accessors.at(static_cast<size_t>(primitive.indices));
    const tinygltf::BufferView& view = model.bufferViews.at(static_cast<size_t>(accessor.bufferView));
    EXPECT_EQ(accessor.componentType, TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT);
    face->indices.resize(accessor.count);
    std::memcpy(face->indices.data(), model.buffers.at(static_cast<size_t>(view.buffer)).data.data() +
                    view.byteOffset + accessor.byteOffset, accessor.count * sizeof(unsigned));
  }
  for (const auto& target : primitive.targets) face->deltas.push_back(Floats(model, target.at("POSITION")));
  if (mesh.extras.Has("targetNames"))
    for (size_t i = 0; i < mesh.extras.Get("targetNames").ArrayLen(); ++i)
      face->names.push_back(mesh.extras.Get("targetNames").Get(static_cast<int>(i)).Get<std::string>());
  face->weights = mesh.weights;
  if (!model.animations.empty()) {
    const tinygltf::Animation& animation = model.animations[0];
    if (animation.channels.size() != 1 || animation.channels[0].target_path != "weights" ||
        animation.channels[0].target_node != 0)
      return testing::AssertionFailure() << "one animation of the node's weights";
    const tinygltf::AnimationSampler& sampler = animation.samplers.at(static_cast<size_t>(animation.channels[0].sampler));
    EXPECT_EQ(sampler.interpolation, "LINEAR");
    face->seconds = Floats(model, sampler.input);
    face->keyWeights = Floats(model, sampler.output);
  }
  return testing::AssertionSuccess();
}

// The face's points with the given weights, one per target: what a viewer
// shows.
inline std::vector<float> Blend(const MorphFace& face, const std::vector<double>& weights) {
  std::vector<float> points = face.points;
  for (size_t j = 0; j < face.deltas.size() && j < weights.size(); ++j)
    for (size_t i = 0; i < points.size() && i < face.deltas[j].size(); ++i)
      points[i] += static_cast<float>(weights[j]) * face.deltas[j][i];
  return points;
}

}  // namespace gltf_check

#endif
