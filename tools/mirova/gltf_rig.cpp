#include "gltf_rig.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "cli.h"
#include "face_morph.h"
#include "file_names.h"
#include "gltf_resources.h"
#include "gltf_write.h"

namespace cli {

namespace {

const Json& FirstPrimitive(const Json& mesh) {
  static const Json none = Json::object();
  const Json& primitives = Items(mesh, "primitives");
  return primitives.empty() ? none : primitives[0];
}

const Json& Extras(const Json& item) {
  static const Json none = Json::object();
  return item.is_object() && item.contains("extras") && item["extras"].is_object() ? item["extras"] : none;
}

// The name of target i as glTF tools leave it: the accessor's name of its
// POSITION (or first) attribute, else "target_i".
std::string AccessorName(const Json& accessors, const Json& target, size_t i) {
  long long a = IndexAt(target, "POSITION");
  if (a < 0 && target.is_object() && !target.empty() && target.begin()->is_number_integer())
    a = target.begin()->get<long long>();
  if (a >= 0 && a < static_cast<long long>(accessors.size())) {
    const Json& accessor = accessors[static_cast<size_t>(a)];
    if (accessor.is_object() && accessor.contains("name") && accessor["name"].is_string() &&
        !accessor["name"].get<std::string>().empty())
      return accessor["name"].get<std::string>();
  }
  return "target_" + std::to_string(i);
}

// mesh.extras.targetNames where it names every target, else each
// accessor's name.
std::vector<std::string> TargetNames(const Json& json, const Json& mesh) {
  const Json& targets = Items(FirstPrimitive(mesh), "targets");
  const Json& listed = Items(Extras(mesh), "targetNames");
  std::vector<std::string> names;
  if (listed.size() == targets.size() &&
      std::all_of(listed.begin(), listed.end(), [](const Json& n) { return n.is_string(); }))
    for (const Json& n : listed) names.push_back(n.get<std::string>());
  else
    for (size_t i = 0; i < targets.size(); ++i) names.push_back(AccessorName(Items(json, "accessors"), targets[i], i));
  return names;
}

// What a target's weight may reach: mesh.extras.targetRanges {"name": [min,
// max]} where the rig gives it, else 0 to 1 as viewers expect.
std::pair<double, double> TargetRange(const Json& mesh, const std::string& name) {
  const Json& ranges = Extras(mesh).contains("targetRanges") ? Extras(mesh)["targetRanges"] : Json();
  if (!ranges.is_object() || !ranges.contains(name)) return {0.0, 1.0};
  const Json& range = ranges[name];
  if (range.is_array() && range.size() == 2 && range[0].is_number() && range[1].is_number() &&
      range[0].get<double>() <= range[1].get<double>())
    return {range[0].get<double>(), range[1].get<double>()};
  return {0.0, 1.0};
}

RigMesh DrivenMesh(const Json& json, const Json& mesh, const RigMap& map) {
  RigMesh rig;
  rig.names = TargetNames(json, mesh);
  rig.drives.resize(rig.names.size());
  for (size_t t = 0; t < rig.names.size(); ++t) {
    rig.ranges.push_back(TargetRange(mesh, rig.names[t]));
    for (int c = 0; c < NUM_CHANNELS; ++c)
      for (const RigDrive& d : map.drives[c])
        if (d.target == rig.names[t]) rig.drives[t].push_back({c, d.factor});
  }
  return rig;
}

// The weights a node shows at rest, one per target: its own, else its
// mesh's, else none.
std::vector<double> RestWeights(const Json& node, const Json& mesh, size_t count) {
  for (const Json* item : {&node, &mesh}) {
    const Json& weights = Items(*item, "weights");
    if (weights.size() != count ||
        !std::all_of(weights.begin(), weights.end(), [](const Json& w) { return w.is_number(); }))
      continue;
    std::vector<double> rest;
    for (const Json& w : weights) rest.push_back(w.get<double>());
    return rest;
  }
  return std::vector<double>(count, 0.0);
}

// Target by target at each frame: the mapped ones as the channels drive
// them, clamped to their range; the others at rest.
std::vector<float> FrameTargetWeights(const RigMesh& mesh, const std::vector<double>& rest,
                                      const WeightTrack& channels) {
  const size_t targets = mesh.names.size(), frames = channels.ticks.size();
  std::vector<float> values;
  values.reserve(frames * targets);
  for (size_t k = 0; k < frames; ++k) {
    const float* w = &channels.weights[k * NUM_CHANNELS];
    for (size_t t = 0; t < targets; ++t) {
      double v = rest[t];
      if (!mesh.drives[t].empty()) {
        v = 0.0;
        for (const auto& [channel, factor] : mesh.drives[t]) v += w[channel] * factor;
        v = std::clamp(v, mesh.ranges[t].first, mesh.ranges[t].second);
      }
      values.push_back(static_cast<float>(v));
    }
  }
  return values;
}

// What the object's channels weigh at every frame its keys span.
bool ChannelTrack(const LibraryAccess& library, ExpressionObject* obj, WeightTrack* track, std::string* problem,
                  std::string* note) {
  // A breakdown whose targets are the channels themselves, so that each
  // frame gives every channel's weight.
  BlendBreakdown channels;
  for (int c = 0; c < NUM_CHANNELS; ++c) channels.targets.push_back({c, {}});
  TimeValue shift = 0;
  if (!FrameWeights(library, obj, channels, track, &shift, problem)) return false;
  if (shift > 0) *note = ShiftNote(shift);
  return true;
}

// The targets map names that no mesh has.
std::vector<std::string> MissingTargets(const std::vector<RigMesh>& meshes, const RigMap& map) {
  std::vector<std::string> missing;
  for (const std::string& name : MappedTargets(map)) {
    const bool found = std::any_of(meshes.begin(), meshes.end(), [&](const RigMesh& m) {
      return std::find(m.names.begin(), m.names.end(), name) != m.names.end();
    });
    if (!found) missing.push_back(name);
  }
  return missing;
}

struct DrivenNode {
  size_t node, mesh;
  std::vector<double> rest;  // its weights at rest
};

std::string NameList(const std::vector<std::string>& names) {
  std::string list;
  for (const std::string& n : names) list += (list.empty() ? "" : ", ") + Printable(n);
  return list;
}

}  // namespace

bool RigMesh::Driven() const {
  return std::any_of(drives.begin(), drives.end(), [](const auto& d) { return !d.empty(); });
}

int GltfRig::Load(const std::string& rigPath, const std::string& mapPath, std::ostream& err) {
  std::string error;
  RigMap map = PresetRigMap();
  if (!ReadGltfDocument(rigPath, &doc, &error) || (!mapPath.empty() && !ReadRigMap(mapPath, &map, &error))) {
    err << "mirova: " << error << "\n";
    return EXIT_USAGE;
  }
  for (const Json& mesh : Items(doc.json, "meshes")) meshes.push_back(DrivenMesh(doc.json, mesh, map));
  bool shown = false;
  const Json& nodes = Items(doc.json, "nodes");
  for (size_t n = 0; n < nodes.size(); ++n) {
    const long long m = IndexAt(nodes[n], "mesh");
    if (m >= static_cast<long long>(meshes.size())) {
      err << "mirova: " << Printable(rigPath) << ": nodes[" << n << "] names mesh " << m
          << ", which the file does not have\n";
      return EXIT_USAGE;
    }
    shown = shown || (m >= 0 && meshes[static_cast<size_t>(m)].Driven());
  }
  const std::string from = mapPath.empty() ? "the built-in map" : Printable(mapPath);
  if (!shown) {
    err << "mirova: " << Printable(rigPath) << ": no node shows a morph target that " << from << " names ("
        << NameList(MappedTargets(map)) << "), so nothing is written\n";
    return EXIT_REFUSED;
  }
  const std::vector<std::string> missing = MissingTargets(meshes, map);
  if (!missing.empty())
    err << "mirova: " << Printable(rigPath) << " has no morph target named " << NameList(missing) << " (" << from
        << " names them); they are left out\n";
  return EXIT_OK;
}

bool GltfRig::Write(const WeightTrack& channels, const std::string& name, const std::string& output, bool binary,
                    std::ostream& out, std::ostream& err, std::string* problem) {
  std::vector<float> seconds;
  if (!KeySeconds(channels.ticks, &seconds) || seconds.empty()) {
    *problem = seconds.empty() ? "no frame to key" : "the frames lie too close together for glTF's times";
    return false;
  }
  // Read before the document grows.
  std::vector<DrivenNode> driven;
  const Json& nodes = Items(doc.json, "nodes");
  for (size_t n = 0; n < nodes.size(); ++n) {
    const long long m = IndexAt(nodes[n], "mesh");
    if (m < 0 || !meshes[static_cast<size_t>(m)].Driven()) continue;
    const size_t mesh = static_cast<size_t>(m);
    driven.push_back({n, mesh, RestWeights(nodes[n], Items(doc.json, "meshes")[mesh], meshes[mesh].names.size())});
  }
  const long long replaced = TakeOwnAnimation(doc, name, "face", err);
  GltfAppender data(doc, binary);
  const int input = data.AddFloats(seconds, 1, true);
  Json animation = {{"name", name}, {"channels", Json::array()}, {"samplers", Json::array()}};
  // Nodes that show one mesh at the same rest share their weights.
  std::map<std::pair<size_t, std::vector<double>>, size_t> samplerOf;
  for (const DrivenNode& d : driven) {
    const auto key = std::make_pair(d.mesh, d.rest);
    if (!samplerOf.count(key)) {
      const std::vector<float> values = FrameTargetWeights(meshes[d.mesh], d.rest, channels);
      if (!AllFinite(values)) {
        *problem = "a weight is not a finite number";
        return false;
      }
      samplerOf[key] = animation["samplers"].size();
      animation["samplers"].push_back(
          {{"input", input}, {"output", data.AddFloats(values, 1, false)}, {"interpolation", "LINEAR"}});
    }
    animation["channels"].push_back({{"sampler", samplerOf[key]}, {"target", {{"node", d.node}, {"path", "weights"}}}});
  }
  data.Finish();
  PutOwnAnimation(doc, replaced, "face", std::move(animation));
  if (!CopyResources(doc, output, err, problem)) return false;
  if (WriteGltfDocument(doc, binary, out)) return true;
  *problem = "a GLB holds at most 4 GiB";
  return false;
}

bool GltfRig::Drive(const LibraryAccess& library, ExpressionObject* obj, const std::string& recording,
                    const std::string& output, std::ostream& out, std::ostream& err, std::string* problem,
                    std::string* note) {
  WeightTrack track;
  if (!ChannelTrack(library, obj, &track, problem, note)) return false;
  bool binary = false;
  IsGltfPath(output, &binary);
  return Write(track, StemOf(recording), output, binary, out, err, problem);
}

}  // namespace cli
