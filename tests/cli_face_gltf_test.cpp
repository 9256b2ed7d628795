// mirova face --format gltf: the animated face read back as a viewer reads it
// shows, at every frame, what the expression object evaluates there.
#include <gtest/gtest.h>
#include <headless.h>
#include <headless_host.h>
#include <triobj.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "cli.h"
#include "cli_command.h"
#include "expression.h"
#include "face_targets.h"
#include "gltf_check.h"
#include "gltf_write.h"
#include "mirovaobj.h"
#include "obj_file.h"
#include "plugin.h"
#include "resource.h"
#include "tracker_text.h"
#include "user_head.h"

namespace {

const std::string kFace = MIROVA_SOURCE_DIR "/examples/face/";
const std::string kTake = MIROVA_SOURCE_DIR "/examples/face_take.trc";
const char* const kTargets[] = {"open",        "puckered",     "left-eyelid",   "left-eyebrow",
                                "left-cheek",  "frown",        "left-squint",   "right-eyelid",
                                "right-eyebrow", "right-cheek", "right-squint"};

struct CliRun {
  int status;
  std::string out, err;
};

CliRun Face(cli::Args args) {
  std::ostringstream out, err;
  int status = RunCli("face", args, out, err);
  return {status, out.str(), err.str()};
}

std::vector<cli::TargetFile> BundledTargets(cli::Args* args) {
  std::vector<std::string> options;
  for (const char* name : kTargets) {
    options.push_back(std::string(name) + "=" + kFace + name + ".obj");
    args->insert(args->end(), {"--target", options.back()});
  }
  std::vector<cli::TargetFile> files;
  std::string problem;
  EXPECT_TRUE(cli::ParseTargetOptions(options, &files, &problem)) << problem;
  return files;
}

// The test's own scene, made as a user makes it: the Neutral on a node, the
// expression object created on it, the targets picked, the recording
// opened into its tracker input and applied.
class AppliedFace {
 public:
  AppliedFace(const std::vector<cli::TargetFile>& targets, const std::string& recording) {
    cli::ObjMesh neutral;
    std::string problem;
    EXPECT_TRUE(cli::ReadObj(kFace + "neutral.obj", neutral, &problem)) << problem;
    INode* node = host.CreateNode(cli::MakeTriObject(neutral), "Face");
    obj = cli::CreateFromPanel(host, plugin.ExpressionObjectClass(), node);
    HWND rollup = obj ? cli::RollupPage(host, "Face Tracker") : nullptr;
    EXPECT_NE(rollup, nullptr);
    if (!rollup) return;
    std::ostringstream err;
    EXPECT_EQ(cli::PickTargets(host, targets, PICK_INSTANCE, neutral, err), cli::EXIT_OK) << err.str();
    headless::AnswerNextOpenDialog(recording);
    EXPECT_TRUE(headless::Click(rollup, IDC_TRACKER_OPEN));
    EXPECT_TRUE(headless::Click(rollup, IDC_TRACKER_APPLY));
    host.LeaveCreatePanel();
  }
  std::vector<float> PointsAt(TimeValue t) {
    std::vector<float> points;
    Object* result = obj->Eval(t).obj;
    for (int i = 0; i < result->NumPoints(); ++i) {
      Point3 p = result->GetPoint(i);
      points.insert(points.end(), {p.x, p.y, p.z});
    }
    return points;
  }

  // The module outlives the scene, whose objects it made.
  cli::Plugin plugin{MIROVA_TOOL_PLUGIN_PATH};
  headless::Host host;
  ExpressionObject* obj = nullptr;
};

::testing::AssertionResult SamePoints(const std::vector<float>& shown, const std::vector<float>& evaluated) {
  if (shown.size() != evaluated.size())
    return ::testing::AssertionFailure() << shown.size() << " coordinates vs " << evaluated.size();
  for (size_t i = 0; i < shown.size(); ++i)
    if (std::fabs(shown[i] - evaluated[i]) > 1e-5 * std::max(1.0f, std::fabs(evaluated[i])))
      return ::testing::AssertionFailure() << "point " << i / 3 << " coordinate " << i % 3 << ": " << shown[i]
                                           << " vs " << evaluated[i];
  return ::testing::AssertionSuccess();
}

TEST(FaceGltf, AViewerShowsWhatTheObjectEvaluatesAtEveryFrame) {
  cli::Args args = {kTake, "--format", "gltf", "-o", ""};
  std::vector<cli::TargetFile> targets = BundledTargets(&args);
  AppliedFace scene(targets, kTake);
  for (const char* name : {"face.glb", "face.gltf"}) {
    SCOPED_TRACE(name);
    args[4] = testing::TempDir() + name;
    CliRun run = Face(args);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(gltf_check::PassesValidator(args[4]));
    gltf_check::MorphFace face;
    ASSERT_TRUE(gltf_check::ReadMorphFace(args[4], &face));
    std::remove(args[4].c_str());

    std::vector<std::string> names;
    for (int c = 0; c < NUM_CHANNELS; ++c) names.push_back(expressionChannels[c].name);
    EXPECT_EQ(face.names, names);
    ASSERT_EQ(face.deltas.size(), 11u);
    // Five seconds of recording, a key at every frame of 160 ticks.
    ASSERT_GE(face.seconds.size(), 150u);
    ASSERT_EQ(face.keyWeights.size(), face.seconds.size() * 11);
    for (size_t k = 0; k < face.seconds.size(); ++k) {
      SCOPED_TRACE("key " + std::to_string(k));
      TimeValue t = static_cast<TimeValue>(std::lround(face.seconds[k] * 4800.0));
      ASSERT_EQ(t, static_cast<TimeValue>(k) * 160);
      std::vector<double> weights(face.keyWeights.begin() + k * 11, face.keyWeights.begin() + (k + 1) * 11);
      ASSERT_TRUE(SamePoints(gltf_check::Blend(face, weights), scene.PointsAt(t)));
    }
  }
}

TEST(FaceGltf, TheNeutralsTrianglesAndEveryWeightAtZero) {
  cli::ObjMesh neutral;
  ASSERT_TRUE(cli::ReadObj(kFace + "neutral.obj", neutral, nullptr));
  std::vector<float> points;
  for (const Point3& p : neutral.points) points.insert(points.end(), {p.x, p.y, p.z});
  std::vector<unsigned> triangles;
  for (const std::vector<int>& polygon : neutral.polygons)
    for (size_t c = 2; c < polygon.size(); ++c)
      triangles.insert(triangles.end(), {unsigned(polygon[0]), unsigned(polygon[c - 1]), unsigned(polygon[c])});

  std::string path = testing::TempDir() + "face.glb";
  CliRun run = Face({kTake, "--neutral", kFace + "neutral.obj", "--target", "open=" + kFace + "open.obj",
                     "--format", "gltf", "-o", path});
  ASSERT_EQ(run.status, 0) << run.err;
  gltf_check::MorphFace face;
  ASSERT_TRUE(gltf_check::ReadMorphFace(path, &face));
  std::remove(path.c_str());
  // OBJ's Y-up coordinates go into glTF's Y-up space as they are.
  EXPECT_EQ(face.points, points);
  EXPECT_EQ(face.indices, triangles);
  EXPECT_EQ(face.names, std::vector<std::string>{"Mouth Vertical"});
  ASSERT_EQ(face.deltas.size(), 1u);
  cli::ObjMesh open;
  ASSERT_TRUE(cli::ReadObj(kFace + "open.obj", open, nullptr));
  for (size_t i = 0; i < open.points.size(); ++i)
    EXPECT_FLOAT_EQ(face.deltas[0][i * 3 + 1], open.points[i].y - neutral.points[i].y) << i;
}

TEST(FaceGltf, ARecordingThatGivesNoKeysLeavesTheOutputAlone) {
  const std::string recording = testing::TempDir() + "no face.trc";
  std::ofstream(recording, std::ios::binary) << tracker_text::Recording(
      {"nose_bridge"}, {{0.0f, {tracker_text::FilePosition{0.5f, 0.5f}}}});
  const std::string before = "what was there\n";
  for (const cli::Args& format : {cli::Args{"--format", "gltf"}, cli::Args{"--format", "json"}, cli::Args{}}) {
    for (const char* name : {"out.glb", "out.gltf", "out.json"}) {
      std::string path = testing::TempDir() + name;
      SCOPED_TRACE(path);
      std::ofstream(path, std::ios::binary) << before;
      cli::Args args = {recording, "--neutral", kFace + "neutral.obj", "-o", path};
      args.insert(args.end(), format.begin(), format.end());
      CliRun run = Face(args);
      // A --format that the name denies is a usage error.
      if (!format.empty() && (format[1] == "gltf") != (path.find(".json") == std::string::npos)) {
        EXPECT_EQ(run.status, cli::EXIT_USAGE);
      } else {
        EXPECT_EQ(run.status, cli::EXIT_REFUSED);
        EXPECT_NE(run.err.find("Unable to find marker lip_upper"), std::string::npos) << run.err;
      }
      std::ifstream file(path, std::ios::binary);
      EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), before);
      std::remove(path.c_str());
    }
  }
  std::remove(recording.c_str());
}

TEST(GltfPath, TheExtensionChoosesTextOrBinaryInAnyLetterCase) {
  const struct {
    const char* path;
    bool gltf, binary;
  } cases[] = {{"face.glb", true, true},    {"FACE.GLB", true, true},   {"face.gltf", true, false},
               {"Face.GlTF", true, false},  {"face.obj", false, false}, {"glb", false, false},
               {"face.glb.obj", false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    bool binary = !c.binary;
    EXPECT_EQ(cli::IsGltfPath(c.path, &binary), c.gltf);
    if (c.gltf) {
      EXPECT_EQ(binary, c.binary);
    }
  }
}

// Two samples hours apart would sample a million and a half frames.
TEST(FaceGltf, KeysSpanningTooManyFramesAreRefused) {
  const std::vector<std::string> markers = {"nose_bridge",   "lip_upper",    "lip_lower",      "lip_left",
                                            "lip_right",     "eyelid_left",  "eyelid_right",   "out_brow_left",
                                            "out_brow_right", "cheek_left",  "cheek_right",    "squint_left",
                                            "squint_right",  "in_brow_right"};
  tracker_text::Row early{0.0f, {}}, late{50000.0f, {}};
  for (size_t m = 0; m < markers.size(); ++m) {
    early.markers.push_back(tracker_text::FilePosition{0.3f + 0.02f * static_cast<float>(m), 0.5f});
    late.markers.push_back(tracker_text::FilePosition{0.31f + 0.025f * static_cast<float>(m), 0.45f});
  }
  const std::string recording = testing::TempDir() + "hours apart.trc";
  std::ofstream(recording, std::ios::binary) << tracker_text::Recording(markers, {early, late});
  const std::string path = testing::TempDir() + "long.glb";
  std::ofstream(path, std::ios::binary) << "what was there\n";
  CliRun run = Face({recording, "--neutral", kFace + "neutral.obj", "--format", "gltf", "-o", path});
  EXPECT_EQ(run.status, cli::EXIT_REFUSED);
  EXPECT_NE(run.err.find("the keys span 1500001 frames"), std::string::npos) << run.err;
  std::ifstream file(path, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), "what was there\n");
  std::remove(path.c_str());
  std::remove(recording.c_str());
}

// The first command a user types gives a face that moves; --no-targets the
// bare one, said not to move.
TEST(FaceGltf, TheBuiltInFaceBringsItsTargets) {
  const std::string path = testing::TempDir() + "default.glb";
  const user_head::Read neutral = user_head::ReadObj(kFace + "neutral.obj");
  std::vector<std::vector<unsigned>> polygons;
  size_t corner = 0;
  for (unsigned corners : neutral.shapes.at(0).mesh.num_face_vertices) {
    std::vector<unsigned>& polygon = polygons.emplace_back();
    for (unsigned c = 0; c < corners; ++c) polygon.push_back(neutral.shapes[0].mesh.indices[corner++].vertex_index);
  }
  for (const bool bare : {false, true}) {
    SCOPED_TRACE(bare);
    cli::Args args = {kTake, "-o", path};
    if (bare) args.push_back("--no-targets");
    CliRun run = Face(args);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err.find("will not move") != std::string::npos, bare) << run.err;
    EXPECT_TRUE(gltf_check::PassesValidator(path));
    gltf_check::MorphFace face;
    ASSERT_TRUE(gltf_check::ReadMorphFace(path, &face));
    EXPECT_EQ(face.deltas.size(), bare ? 0u : 11u);
    EXPECT_EQ(face.seconds.empty(), bare);
    // Smooth, as a naive sum over the polygons makes normals, at rest and
    // under each target at full weight; no point needs a vertex of its own.
    ASSERT_EQ(face.points.size(), neutral.attrib.vertices.size());
    EXPECT_TRUE(gltf_check::Near(face.normals, gltf_check::SmoothNormals(face.points, polygons), 1e-5));
    ASSERT_EQ(face.normalDeltas.size(), face.deltas.size());
    for (size_t j = 0; j < face.deltas.size(); ++j) {
      SCOPED_TRACE(face.names[j]);
      std::vector<double> weights(face.deltas.size());
      weights[j] = 1;
      EXPECT_TRUE(gltf_check::Near(gltf_check::BlendNormals(face, weights),
                                   gltf_check::SmoothNormals(gltf_check::Blend(face, weights), polygons), 1e-5));
    }
  }
  std::remove(path.c_str());
}

// glTF's times begin at 0: a recording that starts before it, or lies
// wholly before it, is moved later as a whole and said so.
TEST(FaceGltf, KeysBeforeZeroAreMovedToStartAtZero) {
  std::ifstream example(kTake, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(example)), {});
  std::vector<std::string> lines;
  for (size_t at = 0, end; at < text.size(); at = end + 1) lines.push_back(text.substr(at, (end = text.find('\n', at)) - at));
  for (const double offset : {-2.5, -20.0}) {
    SCOPED_TRACE(offset);
    std::string moved;
    for (size_t i = 0; i < lines.size(); ++i) {
      std::string line = lines[i];
      const size_t tab = line.find('\t'), next = line.find('\t', tab + 1);
      if (i >= 5 && next != std::string::npos)
        line = line.substr(0, tab + 1) + std::to_string(std::stod(line.substr(tab + 1, next - tab - 1)) + offset) +
               line.substr(next);
      moved += line + "\n";
    }
    const std::string recording = testing::TempDir() + "early.trc", path = testing::TempDir() + "early.glb";
    std::ofstream(recording, std::ios::binary) << moved;
    CliRun run = Face({recording, "--target", "open=" + kFace + "open.obj", "--format", "gltf", "-o", path});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("the animation is moved that much later"), std::string::npos) << run.err;
    EXPECT_TRUE(gltf_check::PassesValidator(path));
    gltf_check::MorphFace face;
    ASSERT_TRUE(gltf_check::ReadMorphFace(path, &face));
    ASSERT_GE(face.seconds.size(), 150u);
    EXPECT_EQ(face.seconds.front(), 0.0);
    std::remove(path.c_str());
    std::remove(recording.c_str());
  }
}

// The head with every point moved along z.
std::string MovedHead(float dz) {
  std::istringstream lines(user_head::kObj);
  std::ostringstream moved;
  for (std::string line; std::getline(lines, line);) {
    float x, y, z;
    if (std::sscanf(line.c_str(), "v %f %f %f", &x, &y, &z) == 3) line = "v " + std::to_string(x) + " " +
                                                                       std::to_string(y) + " " + std::to_string(z + dz);
    moved << line << "\n";
  }
  return moved.str();
}

// The corners of the head's polygons cut into fans, as tinyobjloader reads
// them, material by material in the order the file first uses them.
std::vector<std::vector<tinyobj::index_t>> FanCornersByMaterial(const user_head::Read& head) {
  std::vector<std::vector<tinyobj::index_t>> corners(head.materials.size());
  for (const tinyobj::shape_t& shape : head.shapes) {
    size_t first = 0;
    for (size_t f = 0; f < shape.mesh.num_face_vertices.size(); ++f) {
      for (size_t c = 2; c < shape.mesh.num_face_vertices[f]; ++c)
        for (size_t k : {first, first + c - 1, first + c})
          corners.at(static_cast<size_t>(shape.mesh.material_ids[f])).push_back(shape.mesh.indices[k]);
      first += shape.mesh.num_face_vertices[f];
    }
  }
  return corners;
}

// The user's head keeps its look: its texture coordinates, normals and
// materials on every corner, a target that moves it turning none of them.
TEST(FaceGltf, TheUsersHeadKeepsItsTexturesNormalsAndMaterials) {
  const std::string folder = testing::TempDir() + "head/";
  std::filesystem::create_directories(folder + "out");
  const std::string head = user_head::Write(folder), path = folder + "out/head.gltf";
  std::ofstream(folder + "moved.obj") << MovedHead(0.5f);
  CliRun run = Face({kTake, "--neutral", head, "--target", "open=" + folder + "moved.obj", "--format", "gltf", "-o",
                     path});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(gltf_check::PassesValidator(path));

  tinygltf::Model model;
  ASSERT_TRUE(gltf_check::Load(path, &model));
  ASSERT_EQ(model.materials.size(), 2u);
  const tinygltf::Material &skin = model.materials[0], &lips = model.materials[1];
  EXPECT_EQ(skin.name, "skin");
  EXPECT_EQ(skin.pbrMetallicRoughness.baseColorFactor, (std::vector<double>{0.8f, 0.6f, 0.5f, 1}));
  const int texture = skin.pbrMetallicRoughness.baseColorTexture.index;
  ASSERT_GE(texture, 0);
  // The texture beside the OBJ, named from the glTF's folder.
  EXPECT_EQ(model.images.at(model.textures.at(texture).source).uri, "../skin%20tex.png");
  EXPECT_EQ(lips.name, "lips");
  EXPECT_EQ(lips.pbrMetallicRoughness.baseColorFactor, (std::vector<double>{0.7f, 0.2f, 0.3f, 0.5f}));
  EXPECT_EQ(lips.alphaMode, "BLEND");

  gltf_check::MorphFace face;
  ASSERT_TRUE(gltf_check::ReadMorphFace(path, &face));
  EXPECT_EQ(face.materials, (std::vector<int>{0, 1}));
  const user_head::Read obj = user_head::ReadObj(head);
  const auto& v = obj.attrib.vertices;
  const auto& vt = obj.attrib.texcoords;
  const auto& vn = obj.attrib.normals;
  size_t corner = 0;
  const std::vector<std::vector<tinyobj::index_t>> expected = FanCornersByMaterial(obj);
  for (size_t m = 0; m < expected.size(); ++m) {
    ASSERT_EQ(face.triangleCounts.at(m) * 3, expected[m].size());
    for (const tinyobj::index_t& want : expected[m]) {
      SCOPED_TRACE("corner " + std::to_string(corner));
      const unsigned vertex = face.indices.at(corner++);
      const auto got = [&](const std::vector<float>& values, int n) {
        return std::vector<float>(values.begin() + vertex * n, values.begin() + (vertex + 1) * n);
      };
      const int p = want.vertex_index, t = want.texcoord_index, n = want.normal_index;
      EXPECT_EQ(got(face.points, 3), (std::vector<float>{v[3 * p], v[3 * p + 1], v[3 * p + 2]}));
      // glTF counts v down from the image's top.
      if (t >= 0) {
        EXPECT_EQ(got(face.texcoords, 2), (std::vector<float>{vt[2 * t], 1.0f - vt[2 * t + 1]}));
      }
      if (n >= 0) {
        EXPECT_TRUE(gltf_check::Near(got(face.normals, 3), {vn[3 * n], vn[3 * n + 1], vn[3 * n + 2]}, 1e-6));
      }
      EXPECT_TRUE(gltf_check::Near(got(face.deltas.at(0), 3), {0, 0, 0.5f}, 1e-6));
      EXPECT_TRUE(gltf_check::Near(got(face.normalDeltas.at(0), 3), {0, 0, 0}, 1e-6));
    }
  }
  std::filesystem::remove_all(folder);
}

TEST(FaceGltf, ATargetOfAnotherPointCountIsRefused) {
  const std::string path = testing::TempDir() + "refused.glb";
  const std::string shortShape = testing::TempDir() + "short.obj";
  std::ofstream(shortShape) << "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";
  CliRun run = Face({kTake, "--target", "frown=" + shortShape, "--neutral", kFace + "neutral.obj", "--format",
                     "gltf", "-o", path});
  EXPECT_EQ(run.status, cli::EXIT_REFUSED);
  EXPECT_NE(run.err.find("the frown target " + shortShape + " has 3 points"), std::string::npos) << run.err;
  EXPECT_FALSE(std::ifstream(path).good());
  std::remove(shortShape.c_str());
}

}  // namespace
