#include "gltf_camera_read.h"

#include <maxtypes.h>

#include <algorithm>

#include "affine.h"
#include "cli.h"
#include "file_names.h"
#include "gltf_animation.h"
#include "gltf_write.h"
#include "json.h"

namespace cli {

namespace {

// A node of the path from the scene's root to the camera: what it holds
// still, and the samplers (indices into the source's) that drive it, -1
// where it holds still.
struct ChainNode {
  int index = -1;
  std::vector<double> matrix, translation, rotation, scale;
  int samplers[3] = {-1, -1, -1};  // of kPaths
};

const char* const kPaths[3] = {"translation", "rotation", "scale"};

int PathIndex(const std::string& path) {
  for (int i = 0; i < 3; ++i)
    if (path == kPaths[i]) return i;
  return -1;
}

// "NAME" as a message quotes it, or "node 3" for one without a name.
std::string Named(const std::string& name, const char* kind, size_t index) {
  return name.empty() ? kind + std::to_string(index) : "\"" + Printable(name) + "\"";
}

std::string NodeName(const tinygltf::Model& model, int index) {
  return Named(model.nodes[static_cast<size_t>(index)].name, "node ", static_cast<size_t>(index));
}

std::string AnimationName(const tinygltf::Model& model, size_t index) {
  return Named(model.animations[index].name, "", index);
}

class GltfCameraSource : public CameraSource {
 public:
  GltfCameraSource(std::vector<ChainNode> chain, std::vector<GltfSampler> samplers, std::string camera, int fps)
      : chain(std::move(chain)), samplers(std::move(samplers)), camera(std::move(camera)), fps(fps) {
    first = last = this->samplers.front().times.front();
    for (const GltfSampler& s : this->samplers) {
      first = std::min<double>(first, s.times.front());
      last = std::max<double>(last, s.times.back());
    }
  }

  double FirstTime() const override { return first; }
  double LastTime() const override { return last; }
  double SampleTime(double start, long long frames) const override {
    const long long ticks = frames * TIME_TICKSPERSEC / fps;
    return static_cast<float>(start + static_cast<double>(ticks) / TIME_TICKSPERSEC);
  }

  bool PoseAt(double time, CameraPose* pose, std::string* problem) override {
    Affine world;
    for (const ChainNode& c : chain) world = world * Local(c, time);
    if (!RotationPart(world, &pose->rotation)) {
      *problem = "the world transform of camera node " + camera + " mirrors or flattens it at " +
                 JsonFloat(static_cast<float>(time)) + " s";
      return false;
    }
    for (int i = 0; i < 3; ++i) pose->position[i] = world.t[i];
    return true;
  }

 private:
  // An animated node has no matrix.
  Affine Local(const ChainNode& c, double time) const {
    if (c.matrix.size() == 16) return FromColumnMajor(c.matrix.data());
    double t[3] = {0, 0, 0}, q[4] = {0, 0, 0, 1}, s[3] = {1, 1, 1};
    Value(c.samplers[0], c.translation, time, t, 3);
    Value(c.samplers[1], c.rotation, time, q, 4);
    Value(c.samplers[2], c.scale, time, s, 3);
    return FromTrs(t, q, s);
  }

  void Value(int sampler, const std::vector<double>& still, double time, double* value, size_t n) const {
    if (sampler >= 0) EvaluateGltfSampler(samplers[static_cast<size_t>(sampler)], time, value);
    else if (still.size() == n) std::copy(still.begin(), still.end(), value);
  }

  std::vector<ChainNode> chain;
  std::vector<GltfSampler> samplers;
  std::string camera;  // its name, for messages
  int fps;
  double first = 0, last = 0;
};

bool IgnoreImage(tinygltf::Image*, const int, std::string*, std::string*, int, int, const unsigned char*, int,
                 void*) {
  return true;
}

bool LoadModel(const std::string& path, tinygltf::Model* model, std::string* problem) {
  tinygltf::TinyGLTF loader;
  // A camera needs no picture: images are neither decoded nor checked.
  loader.SetImageLoader(IgnoreImage, nullptr);
  std::string error, warning;
  bool binary = false;
  IsGltfPath(path, &binary);
  if (binary ? loader.LoadBinaryFromFile(model, &error, &warning, path)
             : loader.LoadASCIIFromFile(model, &error, &warning, path))
    return true;
  while (!error.empty() && error.back() == '\n') error.pop_back();
  *problem = "not a glTF file that can be read: " + Printable(error);
  return false;
}

// The camera node, or -1 with *problem.
int ChooseCamera(const tinygltf::Model& model, const std::string& wanted, std::string* problem) {
  std::vector<int> cameras, named;
  std::string list;
  for (size_t i = 0; i < model.nodes.size(); ++i) {
    if (model.nodes[i].camera < 0) continue;
    const int index = static_cast<int>(i);
    cameras.push_back(index);
    list += (list.empty() ? "" : ", ") + NodeName(model, index);
    if (model.nodes[i].name == wanted) named.push_back(index);
  }
  const std::string quoted = "\"" + Printable(wanted) + "\"";
  if (cameras.empty()) *problem = "holds no node with a camera";
  else if (wanted.empty() && cameras.size() == 1) return cameras[0];
  else if (wanted.empty()) *problem = "holds several camera nodes; choose one with --camera NAME: " + list;
  else if (named.size() == 1) return named[0];
  else if (named.empty()) *problem = "holds no camera node named " + quoted + "; its camera nodes: " + list;
  else *problem = "holds several camera nodes named " + quoted;
  return -1;
}

// The nodes from the root down to node; empty when the hierarchy is no tree.
std::vector<ChainNode> PathFromRoot(const tinygltf::Model& model, int node) {
  std::vector<int> parent(model.nodes.size(), -1);
  for (size_t p = 0; p < model.nodes.size(); ++p)
    for (int child : model.nodes[p].children)
      if (child >= 0 && static_cast<size_t>(child) < parent.size()) {
        if (parent[static_cast<size_t>(child)] >= 0) return {};
        parent[static_cast<size_t>(child)] = static_cast<int>(p);
      }
  std::vector<ChainNode> chain;
  for (int n = node; n >= 0; n = parent[static_cast<size_t>(n)]) {
    if (chain.size() == model.nodes.size()) return {};
    const tinygltf::Node& held = model.nodes[static_cast<size_t>(n)];
    ChainNode c;
    c.index = n;
    c.matrix = held.matrix, c.translation = held.translation, c.rotation = held.rotation, c.scale = held.scale;
    chain.insert(chain.begin(), c);
  }
  return chain;
}

// Where in chain the node that channel moves is, or -1.
int Moved(const std::vector<ChainNode>& chain, const tinygltf::AnimationChannel& channel) {
  if (PathIndex(channel.target_path) < 0) return -1;
  for (size_t i = 0; i < chain.size(); ++i)
    if (chain[i].index == channel.target_node) return static_cast<int>(i);
  return -1;
}

bool Moves(const tinygltf::Animation& animation, const std::vector<ChainNode>& chain) {
  for (const tinygltf::AnimationChannel& channel : animation.channels)
    if (Moved(chain, channel) >= 0) return true;
  return false;
}

// Reads the samplers of animation that move chain's nodes and ties them to
// them; false, with *problem naming the channel, when one cannot be read.
bool TieAnimation(const tinygltf::Model& model, size_t index, std::vector<ChainNode>& chain,
                  std::vector<GltfSampler>& samplers, std::string* problem) {
  const tinygltf::Animation& animation = model.animations[index];
  for (const tinygltf::AnimationChannel& channel : animation.channels) {
    const int at = Moved(chain, channel);
    if (at < 0) continue;
    ChainNode* moved = &chain[static_cast<size_t>(at)];
    GltfSampler sampler;
    const size_t sampled = static_cast<size_t>(channel.sampler);
    if (channel.sampler < 0 || sampled >= animation.samplers.size()) *problem = "names no sampler";
    // glTF forbids it: what would the matrix mean between the keys?
    if (moved->matrix.size() == 16) *problem = "the node has a matrix, which no animation may drive";
    if (problem->empty() && ReadGltfSampler(model, animation.samplers[sampled], channel.target_path, &sampler, problem)) {
      moved->samplers[PathIndex(channel.target_path)] = static_cast<int>(samplers.size());
      samplers.push_back(std::move(sampler));
      continue;
    }
    *problem = "animation " + AnimationName(model, index) + ", the " + channel.target_path + " of " +
               NodeName(model, moved->index) + ": " + *problem;
    return false;
  }
  return true;
}

// Ties chain to the first animation that moves it, telling other animations
// that move it too in *note: EXIT_OK, or the status with *problem.
int ReadMove(const tinygltf::Model& model, const std::string& camera, std::vector<ChainNode>& chain,
             std::vector<GltfSampler>& samplers, std::string* note, std::string* problem) {
  size_t first = model.animations.size();
  for (size_t a = 0; a < model.animations.size(); ++a) {
    if (!Moves(model.animations[a], chain)) continue;
    if (first == model.animations.size()) first = a;
    else *note += (note->empty() ? "" : ", ") + AnimationName(model, a);
  }
  if (first == model.animations.size()) {
    *problem = "camera node " + camera + " has no animation, nor has any node above it";
    return EXIT_REFUSED;
  }
  if (!note->empty())
    *note = "of the animations that move camera node " + camera + ", the first, " + AnimationName(model, first) +
            ", is taken; left: " + *note;
  return TieAnimation(model, first, chain, samplers, problem) ? EXIT_OK : EXIT_USAGE;
}

}  // namespace

CameraRead ReadGltfCamera(const std::string& path, const std::string& cameraName, int fps) {
  CameraRead read;
  const std::string file = Printable(path) + ": ";
  tinygltf::Model model;
  read.status = EXIT_USAGE;
  if (!LoadModel(path, &model, &read.problem)) {
    read.problem = file + read.problem;
    return read;
  }
  const int camera = ChooseCamera(model, cameraName, &read.problem);
  if (camera < 0) {
    read.problem = file + read.problem;
    return read;
  }
  const std::string name = NodeName(model, camera);
  std::vector<ChainNode> chain = PathFromRoot(model, camera);
  std::vector<GltfSampler> samplers;
  std::string note;
  if (chain.empty())
    read.problem = "the nodes above camera node " + name + " do not form a tree";
  else
    read.status = ReadMove(model, name, chain, samplers, &note, &read.problem);
  if (read.status != EXIT_OK) {
    read.problem = file + read.problem;
    return read;
  }
  if (!note.empty()) read.note = file + note;
  read.source = std::make_unique<GltfCameraSource>(std::move(chain), std::move(samplers), name, fps);
  return read;
}

}  // namespace cli
