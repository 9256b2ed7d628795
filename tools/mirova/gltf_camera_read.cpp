#include "gltf_camera_read.h"

#include <maxtypes.h>

#include <cmath>

#include "cli.h"
#include "file_names.h"
#include "gltf_animation.h"
#include "gltf_write.h"

namespace cli {

namespace {

// A transform of column vectors: m then t.
struct Affine {
  double m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  double t[3] = {0, 0, 0};
};

Affine operator*(const Affine& a, const Affine& b) {
  Affine r;
  for (int i = 0; i < 3; ++i) {
    r.t[i] = a.t[i];
    for (int j = 0; j < 3; ++j) {
      r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j];
      r.t[i] += a.m[i][j] * b.t[j];
    }
  }
  return r;
}

// Translation, rotation (x, y, z, w) and scale, as a node holds them.
Affine FromTrs(const double* t, const double* q, const double* s) {
  const double x = q[0], y = q[1], z = q[2], w = q[3];
  const double n = x * x + y * y + z * z + w * w, k = n > 0 ? 2 / n : 0;
  const double r[3][3] = {{1 - k * (y * y + z * z), k * (x * y - w * z), k * (x * z + w * y)},
                          {k * (x * y + w * z), 1 - k * (x * x + z * z), k * (y * z - w * x)},
                          {k * (x * z - w * y), k * (y * z + w * x), 1 - k * (x * x + y * y)}};
  Affine a;
  for (int i = 0; i < 3; ++i) {
    a.t[i] = t[i];
    for (int j = 0; j < 3; ++j) a.m[i][j] = r[i][j] * s[j];
  }
  return a;
}

double Determinant(const double m[3][3]) {
  return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
         m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

// The rotation nearest m (its polar factor), by Newton's iteration scaled by
// the determinant; false when m mirrors or flattens.
bool OrthogonalPart(const double m[3][3], Rotation* rotation) {
  Rotation x;
  double size = 0;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) x.m[i][j] = m[i][j], size = std::max(size, std::fabs(m[i][j]));
  for (int step = 0; step < 40; ++step) {
    const double det = Determinant(x.m);
    if (!(det > 1e-12 * size * size * size)) return false;
    const double gamma = std::cbrt(1 / det);
    // x' = (gamma x + x^-T / gamma) / 2, with x^-T the cofactors over det.
    Rotation next;
    double change = 0;
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) {
        const int i1 = (i + 1) % 3, i2 = (i + 2) % 3, j1 = (j + 1) % 3, j2 = (j + 2) % 3;
        const double cofactor = x.m[i1][j1] * x.m[i2][j2] - x.m[i1][j2] * x.m[i2][j1];
        next.m[i][j] = (gamma * x.m[i][j] + cofactor / (det * gamma)) / 2;
        change = std::max(change, std::fabs(next.m[i][j] - x.m[i][j]));
      }
    x = next;
    size = 1;
    if (change < 1e-15) break;
  }
  *rotation = x;
  return true;
}

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
    if (!OrthogonalPart(world.m, &pose->rotation)) {
      *problem = "the world transform of camera node " + camera + " mirrors or flattens it at " +
                 std::to_string(time) + " s";
      return false;
    }
    for (int i = 0; i < 3; ++i) pose->position[i] = world.t[i];
    return true;
  }

 private:
  // A node's matrix is column-major; an animated node has none.
  Affine Local(const ChainNode& c, double time) const {
    Affine a;
    if (c.matrix.size() == 16) {
      for (int i = 0; i < 3; ++i) {
        a.t[i] = c.matrix[12 + static_cast<size_t>(i)];
        for (int j = 0; j < 3; ++j) a.m[i][j] = c.matrix[static_cast<size_t>(j * 4 + i)];
      }
      return a;
    }
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

// The node of chain that channel moves, or null.
ChainNode* Moved(std::vector<ChainNode>& chain, const tinygltf::AnimationChannel& channel) {
  if (PathIndex(channel.target_path) < 0) return nullptr;
  for (ChainNode& c : chain)
    if (c.index == channel.target_node) return &c;
  return nullptr;
}

bool Moves(const tinygltf::Animation& animation, std::vector<ChainNode>& chain) {
  for (const tinygltf::AnimationChannel& channel : animation.channels)
    if (Moved(chain, channel)) return true;
  return false;
}

// Reads the samplers of animation that move chain's nodes and ties them to
// them; false, with *problem naming the channel, when one cannot be read.
bool TieAnimation(const tinygltf::Model& model, size_t index, std::vector<ChainNode>& chain,
                  std::vector<GltfSampler>& samplers, std::string* problem) {
  const tinygltf::Animation& animation = model.animations[index];
  for (const tinygltf::AnimationChannel& channel : animation.channels) {
    ChainNode* moved = Moved(chain, channel);
    if (!moved) continue;
    GltfSampler sampler;
    const size_t at = static_cast<size_t>(channel.sampler);
    if (channel.sampler < 0 || at >= animation.samplers.size()) *problem = "names no sampler";
    // glTF forbids it: what would the matrix mean between the keys?
    if (moved->matrix.size() == 16) *problem = "the node has a matrix, which no animation may drive";
    if (problem->empty() && ReadGltfSampler(model, animation.samplers[at], channel.target_path, &sampler, problem)) {
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
    *note = "animation " + AnimationName(model, first) + " is taken; " + *note + " also move camera node " + camera;
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
