#include "gltf_scene_camera.h"

#include "cli.h"
#include "file_names.h"
#include "gltf_camera.h"
#include "gltf_resources.h"

namespace cli {

namespace {

// The lens as glTF's JSON holds it.
Json CameraJson(float fov) {
  const tinygltf::Camera lens = PerspectiveCamera(fov);
  return {{"name", lens.name},
          {"type", lens.type},
          {"perspective",
           {{"aspectRatio", lens.perspective.aspectRatio},
            {"yfov", lens.perspective.yfov},
            {"znear", lens.perspective.znear},
            {"zfar", lens.perspective.zfar}}}};
}

long long AddCamera(Json& json, float fov) {
  if (!json["cameras"].is_array()) json["cameras"] = Json::array();
  json["cameras"].push_back(CameraJson(fov));
  return static_cast<long long>(json["cameras"].size()) - 1;
}

Json Floats(const std::vector<float>& values, size_t first, size_t count) {
  Json list = Json::array();
  for (size_t i = first; i < first + count; ++i) list.push_back(values[i]);
  return list;
}

}  // namespace

int GltfSceneCamera::Load(const std::string& scenePath, const std::string& nodeName, std::ostream& err) {
  name = nodeName;
  std::string error;
  if (!ReadGltfDocument(scenePath, &doc, &error)) {
    err << "mirova: " << error << "\n";
    return EXIT_USAGE;
  }
  const Json& nodes = Items(doc.json, "nodes");
  for (size_t n = 0; n < nodes.size(); ++n) {
    if (!nodes[n].is_object() || nodes[n].value("name", Json()) != name) continue;
    if (node >= 0) {
      err << "mirova: " << Printable(scenePath) << ": nodes " << node << " and " << n << " are both named \""
          << Printable(name) << "\"; name one node with --camera-name\n";
      return EXIT_REFUSED;
    }
    node = static_cast<long long>(n);
  }
  if (node >= 0 && nodes[static_cast<size_t>(node)].contains("matrix")) {
    err << "mirova: " << Printable(scenePath) << ": the node \"" << Printable(name)
        << "\" is placed by a matrix, which no animation may drive\n";
    return EXIT_REFUSED;
  }
  return EXIT_OK;
}

long long GltfSceneCamera::AddNode(const std::vector<float>& translations, const std::vector<float>& rotations,
                                   float fov, std::ostream& err) {
  Json& json = doc.json;
  Json added = {{"name", name}, {"camera", AddCamera(json, fov)}};
  // At rest where the take starts, as mirova camera --format gltf puts it.
  if (!translations.empty()) {
    added["translation"] = Floats(translations, 0, 3);
    added["rotation"] = Floats(rotations, 0, 4);
  }
  if (!json["nodes"].is_array()) json["nodes"] = Json::array();
  json["nodes"].push_back(added);
  const long long index = static_cast<long long>(json["nodes"].size()) - 1;
  const long long scene = IndexAt(json, "scene", 0);
  if (scene >= 0 && scene < static_cast<long long>(Items(json, "scenes").size())) {
    Json& roots = json["scenes"][static_cast<size_t>(scene)]["nodes"];
    if (!roots.is_array()) roots = Json::array();
    roots.push_back(index);
  } else {
    err << "mirova: " << Printable(doc.path) << " has no scene, so the camera \"" << Printable(name)
        << "\" stands in none\n";
  }
  return index;
}

bool GltfSceneCamera::Write(const std::vector<CameraKey>& keys, float fov, const std::string& output, bool binary,
                            std::ostream& out, std::ostream& err, std::string* problem) {
  CameraTrack track;
  if (!CameraTrackOf(keys, &track, problem)) return false;
  if (node < 0) {
    node = AddNode(track.translations, track.rotations, fov, err);
  } else if (!doc.json["nodes"][static_cast<size_t>(node)].contains("camera")) {
    const long long camera = AddCamera(doc.json, fov);
    doc.json["nodes"][static_cast<size_t>(node)]["camera"] = camera;
  }
  // glTF has no accessor of no elements: a take without samples adds no animation.
  if (!keys.empty()) {
    const long long replaced = TakeOwnAnimation(doc, name, "camera", err);
    GltfAppender data(doc, binary);
    const int input = data.AddFloats(track.seconds, 1, true);
    const int moves = data.AddFloats(track.translations, 3, false), turns = data.AddFloats(track.rotations, 4, false);
    data.Finish();
    Json animation = {{"name", name}, {"channels", Json::array()}, {"samplers", Json::array()}};
    for (const auto& [path, values] : {std::make_pair("translation", moves), std::make_pair("rotation", turns)}) {
      animation["channels"].push_back(
          {{"sampler", animation["samplers"].size()}, {"target", {{"node", node}, {"path", path}}}});
      animation["samplers"].push_back({{"input", input}, {"output", values}, {"interpolation", "LINEAR"}});
    }
    PutOwnAnimation(doc, replaced, "camera", std::move(animation));
  }
  if (!CopyResources(doc, output, err, problem)) return false;
  if (WriteGltfDocument(doc, binary, out)) return true;
  *problem = "a GLB holds at most 4 GiB";
  return false;
}

}  // namespace cli
