// mirova face --rig and mirova camera --into: the user's glTF comes back with
// everything it held, read back with TinyGLTF, and the added animation holds
// what the expression object (or the camera) gives at every frame. The test
// rigs are made by tests/rig/make_rig.py.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "cli.h"
#include "cli_command.h"
#include "gltf_check.h"
#include "rig_map.h"
#include "tracker_text.h"

namespace {

const std::string kTake = MIROVA_SOURCE_DIR "/examples/face_take.trc";
const std::string kDolly = MIROVA_SOURCE_DIR "/examples/dolly.asc";

struct CliRun {
  int status;
  std::string out, err;
};

CliRun Mirova(const std::string& command, const cli::Args& args) {
  std::ostringstream out, err;
  int status = RunCli(command, args, out, err);
  return {status, out.str(), err.str()};
}

std::string Dir(const std::string& name) {
  const std::string dir = testing::TempDir() + name + "/";
  EXPECT_EQ(std::system(("mkdir -p '" + dir + "'").c_str()), 0);
  return dir;
}

// The three test rigs, made once.
const std::string& Rigs() {
  static const std::string dir = [] {
    const std::string d = Dir("rigs");
    EXPECT_EQ(std::system(("python3 '" MIROVA_SOURCE_DIR "/tests/rig/make_rig.py' '" + d + "'").c_str()), 0);
    return d;
  }();
  return dir;
}

tinygltf::Model Loaded(const std::string& path) {
  tinygltf::Model model;
  EXPECT_TRUE(gltf_check::Load(path, &model));
  return model;
}

std::string FileText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

// The weight of each channel (by name) at each frame, as the object gives it:
// the built-in face's glTF carries it as its targets' weights.
struct ChannelFrames {
  std::vector<std::string> names;
  std::vector<float> seconds, weights;  // per frame, one per name
  double At(size_t frame, const std::string& channel) const {
    const size_t c = static_cast<size_t>(std::find(names.begin(), names.end(), channel) - names.begin());
    return c < names.size() ? weights[frame * names.size() + c] : 0.0;
  }
};

ChannelFrames ObjectWeights(const std::string& recording) {
  const std::string path = testing::TempDir() + "object.glb";
  CliRun run = Mirova("face", {recording, "-o", path});
  EXPECT_EQ(run.status, 0) << run.err;
  gltf_check::MorphFace face;
  EXPECT_TRUE(gltf_check::ReadMorphFace(path, &face));
  return {face.names, face.seconds, face.keyWeights};
}

std::string AccessorBytes(const tinygltf::Model& model, size_t index) {
  const tinygltf::Accessor& a = model.accessors.at(index);
  const tinygltf::BufferView& view = model.bufferViews.at(static_cast<size_t>(a.bufferView));
  const std::vector<unsigned char>& data = model.buffers.at(static_cast<size_t>(view.buffer)).data;
  const size_t element = static_cast<size_t>(tinygltf::GetComponentSizeInBytes(static_cast<uint32_t>(a.componentType)) *
                                             tinygltf::GetNumComponentsInType(static_cast<uint32_t>(a.type)));
  const size_t stride = view.byteStride ? view.byteStride : element, start = view.byteOffset + a.byteOffset;
  if (a.count && start + (a.count - 1) * stride + element > data.size()) return "past its buffer";
  std::string bytes;
  for (size_t i = 0; i < a.count; ++i) bytes.append(reinterpret_cast<const char*>(&data[start + i * stride]), element);
  return bytes;
}

// Every object of the original, at its own index, reads back equal.
testing::AssertionResult OriginalsKept(const tinygltf::Model& rig, const tinygltf::Model& out) {
  auto same = [](const auto& a, const auto& b, const char* what) -> testing::AssertionResult {
    for (size_t i = 0; i < a.size(); ++i)
      if (i >= b.size() || !(a[i] == b[i])) return testing::AssertionFailure() << what << "[" << i << "] differs";
    return testing::AssertionSuccess();
  };
  for (testing::AssertionResult r :
       {same(rig.nodes, out.nodes, "nodes"), same(rig.meshes, out.meshes, "meshes"),
        same(rig.accessors, out.accessors, "accessors"), same(rig.materials, out.materials, "materials"),
        same(rig.images, out.images, "images"), same(rig.animations, out.animations, "animations"),
        same(rig.skins, out.skins, "skins"), same(rig.cameras, out.cameras, "cameras"),
        same(rig.textures, out.textures, "textures"), same(rig.samplers, out.samplers, "samplers"),
        same(rig.extensionsUsed, out.extensionsUsed, "extensionsUsed")})
    if (!r) return r;
  for (size_t i = 0; i < rig.accessors.size(); ++i)
    if (AccessorBytes(rig, i) != AccessorBytes(out, i))
      return testing::AssertionFailure() << "accessor " << i << "'s data";
  if (!(rig.extras == out.extras) || !(rig.asset.extras == out.asset.extras))
    return testing::AssertionFailure() << "extras";
  return testing::AssertionSuccess();
}

// A mesh's target names as the rig holds them: in its extras, else its
// accessors' names.
std::vector<std::string> TargetNames(const tinygltf::Model& model, const tinygltf::Mesh& mesh) {
  std::vector<std::string> names;
  const tinygltf::Value& listed = mesh.extras.Get("targetNames");
  for (size_t t = 0; t < mesh.primitives[0].targets.size(); ++t)
    names.push_back(listed.IsArray()
                        ? listed.Get(static_cast<int>(t)).Get<std::string>()
                        : model.accessors.at(static_cast<size_t>(mesh.primitives[0].targets[t].at("POSITION"))).name);
  return names;
}

const tinygltf::Animation* AnimationNamed(const tinygltf::Model& model, const std::string& name) {
  for (const tinygltf::Animation& a : model.animations)
    if (a.name == name) return &a;
  return nullptr;
}

// Each driven node's weights at each frame: a mapped target's is the sum of
// its channels' weights times their factors, within its range; the others
// stay at the node's rest weights. Every node with a mapped target is driven.
testing::AssertionResult DrivenAsMapped(const tinygltf::Model& out, const std::string& animationName,
                                        const cli::RigMap& map, const ChannelFrames& object) {
  const tinygltf::Animation* animation = AnimationNamed(out, animationName);
  if (!animation) return testing::AssertionFailure() << "no animation " << animationName;
  size_t driven = 0;
  for (size_t n = 0; n < out.nodes.size(); ++n) {
    const tinygltf::Node& node = out.nodes[n];
    if (node.mesh < 0) continue;
    const tinygltf::Mesh& mesh = out.meshes[static_cast<size_t>(node.mesh)];
    const std::vector<std::string> names = TargetNames(out, mesh);
    std::vector<std::vector<std::pair<std::string, double>>> drives(names.size());
    for (int c = 0; c < NUM_CHANNELS; ++c)
      for (const cli::RigDrive& d : map.drives[c])
        for (size_t t = 0; t < names.size(); ++t)
          if (names[t] == d.target) drives[t].push_back({expressionChannels[c].name, d.factor});
    if (std::all_of(drives.begin(), drives.end(), [](const auto& d) { return d.empty(); })) continue;
    ++driven;
    auto channel = std::find_if(animation->channels.begin(), animation->channels.end(),
                                [&](const tinygltf::AnimationChannel& c) { return c.target_node == int(n); });
    if (channel == animation->channels.end() || channel->target_path != "weights")
      return testing::AssertionFailure() << "node " << n << " is not driven";
    const tinygltf::AnimationSampler& sampler = animation->samplers.at(static_cast<size_t>(channel->sampler));
    if (gltf_check::Floats(out, sampler.input) != object.seconds) return testing::AssertionFailure() << "times";
    const std::vector<float> values = gltf_check::Floats(out, sampler.output);
    if (values.size() != object.seconds.size() * names.size()) return testing::AssertionFailure() << "value count";
    const std::vector<double>& rest = node.weights.empty() ? mesh.weights : node.weights;
    const tinygltf::Value& ranges = mesh.extras.Get("targetRanges");
    for (size_t k = 0; k < object.seconds.size(); ++k)
      for (size_t t = 0; t < names.size(); ++t) {
        double expected = rest[t], lo = 0, hi = 1;
        if (ranges.Has(names[t]))
          lo = ranges.Get(names[t]).Get(0).GetNumberAsDouble(), hi = ranges.Get(names[t]).Get(1).GetNumberAsDouble();
        if (!drives[t].empty()) {
          expected = 0;
          for (const auto& [c, factor] : drives[t]) expected += object.At(k, c) * factor;
          expected = std::clamp(expected, lo, hi);
        }
        if (std::fabs(values[k * names.size() + t] - expected) > 1e-6)
          return testing::AssertionFailure() << "node " << n << " " << names[t] << " at frame " << k << ": "
                                             << values[k * names.size() + t] << " vs " << expected;
      }
  }
  if (driven != animation->channels.size()) return testing::AssertionFailure() << "channels for undriven nodes";
  return testing::AssertionSuccess();
}

TEST(Rig, ComesBackWholeAndMovesAsTheObjectWeighsItsChannels) {
  const ChannelFrames object = ObjectWeights(kTake);
  const std::string other = Dir("elsewhere/deeper");
  const struct {
    const char* rig;
    std::string output;
  } cases[] = {{"rig.glb", Rigs() + "driven.glb"},
               {"rig-embedded.gltf", Rigs() + "driven-embedded.gltf"},
               {"rig-external.gltf", other + "driven-external.gltf"},
               {"rig.glb", other + "driven-from-glb.gltf"},
               {"rig-external.gltf", other + "driven-external.glb"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.output);
    CliRun run = Mirova("face", {kTake, "--rig", Rigs() + c.rig, "-o", c.output});
    ASSERT_EQ(run.status, 0) << run.err;
    // tongueOut is on the teeth, and no channel drives it: nothing to say.
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(gltf_check::PassesValidator(c.output));
    const tinygltf::Model rig = Loaded(Rigs() + c.rig), out = Loaded(c.output);
    EXPECT_TRUE(OriginalsKept(rig, out));
    EXPECT_EQ(out.animations.size(), rig.animations.size() + 1);
    EXPECT_TRUE(DrivenAsMapped(out, "face_take", cli::PresetRigMap(), object));

    // Run on its own output, it replaces its own animation with the same.
    const std::string again = c.output + ".again" + (c.output.back() == 'b' ? ".glb" : ".gltf");
    run = Mirova("face", {kTake, "--rig", c.output, "-o", again});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Loaded(again) == out);
  }
}

// The performer's left eye closes the avatar's left eye: a recording where
// only the eyelid_left marker drops.
TEST(Rig, LeftIsThePerformersLeft) {
  const std::vector<std::pair<std::string, tracker_text::FilePosition>> rest = {
      {"nose_bridge", {0.40f, 0.50f}},   {"lip_upper", {0.60f, 0.50f}},     {"lip_lower", {0.66f, 0.50f}},
      {"lip_left", {0.63f, 0.56f}},      {"lip_right", {0.63f, 0.44f}},     {"eyelid_left", {0.37f, 0.58f}},
      {"eyelid_right", {0.37f, 0.42f}},  {"out_brow_left", {0.30f, 0.62f}}, {"out_brow_right", {0.30f, 0.38f}},
      {"in_brow_right", {0.31f, 0.46f}}, {"cheek_left", {0.52f, 0.62f}},    {"cheek_right", {0.52f, 0.38f}},
      {"squint_left", {0.41f, 0.59f}},   {"squint_right", {0.41f, 0.41f}}};
  std::vector<std::string> names;
  for (const auto& m : rest) names.push_back(m.first);
  std::vector<tracker_text::Row> rows;
  for (int i = 0; i <= 30; ++i) {
    tracker_text::Row row{static_cast<float>(i) / 30.0f, {}};
    for (const auto& [name, p] : rest)
      row.markers.push_back(tracker_text::FilePosition{
          p.vertical + (name == "eyelid_left" ? 0.03f * static_cast<float>(std::sin(3.14159 * i / 30.0)) : 0.0f),
          p.horizontal});
    rows.push_back(row);
  }
  const std::string recording = testing::TempDir() + "left wink.trc", path = Rigs() + "wink.glb";
  std::ofstream(recording, std::ios::binary) << tracker_text::Recording(names, rows);
  CliRun run = Mirova("face", {recording, "--rig", Rigs() + "rig.glb", "-o", path});
  ASSERT_EQ(run.status, 0) << run.err;
  const tinygltf::Model out = Loaded(path);
  const std::vector<std::string> targets = TargetNames(out, out.meshes[0]);
  const tinygltf::Animation* wink = AnimationNamed(out, "left wink");
  ASSERT_NE(wink, nullptr);
  const std::vector<float> values = gltf_check::Floats(out, wink->samplers.at(0).output);
  const size_t left = static_cast<size_t>(std::find(targets.begin(), targets.end(), "eyeBlinkLeft") - targets.begin());
  const size_t right =
      static_cast<size_t>(std::find(targets.begin(), targets.end(), "eyeBlinkRight") - targets.begin());
  float most[2] = {0, 0};
  for (size_t k = 0; k < values.size() / targets.size(); ++k) {
    most[0] = std::max(most[0], values[k * targets.size() + left]);
    most[1] = std::max(most[1], values[k * targets.size() + right]);
  }
  EXPECT_FLOAT_EQ(most[0], 1.0f);
  EXPECT_EQ(most[1], 0.0f);
  // The rig's eyeBlinkLeft moves the eye on the face's own left (+x).
  const std::vector<float> points = gltf_check::Floats(out, out.meshes[0].primitives[0].attributes.at("POSITION"));
  const std::vector<float> moves = gltf_check::Floats(out, out.meshes[0].primitives[0].targets[left].at("POSITION"));
  for (size_t i = 0; i < moves.size(); i += 3) {
    if (moves[i] != 0 || moves[i + 1] != 0 || moves[i + 2] != 0) {
      EXPECT_GT(points[i], 0.0f) << i / 3;
    }
  }
  std::remove(recording.c_str());
}

// A name made of a file name whose bytes are no UTF-8 is written as UTF-8.
TEST(Rig, AFileNameOfAnyBytesNamesTheAnimation) {
  const std::string recording = testing::TempDir() + "take\xff.trc", path = Rigs() + "bytes.gltf";
  std::ofstream(recording, std::ios::binary) << FileText(kTake);
  CliRun run = Mirova("face", {recording, "--rig", Rigs() + "rig.glb", "-o", path});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(gltf_check::PassesValidator(path));
  EXPECT_NE(AnimationNamed(Loaded(path), "take\xEF\xBF\xBD"), nullptr);
  std::remove(recording.c_str());
}

TEST(Rig, AMapChoosesTheTargetsAndItsFaultsAreNamed) {
  const ChannelFrames object = ObjectWeights(kTake);
  const std::string map = testing::TempDir() + "map.json", path = Rigs() + "mapped.gltf";
  const struct {
    const char* name;
    std::string text;
    int status;
    const char* said;  // on standard error
  } cases[] = {
      {"factors, two channels into one target, a node's rest target taken over",
       R"({"Mouth Vertical": {"jawOpen": 0.5, "mouthClose": 2},
           "Left Eyelid": {"eyeBlinkLeft": 1, "eyeBlinkRight": 0.25}, "Right Eyelid": {"eyeBlinkRight": 0.75},
           "Frown": {"browInnerUp": 3}})",
       0, ""},
      {"a target the rig lacks", R"({"Mouth Vertical": {"jawOpen": 1, "jawDrop": 1}})", 0,
       "has no morph target named jawDrop"},
      {"no target the rig has", R"({"Frown": {"scowl": 1}})", 1, "no node shows a morph target that"},
      {"an unknown channel", "{\n  \"Mouth Verticl\": {\"jawOpen\": 1}\n}", 2,
       "map.json:2: \"Mouth Verticl\" is no channel"},
      {"a factor that is no number", "{\"Frown\":\n {\"browDownLeft\": \"1\"}}", 2, "map.json:2: the factor of"},
      {"a channel twice", "{\"Frown\": {},\n\"Frown\": {}}", 2, "map.json:2: the channel \"Frown\" is named twice"},
      {"not JSON", "{\"Frown\": {\"browDownLeft\": 1,}}", 2, "map.json:1: not JSON"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::ofstream(map, std::ios::binary) << c.text;
    std::ofstream(path, std::ios::binary) << "what was there\n";
    CliRun run = Mirova("face", {kTake, "--rig", Rigs() + "rig-embedded.gltf", "--map", map, "-o", path});
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
    if (c.status != 0) {
      EXPECT_EQ(FileText(path), "what was there\n");
      continue;
    }
    EXPECT_TRUE(gltf_check::PassesValidator(path));
    cli::RigMap read;
    std::string error;
    ASSERT_TRUE(cli::ReadRigMap(map, &read, &error)) << error;
    EXPECT_TRUE(DrivenAsMapped(Loaded(path), "face_take", read, object));
  }
  std::remove(map.c_str());
}

// What is no rig, and lines that ask for what cannot be done, leave the
// output alone.
TEST(Rig, RefusalsLeaveTheOutputAlone) {
  const std::string path = Rigs() + "refused.glb";
  const struct {
    cli::Args args;
    int status;
    const char* said;
  } cases[] = {
      {{kTake, "--rig", kTake, "-o", path}, 2, "face_take.trc:1: not glTF's JSON"},
      {{kTake, "--rig", Rigs() + "rig.glb", "-o", Rigs() + "keys.json"}, 2, "--rig wants -o OUT.glb or OUT.gltf"},
      {{kTake, "--map", kTake, "-o", path}, 2, "--map is for --rig"},
      {{kTake, "--rig", Rigs() + "rig.glb", "--no-targets", "-o", path}, 2, "have no part in it"},
      {{kTake, "--rig", path, "-o", path}, 2, "is the input"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.said);
    std::ofstream(path, std::ios::binary) << "what was there\n";
    CliRun run = Mirova("face", c.args);
    EXPECT_EQ(run.status, c.status);
    EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
    EXPECT_EQ(FileText(path), "what was there\n");
  }
  std::remove(path.c_str());
}

TEST(SceneCamera, TheTakesCameraJoinsTheSceneAndReplacesItsOwnAnimation) {
  const std::string alone = testing::TempDir() + "camera.glb";
  ASSERT_EQ(Mirova("camera", {kDolly, "-o", alone}).status, 0);
  const tinygltf::Model keyed = Loaded(alone);
  const struct {
    const char* scene;
    std::string output, name;
    bool newNode;
  } cases[] = {{"rig.glb", Rigs() + "staged.glb", "", true},
               {"rig-external.gltf", Dir("stage") + "staged.gltf", "Dolly Cam", true},
               {"rig-embedded.gltf", Rigs() + "staged-front.gltf", "Camera", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.output);
    cli::Args args = {kDolly, "--into", Rigs() + c.scene, "-o", c.output};
    if (!c.name.empty()) args.insert(args.end(), {"--camera-name", c.name});
    CliRun run = Mirova("camera", args);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(gltf_check::PassesValidator(c.output));
    const tinygltf::Model scene = Loaded(Rigs() + c.scene), out = Loaded(c.output);
    EXPECT_TRUE(OriginalsKept(scene, out));
    const std::string name = c.name.empty() ? "dolly" : c.name;
    const tinygltf::Animation* take = AnimationNamed(out, name);
    ASSERT_NE(take, nullptr);
    ASSERT_EQ(take->channels.size(), 2u);
    const size_t node = static_cast<size_t>(take->channels[0].target_node);
    EXPECT_EQ(out.nodes.at(node).name, name);
    EXPECT_EQ(out.nodes.size(), scene.nodes.size() + (c.newNode ? 1 : 0));
    if (c.newNode) {
      EXPECT_EQ(out.scenes[0].nodes.back(), int(node));
      EXPECT_TRUE(out.cameras.at(static_cast<size_t>(out.nodes[node].camera)) == keyed.cameras[0]);
    }
    for (size_t k = 0; k < 2; ++k) {
      EXPECT_EQ(take->channels[k].target_path, keyed.animations[0].channels[k].target_path);
      for (int tinygltf::AnimationSampler::*part :
           {&tinygltf::AnimationSampler::input, &tinygltf::AnimationSampler::output})
        EXPECT_EQ(gltf_check::Floats(out, take->samplers.at(k).*part),
                  gltf_check::Floats(keyed, keyed.animations[0].samplers.at(k).*part));
    }
    // Keyed again into its own output: the same file.
    args[2] = c.output;
    args[4] = c.output + (c.output.back() == 'b' ? ".again.glb" : ".again.gltf");
    ASSERT_EQ(Mirova("camera", args).status, 0);
    EXPECT_TRUE(Loaded(args[4]) == out);
  }
  std::remove(alone.c_str());
}

}  // namespace
