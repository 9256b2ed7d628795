#include "gltf_face.h"

#include "channels.h"
#include "gltf_write.h"

namespace cli {

namespace {

// The reasons a face cannot be written; empty when it can.
std::string Unwritable(const BlendBreakdown& face, const std::vector<float>& weights, const WeightTrack& track,
                       std::vector<float>* seconds) {
  if (face.base.empty()) return "the face has no points";
  bool finite = AllFinite(Flatten(face.base)) && AllFinite(weights) && AllFinite(track.weights);
  for (const BlendTarget& target : face.targets) finite = finite && AllFinite(Flatten(target.difference));
  if (!finite) return "a point or a weight is not a finite number";
  if (!KeySeconds(track.ticks, seconds)) return "the frames lie too close together for glTF's times";
  return "";
}

tinygltf::Primitive FacePrimitive(const BlendBreakdown& face, GltfBuffer& buffer) {
  tinygltf::Primitive primitive;
  primitive.attributes["POSITION"] =
      buffer.AddFloats(Flatten(face.base), 3, true, TINYGLTF_TARGET_ARRAY_BUFFER);
  primitive.mode = face.triangles.empty() ? TINYGLTF_MODE_POINTS : TINYGLTF_MODE_TRIANGLES;
  if (!face.triangles.empty()) primitive.indices = buffer.AddIndices(face.triangles);
  for (const BlendTarget& target : face.targets)
    primitive.targets.push_back(
        {{"POSITION", buffer.AddFloats(Flatten(target.difference), 3, true, TINYGLTF_TARGET_ARRAY_BUFFER)}});
  return primitive;
}

tinygltf::Mesh FaceMesh(const BlendBreakdown& face, const std::vector<float>& weights, GltfBuffer& buffer) {
  tinygltf::Mesh mesh;
  mesh.name = "Face";
  mesh.primitives.push_back(FacePrimitive(face, buffer));
  if (face.targets.empty()) return mesh;
  mesh.weights.assign(weights.begin(), weights.end());
  // The names viewers show for the targets, by the common convention.
  tinygltf::Value::Array names;
  for (const BlendTarget& target : face.targets) names.emplace_back(std::string(expressionChannels[target.channel].name));
  mesh.extras = tinygltf::Value(tinygltf::Value::Object{{"targetNames", tinygltf::Value(names)}});
  return mesh;
}

}  // namespace

bool WriteFaceGltf(const BlendBreakdown& face, const std::vector<float>& weights, const WeightTrack& track,
                   bool binary, std::ostream& out, std::string* problem) {
  std::vector<float> seconds;
  *problem = Unwritable(face, weights, track, &seconds);
  if (!problem->empty()) return false;

  tinygltf::Model model = NewGltfModel();
  GltfBuffer buffer(model);
  model.meshes.push_back(FaceMesh(face, weights, buffer));
  tinygltf::Node node;
  node.name = "Face";
  node.mesh = 0;
  model.nodes.push_back(node);
  model.scenes[0].nodes.push_back(0);
  if (!seconds.empty() && !face.targets.empty()) {
    tinygltf::Animation animation;
    animation.name = "Expression";
    int input = buffer.AddFloats(seconds, 1, true);
    AddLinearChannel(animation, 0, "weights", input, buffer.AddFloats(track.weights, 1, false));
    model.animations.push_back(animation);
  }
  if (WriteGltf(model, binary, out)) return true;
  *problem = "cannot write the glTF";
  return false;
}

}  // namespace cli
