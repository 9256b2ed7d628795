#include "gltf_face.h"

#include <cctype>
#include <cstdio>
#include <filesystem>

#include "gltf_write.h"

namespace cli {

namespace {

// The reasons a face cannot be written; empty when it can.
std::string Unwritable(const GltfFaceMesh& face, const std::vector<float>& weights, const WeightTrack& track,
                       std::vector<float>* seconds) {
  if (face.positions.empty()) return "the face has no points";
  bool finite = AllFinite(face.positions) && AllFinite(face.normals) && AllFinite(weights) &&
                AllFinite(track.weights);
  for (size_t t = 0; t < face.positionDeltas.size(); ++t)
    finite = finite && AllFinite(face.positionDeltas[t]) && AllFinite(face.normalDeltas[t]);
  if (!finite) return "a point or a weight is not a finite number";
  if (!KeySeconds(track.ticks, seconds)) return "the frames lie too close together for glTF's times";
  return "";
}

// The vertex attributes and morph targets every primitive shares.
tinygltf::Primitive SharedVertices(const GltfFaceMesh& face, GltfBuffer& buffer) {
  tinygltf::Primitive primitive;
  const int vertexData = TINYGLTF_TARGET_ARRAY_BUFFER;
  primitive.attributes["POSITION"] = buffer.AddFloats(face.positions, 3, true, vertexData);
  primitive.attributes["NORMAL"] = buffer.AddFloats(face.normals, 3, false, vertexData);
  if (!face.texcoords.empty())
    primitive.attributes["TEXCOORD_0"] = buffer.AddFloats(face.texcoords, 2, false, vertexData);
  for (size_t t = 0; t < face.positionDeltas.size(); ++t)
    primitive.targets.push_back({{"POSITION", buffer.AddFloats(face.positionDeltas[t], 3, true, vertexData)},
                                 {"NORMAL", buffer.AddFloats(face.normalDeltas[t], 3, false, vertexData)}});
  return primitive;
}

tinygltf::Mesh FaceMesh(const GltfFaceMesh& face, const std::vector<float>& weights, GltfBuffer& buffer) {
  tinygltf::Mesh mesh;
  mesh.name = "Face";
  const tinygltf::Primitive shared = SharedVertices(face, buffer);
  for (const GltfFaceMesh::Part& part : face.parts) {
    tinygltf::Primitive& primitive = mesh.primitives.emplace_back(shared);
    primitive.mode = TINYGLTF_MODE_TRIANGLES;
    primitive.indices = buffer.AddIndices(part.triangles);
    primitive.material = part.material;
  }
  if (face.parts.empty()) {
    mesh.primitives.push_back(shared);
    mesh.primitives.back().mode = TINYGLTF_MODE_POINTS;
  }
  if (face.targetNames.empty()) return mesh;
  mesh.weights.assign(weights.begin(), weights.end());
  // The names viewers show for the targets, by the common convention.
  tinygltf::Value::Array names;
  for (const std::string& name : face.targetNames) names.emplace_back(name);
  mesh.extras = tinygltf::Value(tinygltf::Value::Object{{"targetNames", tinygltf::Value(names)}});
  return mesh;
}

// A glTF material of an OBJ one: its colour and opacity as the base colour
// of a surface that is no metal, its texture (when the face has texture
// coordinates to lay it on) as the base colour's.
tinygltf::Material MaterialOf(const ObjMaterial& obj, bool textured, const std::string& output,
                              tinygltf::Model& model) {
  tinygltf::Material material;
  material.name = obj.name;
  material.pbrMetallicRoughness.baseColorFactor.assign(obj.color, obj.color + 4);
  material.pbrMetallicRoughness.metallicFactor = 0.0;
  if (obj.color[3] < 1.0f) material.alphaMode = "BLEND";
  if (obj.texture.empty() || !textured) return material;
  tinygltf::Image image;
  image.uri = RelativeUri(obj.texture, output);
  model.images.push_back(image);
  tinygltf::Texture texture;
  texture.source = static_cast<int>(model.images.size()) - 1;
  model.textures.push_back(texture);
  material.pbrMetallicRoughness.baseColorTexture.index = static_cast<int>(model.textures.size()) - 1;
  return material;
}

}  // namespace

std::string RelativeUri(const std::string& path, const std::string& output) {
  namespace fs = std::filesystem;
  std::error_code noFile, noOutput;
  const fs::path file = fs::absolute(path, noFile).lexically_normal();
  const fs::path folder = fs::absolute(output, noOutput).lexically_normal().parent_path();
  fs::path relative = noFile || noOutput ? fs::path(path) : file.lexically_relative(folder);
  if (relative.empty()) relative = file;
  std::string uri;
  for (unsigned char c : relative.generic_string()) {
    if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~' || c == '/') {
      uri += static_cast<char>(c);
      continue;
    }
    char escaped[4];
    std::snprintf(escaped, sizeof escaped, "%%%02X", c);
    uri += escaped;
  }
  return uri;
}

bool WriteFaceGltf(const GltfFaceMesh& face, const std::vector<float>& weights, const WeightTrack& track,
                   const std::string& output, std::ostream& out, std::string* problem) {
  std::vector<float> seconds;
  *problem = Unwritable(face, weights, track, &seconds);
  if (!problem->empty()) return false;

  tinygltf::Model model = NewGltfModel();
  GltfBuffer buffer(model);
  model.meshes.push_back(FaceMesh(face, weights, buffer));
  for (const ObjMaterial& material : face.materials)
    model.materials.push_back(MaterialOf(material, !face.texcoords.empty(), output, model));
  tinygltf::Node node;
  node.name = "Face";
  node.mesh = 0;
  model.nodes.push_back(node);
  model.scenes[0].nodes.push_back(0);
  if (!seconds.empty() && !face.targetNames.empty()) {
    tinygltf::Animation animation;
    animation.name = "Expression";
    int input = buffer.AddFloats(seconds, 1, true);
    AddLinearChannel(animation, 0, "weights", input, buffer.AddFloats(track.weights, 1, false));
    model.animations.push_back(animation);
  }
  bool binary = false;
  IsGltfPath(output, &binary);
  if (WriteGltf(model, binary, out)) return true;
  *problem = "cannot write the glTF";
  return false;
}

}  // namespace cli
