// mirova take, checked by the round trip: a take keyed by `camera`, written
// as glTF or .chan and taken back, gives the take's numbers as the utility's
// reader reads them, and keys the same camera; a glTF camera animated under
// a moving parent keys the camera where the file puts it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "cli_command.h"
#include "gltf_write.h"
#include "report_json.h"
#include "take_angles.h"

namespace {

using Rows = std::vector<std::vector<double>>;
const double kPi = 3.14159265358979323846;

struct CliRun {
  int status;
  std::string out, err;
};

CliRun Mirova(const std::string& command, cli::Args args) {
  if (command == "camera") args.insert(args.end(), {"--plugin", MIROVA_PLUGIN_PATH});
  std::ostringstream out, err;
  const int status = RunCli(command, args, out, err);
  return {status, out.str(), err.str()};
}

std::string Temp(const std::string& name) { return testing::TempDir() + "take_" + name; }

std::string Contents(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

// [FOCUS, VTrack, VEW, VNS, VPan, VTilt, VRoll] per sample, as the utility's
// reader reads the take, which it must read without a word.
Rows TakeSamples(const std::string& path) {
  const CliRun run = Mirova("inspect", {path});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  const report_json::Json report = report_json::Read(run.out, report_json::MotionReport());
  if (report.is_null()) return {};
  EXPECT_TRUE(report.at("messages").empty());
  return report.at("samples").get<Rows>();
}

// The camera's keys from `camera`: [ticks, x, y, z] and [ticks, qx, qy, qz, qw].
void CameraKeys(const std::string& take, int fps, Rows* positions, Rows* rotations) {
  const CliRun run = Mirova("camera", {take, "--fps", std::to_string(fps)});
  ASSERT_EQ(run.status, 0) << run.err;
  const report_json::Json report = report_json::Read(run.out, report_json::CameraReport());
  ASSERT_FALSE(report.is_null());
  *positions = report.at("position").get<Rows>();
  *rotations = report.at("rotation").get<Rows>();
}

// The angle in degrees between two rotations given as quaternions (from index 1).
double TurnBetween(const std::vector<double>& a, const std::vector<double>& b) {
  double dot = 0, difference = 0, sum = 0;
  for (int i = 1; i < 5; ++i) dot += a[i] * b[i];
  for (int i = 1; i < 5; ++i) {
    const double other = dot < 0 ? -b[i] : b[i];
    difference += (a[i] - other) * (a[i] - other);
    sum += (a[i] + other) * (a[i] + other);
  }
  return 4 * std::atan2(std::sqrt(difference), std::sqrt(sum)) * 180 / kPi;
}

bool Near(double a, double b, double tolerance) { return std::fabs(a - b) <= tolerance * std::max(1.0, std::fabs(a)); }

// n samples of a move over t in 0..1: VTrack VEW VNS VPan VTilt VRoll.
std::string Take(int n, const std::function<std::vector<double>(double)>& move) {
  std::ostringstream text;
  text.precision(9);
  text << "Axes = VTrack VEW VNS VPan VTilt VRoll\n";
  for (int i = 0; i < n; ++i) {
    for (double v : move(i / (n - 1.0))) text << v << ' ';
    text << '\n';
  }
  return text.str();
}

// The first sample's turns are taken nearest the rest pose, so every take
// here starts within half a turn of it; later ones run on from there.
TEST(TakeCommand, GivesBackTheTakeThroughEveryFormat) {
  const std::string dolly = Contents(MIROVA_SOURCE_DIR "/examples/dolly.asc");
  const std::string pans = Take(600, [](double t) {
    return std::vector<double>{5 * t, 0, 1, 800 * std::sin(2 * kPi * t), 20 * std::sin(3 * kPi * t),
                               10 * std::cos(kPi * t)};
  });
  const std::string tilts = Take(300, [](double t) {
    return std::vector<double>{0, 0, 0, 30 * t, 120 * std::sin(2 * kPi * t), 5};
  });
  // Roll -100 to 280 by 2 degrees: -90, 90 and 270 exactly, where tilt and
  // pan turn about one line.
  const std::string rolls = Take(191, [](double t) {
    return std::vector<double>{1, 2, 3, 40 + 10 * t, 25 - 30 * t, -100 + 380 * t};
  });
  const std::string slides = Take(200, [](double t) {
    return std::vector<double>{5000 * std::sin(3 * t), -3000 * t, 0.001 + 200 * std::cos(5 * t), -15 * t, 3, -2};
  });
  struct Case {
    const char* name;
    std::string take;
    int fps;
    const char* via;  // glb, gltf or chan
    cli::Args options;
    size_t from = 0, count = 0;  // the original's samples taken back; 0: all
  } cases[] = {
      {"bundled dolly", dolly, 30, "glb", {}},
      {"bundled dolly", dolly, 30, "chan", {}},
      {"frames 10 to 20 with a focus", dolly, 30, "glb", {"--frames", "10:20", "--focus", "2.5"}, 10, 11},
      {"frames 10 to 20 with a focus", dolly, 30, "chan", {"--frames", "10:20", "--focus", "2.5"}, 10, 11},
      {"pan past 720 both ways", pans, 24, "glb", {}},
      {"pan past 720 both ways", pans, 24, "chan", {}},
      {"tilt through 90 both ways", tilts, 30, "gltf", {}},
      {"roll through 90 and 270", rolls, 25, "glb", {}},
      {"roll through 90 and 270", rolls, 25, "chan", {}},
      {"track and both slides, a rate 4800 does not divide", slides, 7, "gltf", {}},
      {"track and both slides, a rate 4800 does not divide", slides, 7, "chan", {}},
      {"every tick", Take(100, [](double t) { return std::vector<double>{t, -t, 2 * t, 170 * t, -5, 60 * t}; }),
       4800, "glb", {}},
  };
  const std::string take = Temp("original.asc"), back = Temp("back.asc");
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " via " + c.via);
    std::ofstream(take, std::ios::binary) << c.take;
    const std::string fps = std::to_string(c.fps), move = Temp(std::string("move.") + c.via);
    const std::string format = c.via == std::string("chan") ? "chan" : "gltf";
    ASSERT_EQ(Mirova("camera", {take, "--fps", fps, "--format", format, "-o", move}).status, 0);
    cli::Args args = {move, "--fps", fps, "-o", back};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const CliRun run = Mirova("take", args);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    // camera's .chan carries the vertical field of view, which a take leaves out, saying so.
    const bool chan = c.via == std::string("chan");
    EXPECT_EQ(run.err.find("(eighth number) is left out") != std::string::npos, chan) << run.err;

    const Rows original = TakeSamples(take), taken = TakeSamples(back);
    ASSERT_EQ(taken.size(), c.count ? c.count : original.size());
    for (size_t i = 0; i < taken.size(); ++i) {
      const std::vector<double>& a = original[c.from + i];
      const std::vector<double>& b = taken[i];
      EXPECT_EQ(b[0], c.options.empty() ? 0 : 2.5) << "FOCUS of sample " << i;
      for (int k = 1; k < 4; ++k) EXPECT_PRED3(Near, a[k], b[k], 1e-4) << "axis " << k << " of sample " << i;
      // Within a degree of a roll of +-90 pan and tilt turn about nearly
      // one line and only their sum or difference is held by the
      // orientation, which is compared below.
      if (std::fabs(std::cos(a[6] * kPi / 180)) < std::sin(kPi / 180)) continue;
      for (int k = 4; k < 7; ++k) EXPECT_NEAR(a[k], b[k], 1e-3) << "axis " << k << " of sample " << i;
    }
    Rows positions, rotations, takenPositions, takenRotations;
    CameraKeys(take, c.fps, &positions, &rotations);
    CameraKeys(back, c.fps, &takenPositions, &takenRotations);
    ASSERT_EQ(takenPositions.size(), taken.size());
    for (size_t i = 0; i < taken.size(); ++i) {
      for (int k = 1; k < 4; ++k) EXPECT_PRED3(Near, positions[c.from + i][k], takenPositions[i][k], 1e-4);
      EXPECT_LT(TurnBetween(rotations[c.from + i], takenRotations[i]), 1e-3) << "key " << i;
    }
    std::remove(move.c_str());
  }
  std::remove(take.c_str());
  std::remove(back.c_str());
}

// Where pan and tilt turn about one line (roll +-90), tilt keeps the value
// it had and pan takes what the orientation holds: pan - tilt at +90, pan +
// tilt at -90. Elsewhere the triple nearest the one before wins.
TEST(TakeAngles, RunOnFromTheSampleBefore) {
  struct Case {
    const char* name;
    cli::TakeAngles turned, previous, expected;
  } cases[] = {
      {"plain", {30, 20, 10}, {0, 0, 0}, {30, 20, 10}},
      {"pan on past a turn", {370, 5, 0}, {355, 5, 0}, {370, 5, 0}},
      {"pan on the other way", {-725, 0, 0}, {-710, 0, 0}, {-725, 0, 0}},
      {"tilt on past 90", {10, 100, 0}, {10, 95, 0}, {10, 100, 0}},
      {"roll on past 90", {10, 20, 100}, {10, 20, 95}, {10, 20, 100}},
      {"roll on past 270", {0, 0, 275}, {0, 0, 268}, {0, 0, 275}},
      {"roll +90", {40, 25, 90}, {38, 10, 88}, {25, 10, 90}},
      {"roll -90", {40, 25, -90}, {38, 10, -88}, {55, 10, -90}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // As the utility composes them: the base turn, tilt, roll, pan.
    const cli::Rotation r = cli::AxisTurn(2, -c.turned.pan) * cli::AxisTurn(1, -c.turned.roll) *
                            cli::AxisTurn(0, c.turned.tilt) * cli::AxisTurn(0, 90);
    const cli::TakeAngles a = cli::TakeAnglesOf(r, c.previous);
    EXPECT_NEAR(a.pan, c.expected.pan, 1e-9);
    EXPECT_NEAR(a.tilt, c.expected.tilt, 1e-9);
    EXPECT_NEAR(a.roll, c.expected.roll, 1e-9);
  }
}

// --- a camera animated by another tool ---

// In glTF's Y-up axes: "Rig" slides and turns about Y (LINEAR) at twice the
// size, carrying the camera "Lens", which slides on a spline (CUBICSPLINE)
// and tilts in steps (STEP); "Spare", a second camera, stands still.
struct Rig {
  bool lens = true, spare = true, notANumber = false;
};
const std::vector<float> kRigPlaces = {0, 0, 0, 4, 1, -2, 4, 3, -6};  // at 0, 1, 2 s
const double kRigYaws[] = {0, 60, 150};
// In-tangent, value and out-tangent at 0 s, then at 2 s.
const std::vector<float> kLensSpline = {0, 0, 0, 0, 1, 0, 1, 0, 2, -1, 0, 0, 1, 1, -3, 0, 0, 0};
const double kLensTilts[] = {10, -20, 35};  // from 0, 0.5, 1.5 s

std::vector<float> Turns(int axis, const double* degrees) {
  std::vector<float> quaternions;
  for (int k = 0; k < 3; ++k) {
    std::vector<float> q = {0, 0, 0, static_cast<float>(std::cos(degrees[k] * kPi / 360))};
    q[static_cast<size_t>(axis)] = static_cast<float>(std::sin(degrees[k] * kPi / 360));
    quaternions.insert(quaternions.end(), q.begin(), q.end());
  }
  return quaternions;
}

void WriteRig(const std::string& path, const Rig& rig) {
  tinygltf::Model model = cli::NewGltfModel();
  model.cameras.emplace_back();
  model.cameras[0].type = "perspective";
  model.cameras[0].perspective.yfov = 0.8;
  model.cameras[0].perspective.znear = 0.1;
  model.nodes.resize(3);
  model.nodes[0].name = "Rig", model.nodes[0].scale = {2, 2, 2}, model.nodes[0].children = {1};
  model.nodes[1].name = "Lens", model.nodes[1].camera = rig.lens ? 0 : -1;
  model.nodes[2].name = "Spare", model.nodes[2].camera = rig.spare ? 0 : -1;
  model.scenes[0].nodes = {0, 2};
  cli::GltfBuffer buffer(model);
  std::vector<float> places = kRigPlaces;
  if (rig.notANumber) places[4] = std::nanf("");
  tinygltf::Animation move;
  move.name = "Move";
  const int seconds = buffer.AddFloats({0, 1, 2}, 1, true);
  cli::AddLinearChannel(move, 0, "translation", seconds, buffer.AddFloats(places, 3, false));
  cli::AddLinearChannel(move, 0, "rotation", seconds, buffer.AddFloats(Turns(1, kRigYaws), 4, false));
  cli::AddLinearChannel(move, 1, "translation", buffer.AddFloats({0, 2}, 1, true),
                        buffer.AddFloats(kLensSpline, 3, false));
  move.samplers.back().interpolation = "CUBICSPLINE";
  cli::AddLinearChannel(move, 1, "rotation", buffer.AddFloats({0, 0.5f, 1.5f}, 1, true),
                        buffer.AddFloats(Turns(0, kLensTilts), 4, false));
  move.samplers.back().interpolation = "STEP";
  model.animations.push_back(move);
  std::ofstream file(path, std::ios::binary);
  ASSERT_TRUE(cli::WriteGltf(model, false, file));
}

// Where the rig puts the lens at t seconds, in the scene's Z-up axes, read
// by glTF's rules on the test's own.
void LensAt(double t, cli::Rotation* turn, double position[3]) {
  const size_t k = t < 1 ? 0 : 1;
  const double u = t - k, s = t / 2;
  const double h[4] = {2 * s * s * s - 3 * s * s + 1, (s * s * s - 2 * s * s + s) * 2, -2 * s * s * s + 3 * s * s,
                       (s * s * s - s * s) * 2};
  const cli::Rotation rig = cli::AxisTurn(1, kRigYaws[k] + (kRigYaws[k + 1] - kRigYaws[k]) * u);
  double lens[3], yUp[3];
  for (size_t i = 0; i < 3; ++i)
    lens[i] = 2 * (h[0] * kLensSpline[3 + i] + h[1] * kLensSpline[6 + i] + h[2] * kLensSpline[12 + i] +
                   h[3] * kLensSpline[9 + i]);
  for (size_t i = 0; i < 3; ++i)
    yUp[i] = kRigPlaces[3 * k + i] + (kRigPlaces[3 * k + 3 + i] - kRigPlaces[3 * k + i]) * u +
             rig.m[i][0] * lens[0] + rig.m[i][1] * lens[1] + rig.m[i][2] * lens[2];
  *turn = cli::AxisTurn(0, 90) * rig * cli::AxisTurn(0, kLensTilts[t < 0.5 ? 0 : t < 1.5 ? 1 : 2]);
  position[0] = yUp[0], position[1] = -yUp[2], position[2] = yUp[1];
}

TEST(TakeCommand, KeysTheCameraWhereAGltfFilePutsIt) {
  const std::string rig = Temp("rig.gltf"), back = Temp("rig.asc");
  WriteRig(rig, {});
  const CliRun run = Mirova("take", {rig, "--camera", "Lens", "-o", back});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  Rows positions, rotations;
  CameraKeys(back, 30, &positions, &rotations);
  ASSERT_EQ(positions.size(), 61u);
  for (size_t i = 0; i < positions.size(); ++i) {
    SCOPED_TRACE("key " + std::to_string(i));
    cli::Rotation turn;
    double position[3];
    LensAt(positions[i][0] / 4800, &turn, position);
    const double x = rotations[i][1], y = rotations[i][2], z = rotations[i][3], w = rotations[i][4];
    const double keyed[3][3] = {{1 - 2 * (y * y + z * z), 2 * (x * y - w * z), 2 * (x * z + w * y)},
                                {2 * (x * y + w * z), 1 - 2 * (x * x + z * z), 2 * (y * z - w * x)},
                                {2 * (x * z - w * y), 2 * (y * z + w * x), 1 - 2 * (x * x + y * y)}};
    for (int r = 0; r < 3; ++r) {
      EXPECT_PRED3(Near, position[r], positions[i][r + 1], 1e-4) << r;
      for (int c = 0; c < 3; ++c) EXPECT_NEAR(turn.m[r][c], keyed[r][c], 2e-5) << r << c;
    }
  }
  std::remove(rig.c_str());
  std::remove(back.c_str());
}

TEST(TakeCommand, RefusesBadInputSayingWhereAndWritesNothing) {
  const std::string rig = Temp("rig.gltf"), chan = Temp("move.chan"), out = Temp("out.asc");
  const std::string good = "0 1 2 3 4 5 6\n1 1 2 3 4 5 6\n";
  struct Case {
    const char* name;
    std::string file, text;  // the rig is written when text is empty
    Rig rig;
    cli::Args args;
    int status;
    std::string err;
  } cases[] = {
      {"several cameras", rig, "", {}, {}, 2,
       rig + ": holds several camera nodes; choose one with --camera NAME: \"Lens\", \"Spare\""},
      {"no camera of that name", rig, "", {}, {"--camera", "Zoom"}, 2,
       rig + ": holds no camera node named \"Zoom\"; its camera nodes: \"Lens\", \"Spare\""},
      {"no camera", rig, "", {false, false, false}, {}, 2, rig + ": holds no node with a camera"},
      {"a camera nothing moves", rig, "", {}, {"--camera", "Spare"}, 1,
       rig + ": camera node \"Spare\" has no animation, nor has any node above it"},
      {"not a number in a key", rig, "", {true, false, true}, {}, 2,
       rig + ": animation \"Move\", the translation of \"Rig\": accessor 1 holds a number that is not finite"},
      {"not glTF", rig, good, {}, {}, 2, rig + ": not a glTF file that can be read: "},
      {".chan word", chan, "0 1 2 3 4 5 6\n\n2 1 2 x 4 5 6\n", {}, {}, 2,
       chan + ":3: \"x\" is not a finite decimal number"},
      {".chan not a number", chan, "0 1 2 3 4 5 nan\r\n", {}, {}, 2,
       chan + ":1: \"nan\" is not a finite decimal number"},
      {".chan short line", chan, "0 1 2 3 4 5\n", {}, {}, 2,
       chan + ":1: seven numbers wanted (frame, tx ty tz, rx ry rz), not 6"},
      {".chan frame twice", chan, "1 0 0 0 0 0 0\r\n1 0 0 0 0 0 0\r\n", {}, {}, 2,
       chan + ":2: the frame does not come after the one before"},
      {".chan without frames", chan, "\n \n", {}, {}, 1, chan + ": holds no frame, so there is no move to take"},
      {"--camera of a .chan", chan, good, {}, {"--camera", "Lens"}, 2, "--camera chooses a glTF node"},
      {"--frames backwards", chan, good, {}, {"--frames", "5:2"}, 2, "--frames wants A:B"},
      {"--focus not a number", chan, good, {}, {"--focus", "nan"}, 2, "--focus wants a decimal number"},
      {"--fps 0", chan, good, {}, {"--fps", "0"}, 2, "--fps wants a whole number from 1 to 4800"},
      {"-o not a take", chan, good, {}, {"-o", Temp("out.json")}, 2, "-o wants a take ending in .asc"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.text.empty()) WriteRig(c.file, c.rig);
    else std::ofstream(c.file, std::ios::binary) << c.text;
    std::ofstream(out, std::ios::binary) << "was here\n";
    cli::Args args = {c.file};
    args.insert(args.end(), c.args.begin(), c.args.end());
    if (std::find(args.begin(), args.end(), "-o") == args.end()) args.insert(args.end(), {"-o", out});
    const CliRun run = Mirova("take", args);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.err.substr(0, 8 + c.err.size()), "mirova: " + c.err);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(Contents(out), "was here\n");
  }
  // A field of view after the seven numbers is left, and said.
  std::ofstream(chan, std::ios::binary) << "0 1 2 3 4 5 6 45\n1 1 2 3 4 5 6 46\n";
  const CliRun run = Mirova("take", {chan, "-o", out});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "mirova: " + chan + ": the field of view (eighth number) is left out: a take holds no lens\n");
  EXPECT_EQ(TakeSamples(out).size(), 2u);
  for (const std::string& path : {rig, chan, out}) std::remove(path.c_str());
}

}  // namespace
