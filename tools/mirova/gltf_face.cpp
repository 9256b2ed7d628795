#include "gltf_face.h"

#include "gltf_write.h"

namespace cli {

namespace {

// The reasons a face cannot be written; empty when it can.
std::string Unwritable(const MorphMesh& mesh, const std::vector<float>& weights, const WeightTrack& track,
                       std::vector<float>* seconds) {
  if (mesh.points.empty()) return "the face has no points";
  bool finite = AllFinite(Flatten(mesh.points)) && AllFinite(weights) && AllFinite(track.weights);
  for (const MorphTarget& target : mesh.targets) finite = finite && AllFinite(Flatten(target.deltas));
  if (!finite) return "a point or a weight is not a finite number";
  if (!KeySeconds(track.ticks, seconds)) return "the frames lie too close together for glTF's times";
  return "";
}

tinygltf::Primitive FacePrimitive(const MorphMesh& mesh, GltfBuffer& buffer) {
  tinygltf::Primitive primitive;
  primitive.attributes["POSITION"] =
      buffer.AddFloats(Flatten(mesh.points), 3, true, TINYGLTF_TARGET_ARRAY_BUFFER);
  primitive.mode = mesh.triangles.empty() ? TINYGLTF_MODE_POINTS : TINYGLTF_MODE_TRIANGLES;
  if (!mesh.triangles.empty()) primitive.indices = buffer.AddIndices(mesh.triangles);
  for (const MorphTarget& target : mesh.targets)
    primitive.targets.push_back(
        {{"POSITION", buffer.AddFloats(Flatten(target.deltas), 3, true, TINYGLTF_TARGET_ARRAY_BUFFER)}});
  return primitive;
}

tinygltf::Mesh FaceMesh(const MorphMesh& mesh, const std::vector<float>& weights, GltfBuffer& buffer) {
  tinygltf::Mesh face;
  face.name = "Face";
  face.primitives.push_back(FacePrimitive(mesh, buffer));
  if (mesh.targets.empty()) return face;
  face.weights.assign(weights.begin(), weights.end());
  // The names viewers show for the targets, by the common convention.
  tinygltf::Value::Array names;
  for (const MorphTarget& target : mesh.targets) names.emplace_back(target.name);
  face.extras = tinygltf::Value(tinygltf::Value::Object{{"targetNames", tinygltf::Value(names)}});
  return face;
}

}  // namespace

bool WriteFaceGltf(const MorphMesh& mesh, const std::vector<float>& weights, const WeightTrack& track,
                   bool binary, std::ostream& out, std::string* problem) {
  std::vector<float> seconds;
  *problem = Unwritable(mesh, weights, track, &seconds);
  if (!problem->empty()) return false;

  tinygltf::Model model = NewGltfModel();
  GltfBuffer buffer(model);
  model.meshes.push_back(FaceMesh(mesh, weights, buffer));
  tinygltf::Node node;
  node.name = "Face";
  node.mesh = 0;
  model.nodes.push_back(node);
  model.scenes[0].nodes.push_back(0);
  if (!seconds.empty() && !mesh.targets.empty()) {
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
