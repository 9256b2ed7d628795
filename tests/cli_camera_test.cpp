// mirova camera FILE.asc, called as the command line calls it: the plug-in
// is loaded, its panel worked, the camera's keys written as JSON or .chan.
#include <gtest/gtest.h>
#include <matrix3.h>
#include <quat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "camera_panel.h"
#include "cli.h"
#include "cli_command.h"
#include "gltf_check.h"
#include "plugin.h"
#include "report_json.h"
#include "tzmotion_fixture.h"

namespace {

const double kPi = 3.14159265358979323846;

struct CliRun {
  int status;
  std::string out, err;
};

// The command beside a scene of the test's own, where the same take can be
// applied through the panel to see where the node goes.
class CameraCommand : public motion_test::MotionPanelFixture {
 protected:
  ClassDesc* MotionControlClass() override { return plugin.MotionControlClass(); }
  void TearDown() override {
    std::remove(take.c_str());
    motion_test::MotionPanelFixture::TearDown();
  }
  void WriteTake(const std::string& text) { std::ofstream(take, std::ios::binary) << text; }
  CliRun Run(cli::Args args) {
    args.insert(args.end(), {"--plugin", MIROVA_PLUGIN_PATH});
    std::ostringstream out, err;
    int status = RunCli("camera", args, out, err);
    return {status, out.str(), err.str()};
  }
  std::string take = testing::TempDir() + "camera_take.asc";
  // The product module, as the command loads it: the same file, so the same
  // module, held once more while the test's scene lives.
  cli::Plugin plugin{MIROVA_PLUGIN_PATH};
};

// The camera report's keys named key ("position" or "rotation"), each row
// its tick and values; none when the report does not read.
std::vector<std::vector<double>> Rows(const std::string& out, const std::string& key) {
  const report_json::Json report = report_json::Read(out, report_json::CameraReport());
  return report.is_null() ? std::vector<std::vector<double>>{} : report.at(key).get<std::vector<std::vector<double>>>();
}

TEST_F(CameraCommand, WritesTheKeysAsJson) {
  WriteTake("Axes = VTrack VEW VNS\n10 1 2\n20 3 4\n30 5 6\n");
  CliRun run = Run({take, "--fps", "25", "--no-north-south"});
  ASSERT_EQ(run.status, 0) << run.err;
  report_json::Json report = report_json::Read(run.out, report_json::CameraReport());
  ASSERT_FALSE(report.is_null());
  const std::vector<std::vector<double>> rotations = Rows(run.out, "rotation");
  ASSERT_EQ(rotations.size(), 3u);
  for (size_t i = 0; i < rotations.size(); ++i) EXPECT_EQ(rotations[i][0], 192.0 * i);
  report.erase("rotation");
  EXPECT_EQ(report, report_json::Json::parse(R"({"file": "camera_take.asc", "fps": 25, "samples": 3,
      "position": [[0, 1, -10, 0], [192, 3, -20, 0], [384, 5, -30, 0]], "scale": [1, 1, 1], "messages": []})"));
  // The base turn stands the camera level: right-handed, +90 degrees about X.
  EXPECT_NEAR(rotations[0][1], std::sqrt(0.5), 1e-7);
  EXPECT_NEAR(rotations[0][4], std::sqrt(0.5), 1e-7);
  EXPECT_EQ(run.err, "");
}

TEST_F(CameraCommand, ReportsRefusalsAndUsageErrors) {
  struct Case {
    const char* name;
    std::string take;
    cli::Args args;
    int status;
    std::string errStart;
  };
  const std::string good = "Axes = VTrack\n1\n2\n";
  const Case cases[] = {
      {"bad rate", good, {"--fps", "0"}, 1, "TzMotionControl: The FPS value"},
      {"rate above 4800", good, {"--fps", "4801"}, 1, "TzMotionControl: The FPS value"},
      {"not a take", "Axis = VTrack\n1\n", {}, 1,
       "TzMotionControl: Not a Kuper ASCII File\nUnable to loaded file\nmirova: " + take + ":1: Not a Kuper ASCII File\n"},
      // The panel's own box says nothing of where; the command line does.
      {"a number beyond a float", "Axes = VTrack\r\n1\r\n1e39\r\n", {}, 1,
       "Unable to loaded file\nmirova: " + take + ":3: Sample 1, VTrack: \"1e39\" is not a finite number\n"},
      {"the last sample cut short", "Axes = VTrack VPan\n1 2\n3\n", {}, 1,
       "Unable to loaded file\nmirova: " + take + ":3: The file ends inside sample 1, after 1 of its 2 numbers\n"},
      {"negative rate cannot be typed", good, {"--fps", "-5"}, 2, "mirova: --fps wants digits"},
      {"a sign before the rate", good, {"--fps", "+30"}, 2, "mirova: --fps wants digits"},
      {"a space before the rate", good, {"--fps", " 30"}, 2, "mirova: --fps wants digits"},
      {"unknown format", good, {"--format", "xml"}, 2, "mirova: --format wants json, chan or gltf, not \"xml\""},
      {"an output named for no format", good, {"-o", take}, 2, "mirova: -o " + take + " names no format"},
      {"a format the name denies", good, {"--format", "chan", "-o", "camera.json"}, 2,
       "mirova: --format chan contradicts -o camera.json"},
      {"glTF to standard output", good, {"--format", "gltf"}, 2, "mirova: glTF wants -o"},
      {"glTF to another kind of file", good, {"--format", "gltf", "-o", "camera.obj"}, 2,
       "mirova: -o camera.obj names no format"},
      {"unknown option", good, {"--no-focus"}, 2, "mirova: unknown option --no-focus"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteTake(c.take);
    cli::Args args = {take};
    args.insert(args.end(), c.args.begin(), c.args.end());
    CliRun run = Run(args);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.err.substr(0, c.errStart.size()), c.errStart);
    EXPECT_EQ(run.out, "");
  }
  for (std::string path : {testing::TempDir() + "no_such_take.asc", testing::TempDir()}) {
    SCOPED_TRACE(path);
    CliRun missing = Run({path});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("cannot open"), std::string::npos);
    EXPECT_EQ(missing.out, "");
  }
}

TEST_F(CameraCommand, ATakeThatCannotBeReadLeavesTheOutputAlone) {
  WriteTake("Axis = VTrack\n1\n");
  const std::string before = "what was there\n";
  for (const char* format : {"json", "chan", "gltf"}) {
    for (const char* name : {"out.json", "out.chan", "out.glb", "out.gltf"}) {
      std::string path = testing::TempDir() + name;
      if (std::string(format) != "gltf" && path.find(format) == std::string::npos) continue;
      if (std::string(format) == "gltf" && path.find(".gl") == std::string::npos) continue;
      SCOPED_TRACE(path);
      std::ofstream(path, std::ios::binary) << before;
      CliRun run = Run({take, "--format", format, "-o", path});
      EXPECT_EQ(run.status, 1);
      std::ifstream file(path, std::ios::binary);
      EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), before);
      std::remove(path.c_str());
    }
  }
}

// --- every output read back as its readers read it ---

// Column-vector rotations, as the readers of the files work.
struct M3 {
  double m[3][3] = {};
};
M3 Mul(const M3& a, const M3& b) {
  M3 r;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 3; ++k) r.m[i][j] += a.m[i][k] * b.m[k][j];
  return r;
}
// About axis (0 X, 1 Y, 2 Z) by degrees, right-handed.
M3 Turn(int axis, double degrees) {
  double a = degrees * kPi / 180, c = std::cos(a), s = std::sin(a);
  int u = (axis + 1) % 3, v = (axis + 2) % 3;
  M3 r;
  r.m[axis][axis] = 1;
  r.m[u][u] = r.m[v][v] = c;
  r.m[u][v] = -s;
  r.m[v][u] = s;
  return r;
}
// A right-handed quaternion's rotation.
M3 FromQuaternion(double x, double y, double z, double w) {
  M3 r;
  r.m[0][0] = 1 - 2 * (y * y + z * z), r.m[0][1] = 2 * (x * y - w * z), r.m[0][2] = 2 * (x * z + w * y);
  r.m[1][0] = 2 * (x * y + w * z), r.m[1][1] = 1 - 2 * (x * x + z * z), r.m[1][2] = 2 * (y * z - w * x);
  r.m[2][0] = 2 * (x * z - w * y), r.m[2][1] = 2 * (y * z + w * x), r.m[2][2] = 1 - 2 * (x * x + y * y);
  return r;
}

// Where a file puts the camera, in the scene's Z-up axes: the columns of
// axes are its local X, Y and Z.
struct Pose {
  M3 axes;
  double position[3];
};

// From Y-up (x', y', z') = (x, z, -y) back to Z-up.
Pose ZUp(const M3& yUpAxes, const double yUpPosition[3]) {
  Pose pose;
  for (int c = 0; c < 3; ++c) {
    pose.axes.m[0][c] = yUpAxes.m[0][c];
    pose.axes.m[1][c] = -yUpAxes.m[2][c];
    pose.axes.m[2][c] = yUpAxes.m[1][c];
  }
  pose.position[0] = yUpPosition[0];
  pose.position[1] = -yUpPosition[2];
  pose.position[2] = yUpPosition[1];
  return pose;
}

// A .chan line: ZXY Euler angles in Y-up space.
Pose FromChan(const std::vector<double>& line) {
  M3 yUp = Mul(Mul(Turn(1, line[5]), Turn(0, line[4])), Turn(2, line[6]));
  return ZUp(yUp, &line[1]);
}

// The keyed node, where the scene has it: rows of its transform are the
// camera's axes, row 3 its position.
::testing::AssertionResult SamePose(const Pose& pose, const Matrix3& tm) {
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c)
      if (std::fabs(pose.axes.m[r][c] - tm[c][r]) > 1e-5)
        return ::testing::AssertionFailure() << "axis " << c << " component " << r << ": " << pose.axes.m[r][c]
                                             << " vs " << tm[c][r];
    if (std::fabs(pose.position[r] - tm[3][r]) > 1e-5 * std::max(1.0f, std::fabs(tm[3][r])))
      return ::testing::AssertionFailure() << "position " << r << ": " << pose.position[r] << " vs " << tm[3][r];
  }
  return ::testing::AssertionSuccess();
}

std::string TakeMovingEveryAxis() {
  std::mt19937 random(7);
  std::uniform_real_distribution<float> place(-100, 100), angle(-180, 180);
  std::ostringstream text;
  text << "Axes = FOCUS VTrack VEW VNS VPan VTilt VRoll\n";
  // Straight up and down (Euler angles meet there), then anything at all.
  const float fixed[][3] = {{30, -90, 0}, {-75, 90, 0}, {0, 0, 0}, {179, 89.99f, -179}};
  for (const auto& f : fixed) text << "1 2 3 4 " << f[0] << " " << f[1] << " " << f[2] << "\n";
  for (int i = 0; i < 60; ++i)
    text << "1 " << place(random) << " " << place(random) << " " << place(random) << " "
         << angle(random) << " " << angle(random) << " " << angle(random) << "\n";
  return text.str();
}

std::vector<std::vector<double>> ChanLines(const std::string& path) {
  std::vector<std::vector<double>> lines;
  std::ifstream file(path);
  std::string text;
  while (std::getline(file, text)) {
    std::istringstream fields(text);
    std::vector<double> line(8);
    for (double& v : line) fields >> v;
    EXPECT_TRUE(fields) << "eight numbers in " << text;
    lines.push_back(line);
  }
  return lines;
}

// The camera node's pose at each key of a written glTF file, and the times.
std::vector<Pose> GltfPoses(const std::string& path, std::vector<float>* seconds) {
  std::vector<Pose> poses;
  tinygltf::Model model;
  EXPECT_TRUE(gltf_check::PassesValidator(path));
  if (!gltf_check::Load(path, &model)) {
    ADD_FAILURE() << "cannot read " << path;
    return poses;
  }
  EXPECT_EQ(model.nodes.size(), 1u);
  EXPECT_EQ(model.nodes.at(0).camera, 0);
  EXPECT_EQ(model.cameras.at(0).type, "perspective");
  // The free camera's 45 degrees across a 4:3 frame.
  EXPECT_NEAR(model.cameras[0].perspective.aspectRatio, 4.0 / 3.0, 1e-6);
  EXPECT_NEAR(std::tan(model.cameras[0].perspective.yfov / 2) * 4 / 3, std::tan(kPi / 8), 1e-6);
  if (model.animations.size() != 1) {
    ADD_FAILURE() << "one animation";
    return poses;
  }
  std::vector<float> translations, rotations;
  for (const tinygltf::AnimationChannel& channel : model.animations[0].channels) {
    const tinygltf::AnimationSampler& sampler = model.animations[0].samplers.at(channel.sampler);
    EXPECT_EQ(channel.target_node, 0);
    EXPECT_EQ(sampler.interpolation, "LINEAR");
    *seconds = gltf_check::Floats(model, sampler.input);
    (channel.target_path == "rotation" ? rotations : translations) = gltf_check::Floats(model, sampler.output);
  }
  EXPECT_EQ(translations.size(), seconds->size() * 3);
  EXPECT_EQ(rotations.size(), seconds->size() * 4);
  for (size_t i = 0; i < seconds->size() && i * 4 + 3 < rotations.size() && i * 3 + 2 < translations.size(); ++i) {
    const float* q = &rotations[i * 4];
    double position[3] = {translations[i * 3], translations[i * 3 + 1], translations[i * 3 + 2]};
    poses.push_back(ZUp(FromQuaternion(q[0], q[1], q[2], q[3]), position));
  }
  return poses;
}

TEST_F(CameraCommand, EveryOutputPutsTheCameraWhereTheNodeIs) {
  WriteTake(TakeMovingEveryAxis());
  Load(take);
  TypeRate("24");
  Apply();
  std::vector<std::pair<TimeValue, Matrix3>> node;
  for (const auto& key : Tracks().positions) node.emplace_back(key.first, camera->GetNodeTM(key.first));
  ASSERT_EQ(node.size(), 64u);

  CliRun json = Run({take, "--fps", "24"});
  ASSERT_EQ(json.status, 0) << json.err;
  std::vector<std::vector<double>> positions = Rows(json.out, "position");
  std::vector<std::vector<double>> rotations = Rows(json.out, "rotation");
  ASSERT_EQ(positions.size(), node.size());
  ASSERT_EQ(rotations.size(), node.size());
  for (size_t i = 0; i < node.size(); ++i) {
    SCOPED_TRACE("JSON key " + std::to_string(i));
    EXPECT_EQ(positions[i][0], node[i].first);
    EXPECT_EQ(rotations[i][0], node[i].first);
    const std::vector<double>& q = rotations[i];
    EXPECT_NEAR(q[1] * q[1] + q[2] * q[2] + q[3] * q[3] + q[4] * q[4], 1.0, 1e-6);
    Pose pose{FromQuaternion(q[1], q[2], q[3], q[4]), {positions[i][1], positions[i][2], positions[i][3]}};
    EXPECT_TRUE(SamePose(pose, node[i].second));
  }

  std::string chanPath = testing::TempDir() + "camera_take.chan";
  CliRun chan = Run({take, "--fps", "24", "--format", "chan", "-o", chanPath});
  ASSERT_EQ(chan.status, 0) << chan.err;
  EXPECT_EQ(chan.out, "");
  std::vector<std::vector<double>> lines = ChanLines(chanPath);
  ASSERT_EQ(lines.size(), node.size());
  for (size_t i = 0; i < node.size(); ++i) {
    SCOPED_TRACE(".chan frame " + std::to_string(i));
    EXPECT_EQ(lines[i][0], static_cast<double>(i));  // sample i is frame i
    EXPECT_TRUE(SamePose(FromChan(lines[i]), node[i].second));
    // The vertical field of view of 45 degrees across a 4:3 frame, as readers take it.
    EXPECT_NEAR(lines[i][7], 2 * std::atan(std::tan(22.5 * kPi / 180) * 3 / 4) * 180 / kPi, 1e-4);
    EXPECT_NEAR(lines[i][7], 34.5, 0.05);
    // Readers interpolate each angle: no neighbours half a turn apart.
    for (int a = 4; a < 7 && i > 0; ++a) EXPECT_LE(std::fabs(lines[i][a] - lines[i - 1][a]), 180.0) << a;
  }
  std::remove(chanPath.c_str());

  for (const char* name : {"camera_take.glb", "camera_take.gltf"}) {
    SCOPED_TRACE(name);
    std::string path = testing::TempDir() + name;
    CliRun gltf = Run({take, "--fps", "24", "--format", "gltf", "-o", path});
    ASSERT_EQ(gltf.status, 0) << gltf.err;
    EXPECT_EQ(gltf.out, "");
    std::vector<float> seconds;
    std::vector<Pose> poses = GltfPoses(path, &seconds);
    ASSERT_EQ(poses.size(), node.size());
    for (size_t i = 0; i < node.size(); ++i) {
      SCOPED_TRACE("glTF key " + std::to_string(i));
      EXPECT_FLOAT_EQ(seconds[i], node[i].first / 4800.0f);
      EXPECT_TRUE(SamePose(poses[i], node[i].second));
    }
    std::remove(path.c_str());
  }
}

// Pan, tilt and roll each turning twice round: in Y-up space pan turns about
// Y the other way, tilt about X and roll about Z, and each .chan angle runs on
// past +-180 instead of jumping back.
TEST_F(CameraCommand, ChanAnglesRunOnThroughWholeTurns) {
  struct Case {
    const char* axis;
    int column;  // of the line: 4 rx, 5 ry, 6 rz
    double sign;
  };
  const Case cases[] = {{"VPan", 5, -1}, {"VTilt", 4, 1}, {"VRoll", 6, 1}};
  std::string chanPath = testing::TempDir() + "sweep.chan";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.axis);
    std::string text = std::string("Axes = ") + c.axis + "\n";
    for (int degrees = 0; degrees <= 720; degrees += 15) text += std::to_string(degrees) + "\n";
    WriteTake(text);
    CliRun run = Run({take, "--format", "chan", "-o", chanPath});
    ASSERT_EQ(run.status, 0) << run.err;
    std::vector<std::vector<double>> lines = ChanLines(chanPath);
    ASSERT_EQ(lines.size(), 49u);
    for (size_t i = 0; i < lines.size(); ++i) {
      for (int a = 4; a < 7; ++a) {
        double expected = a == c.column ? c.sign * 15.0 * i : 0.0;
        EXPECT_NEAR(lines[i][a], expected, 1e-3) << "frame " << i << " column " << a;
      }
    }
  }
  std::remove(chanPath.c_str());
}

}  // namespace

namespace {

// What the panel shows while it reads and applies, echoed on one terminal
// line: each change once, each phase counting up, the line ended at the end.
TEST_F(CameraCommand, ProgressIsEchoedAsThePanelShowsIt) {
  std::string text = "Axes = VTrack\n";
  for (int i = 0; i < 500; ++i) text += std::to_string(i) + "\n";
  WriteTake(text);
  char* buffer = nullptr;
  size_t size = 0;
  std::FILE* terminal = open_memstream(&buffer, &size);
  {
    cli::PanelProgressEcho echo(panel, terminal);
    Load(take);
    Apply();
  }
  std::fclose(terminal);
  const std::string shown(buffer, size);
  std::free(buffer);
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.back(), '\n');
  std::vector<std::string> lines;
  for (size_t at = shown.find('\r'); at != std::string::npos; at = shown.find('\r', at + 1))
    lines.push_back(shown.substr(at + 1, shown.find_first_of("\r\n", at + 1) - at - 1));
  std::string phase;
  int last = -1;
  for (size_t i = 0; i < lines.size(); ++i) {
    SCOPED_TRACE(lines[i]);
    ASSERT_EQ(lines[i].rfind("camera: ", 0), 0u);
    if (i > 0) {
      EXPECT_NE(lines[i], lines[i - 1]);
    }
    const size_t space = lines[i].rfind(' ');
    const int percent = std::atoi(lines[i].c_str() + space + 1);
    if (lines[i].substr(8, space - 8) != phase) last = -1;
    phase = lines[i].substr(8, space - 8);
    EXPECT_GT(percent, last);
    last = percent;
  }
  EXPECT_EQ(lines.front(), "camera: Loading 0%");
  EXPECT_EQ(phase, "Applying");
  EXPECT_GE(last, 90);
}

}  // namespace
