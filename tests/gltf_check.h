// Test helpers for the glTF files the command line writes: the Khronos glTF
// Validator's verdict (tests/gltf/validate.js under Node), and the file read
// back with TinyGLTF's loader.
#ifndef TESTS_GLTF_CHECK_H
#define TESTS_GLTF_CHECK_H

#include <gtest/gtest.h>
#include <tiny_gltf.h>

#include <cmath>
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

// The values an accessor of componentType holds (T of its size),
// components of each element in a row.
template <typename T>
std::vector<T> Values(const tinygltf::Model& model, int accessorIndex, int componentType) {
  const tinygltf::Accessor& accessor = model.accessors.at(static_cast<size_t>(accessorIndex));
  const tinygltf::BufferView& view = model.bufferViews.at(static_cast<size_t>(accessor.bufferView));
  const tinygltf::Buffer& buffer = model.buffers.at(static_cast<size_t>(view.buffer));
  EXPECT_EQ(accessor.componentType, componentType);
  size_t n = accessor.count * static_cast<size_t>(tinygltf::GetNumComponentsInType(accessor.type));
  std::vector<T> values(n);
  size_t start = view.byteOffset + accessor.byteOffset;
  if (start + n * sizeof(T) <= buffer.data.size())
    std::memcpy(values.data(), buffer.data.data() + start, n * sizeof(T));
  else
    ADD_FAILURE() << "accessor " << accessorIndex << " runs past its buffer";
  return values;
}

inline std::vector<float> Floats(const tinygltf::Model& model, int accessorIndex) {
  return Values<float>(model, accessorIndex, TINYGLTF_COMPONENT_TYPE_FLOAT);
}

// A face mesh as a viewer takes it from the file: the first mesh, whose
// primitives (one per material) share their vertices and morph targets, the
// targets' names, the set weights and the first animation's weights at each
// key time.
struct MorphFace {
  std::vector<float> points;                     // x, y, z of each vertex
  std::vector<float> normals;                    // the same of each vertex's normal
  std::vector<float> texcoords;                  // u, v of each vertex; none without TEXCOORD_0
  std::vector<unsigned> indices;                 // of the triangles, primitive after primitive
  std::vector<int> materials;                    // per primitive
  std::vector<size_t> triangleCounts;            // per primitive
  std::vector<std::vector<float>> deltas;        // per target, like points
  std::vector<std::vector<float>> normalDeltas;  // per target, like normals
  std::vector<std::string> names;
  std::vector<double> weights;
  std::vector<float> seconds;     // key times
  std::vector<float> keyWeights;  // per key, one per target
};

// The vertices every primitive of mesh shares; a failure when one has its own.
inline testing::AssertionResult ReadSharedVertices(const tinygltf::Model& model, const tinygltf::Mesh& mesh,
                                                   MorphFace* face) {
  const tinygltf::Primitive& first = mesh.primitives.at(0);
  for (const tinygltf::Primitive& primitive : mesh.primitives)
    if (primitive.attributes != first.attributes || primitive.targets != first.targets)
      return testing::AssertionFailure() << "primitives with vertices of their own";
  face->points = Floats(model, first.attributes.at("POSITION"));
  if (first.attributes.count("NORMAL")) face->normals = Floats(model, first.attributes.at("NORMAL"));
  if (first.attributes.count("TEXCOORD_0")) face->texcoords = Floats(model, first.attributes.at("TEXCOORD_0"));
  for (const auto& target : first.targets) {
    face->deltas.push_back(Floats(model, target.at("POSITION")));
    if (target.count("NORMAL")) face->normalDeltas.push_back(Floats(model, target.at("NORMAL")));
  }
  return testing::AssertionSuccess();
}

inline testing::AssertionResult ReadMorphFace(const std::string& path, MorphFace* face) {
  tinygltf::Model model;
  testing::AssertionResult loaded = Load(path, &model);
  if (!loaded) return loaded;
  if (model.meshes.size() != 1 || model.meshes[0].primitives.empty() || model.nodes.size() != 1)
    return testing::AssertionFailure() << "one node with one mesh";
  const tinygltf::Mesh& mesh = model.meshes[0];
  testing::AssertionResult shared = ReadSharedVertices(model, mesh, face);
  if (!shared) return shared;
  for (const tinygltf::Primitive& primitive : mesh.primitives) {
    const std::vector<unsigned> indices =
        primitive.indices < 0 ? std::vector<unsigned>()
                              : Values<unsigned>(model, primitive.indices, TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT);
    face->indices.insert(face->indices.end(), indices.begin(), indices.end());
    face->materials.push_back(primitive.material);
    face->triangleCounts.push_back(indices.size() / 3);
  }
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

// Area-weighted vertex normals of points (x, y, z each) over polygons of
// vertex indices: a naive reference, each polygon's vector area (by Newell's
// formula) added to its corners, the sums made unit.
inline std::vector<float> SmoothNormals(const std::vector<float>& points,
                                        const std::vector<std::vector<unsigned>>& polygons) {
  std::vector<double> sums(points.size());
  for (const std::vector<unsigned>& polygon : polygons) {
    double n[3] = {0, 0, 0};
    for (size_t c = 0; c < polygon.size(); ++c) {
      const float* p = &points[polygon[c] * 3];
      const float* q = &points[polygon[(c + 1) % polygon.size()] * 3];
      for (int k = 0; k < 3; ++k)
        n[k] += (double(p[(k + 1) % 3]) - q[(k + 1) % 3]) * (double(p[(k + 2) % 3]) + q[(k + 2) % 3]);
    }
    for (unsigned v : polygon)
      for (int k = 0; k < 3; ++k) sums[v * 3 + k] += n[k];
  }
  std::vector<float> normals(sums.size());
  for (size_t i = 0; i + 2 < sums.size(); i += 3) {
    const double length = std::sqrt(sums[i] * sums[i] + sums[i + 1] * sums[i + 1] + sums[i + 2] * sums[i + 2]);
    for (int k = 0; k < 3; ++k) normals[i + k] = length > 0 ? static_cast<float>(sums[i + k] / length) : 0.0f;
  }
  return normals;
}

// Triangles as polygons of three.
inline std::vector<std::vector<unsigned>> Polygons(const std::vector<unsigned>& triangles) {
  std::vector<std::vector<unsigned>> polygons;
  for (size_t t = 0; t + 2 < triangles.size(); t += 3)
    polygons.push_back({triangles[t], triangles[t + 1], triangles[t + 2]});
  return polygons;
}

// Success when each of got is within tolerance of want (as many).
inline testing::AssertionResult Near(const std::vector<float>& got, const std::vector<float>& want, double tolerance) {
  if (got.size() != want.size()) return testing::AssertionFailure() << got.size() << " values vs " << want.size();
  for (size_t i = 0; i < got.size(); ++i)
    if (!(std::fabs(got[i] - want[i]) <= tolerance))
      return testing::AssertionFailure() << "value " << i << ": " << got[i] << " vs " << want[i];
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

// The face's normals with the given weights, made unit: what a viewer
// shades with.
inline std::vector<float> BlendNormals(const MorphFace& face, const std::vector<double>& weights) {
  MorphFace normals;
  normals.points = face.normals;
  normals.deltas = face.normalDeltas;
  std::vector<float> blended = Blend(normals, weights);
  for (size_t i = 0; i + 2 < blended.size(); i += 3) {
    const float length =
        std::sqrt(blended[i] * blended[i] + blended[i + 1] * blended[i + 1] + blended[i + 2] * blended[i + 2]);
    for (int k = 0; k < 3; ++k) blended[i + k] /= length;
  }
  return blended;
}

}  // namespace gltf_check

#endif
