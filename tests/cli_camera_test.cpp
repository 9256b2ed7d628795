// mirova camera FILE.asc, called as the command line calls it: the plug-in
// is loaded, its panel worked, the camera's keys written as JSON or .chan.
#include <gtest/gtest.h>
#include <matrix3.h>
#include <quat.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "cli.h"

namespace {

const double kPi = 3.14159265358979323846;

struct CliRun {
  int status;
  std::string out, err;
};

class CameraCommand : public testing::Test {
 protected:
  void TearDown() override { std::remove(take.c_str()); }
  void WriteTake(const std::string& text) { std::ofstream(take, std::ios::binary) << text; }
  CliRun Run(cli::Args args) {
    args.insert(args.end(), {"--plugin", MIROVA_PLUGIN_PATH});
    std::ostringstream out, err;
    int status = cli::RunCamera(args, out, err);
    return {status, out.str(), err.str()};
  }
  std::string take = testing::TempDir() + "camera_take.asc";
};

// The numbers of every [..] group inside the JSON array named key.
std::vector<std::vector<double>> Rows(const std::string& json, const std::string& key) {
  std::vector<std::vector<double>> rows;
  size_t at = json.find("\"" + key + "\": [");
  if (at == std::string::npos) return rows;
  at = json.find('[', at) + 1;
  while (json[at] == '[' || json.compare(at, 2, ", ") == 0) {
    at = json.find('[', at) + 1;
    std::vector<double> row;
    while (json[at] != ']') {
      char* end;
      row.push_back(std::strtod(json.c_str() + at, &end));
      at = static_cast<size_t>(end - json.c_str());
      if (json[at] == ',') at += 2;
    }
    rows.push_back(row);
    ++at;
  }
  return rows;
}

TEST_F(CameraCommand, WritesTheKeysAsJson) {
  WriteTake("Axes = VTrack VEW VNS\n10 1 2\n20 3 4\n30 5 6\n");
  CliRun run = Run({take, "--fps", "25", "--no-north-south"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.rfind("{\"file\": \"camera_take.asc\", \"fps\": 25, \"samples\": 3, "
                          "\"position\": [[0, 1, -10, 0], [192, 3, -20, 0], [384, 5, -30, 0]], "
                          "\"rotation\": [[0, ",
                          0),
            0u)
      << run.out;
  EXPECT_NE(run.out.find("\"scale\": [1, 1, 1], \"messages\": []}"), std::string::npos);
  std::vector<std::vector<double>> rotations = Rows(run.out, "rotation");
  ASSERT_EQ(rotations.size(), 3u);
  EXPECT_NEAR(rotations[0][1], -std::sqrt(0.5), 1e-7);  // the base turn about X
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
      {"negative rate cannot be typed", good, {"--fps", "-5"}, 2, "usage: mirova camera"},
      {"unknown format", good, {"--format", "xml"}, 2, "usage: mirova camera"},
      {"unknown option", good, {"--no-focus"}, 2, "usage: mirova camera"},
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

// --- the .chan file read back as its consumers read it ---

// Column-vector rotation about axis (0 X, 1 Y, 2 Z) by degrees.
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

// A reader of the file: ZXY Euler angles in Y-up space, turned back into the
// Z-up world-from-camera rotation (column vectors) and position.
void ReadBack(const std::vector<double>& line, M3* rotation, double position[3]) {
  M3 yUp = Mul(Mul(Turn(1, line[5]), Turn(0, line[4])), Turn(2, line[6]));
  // Y-up (x', y', z') = (x, z, -y): our row y is -z', our row z is y'.
  for (int c = 0; c < 3; ++c) {
    rotation->m[0][c] = yUp.m[0][c];
    rotation->m[1][c] = -yUp.m[2][c];
    rotation->m[2][c] = yUp.m[1][c];
  }
  position[0] = line[1];
  position[1] = -line[3];
  position[2] = line[2];
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

TEST_F(CameraCommand, AChanReaderPutsTheCameraWhereTheSceneHasIt) {
  WriteTake(TakeMovingEveryAxis());
  CliRun json = Run({take, "--fps", "24"});
  ASSERT_EQ(json.status, 0) << json.err;
  std::string chanPath = testing::TempDir() + "camera_take.chan";
  CliRun chan = Run({take, "--fps", "24", "--format", "chan", "-o", chanPath});
  ASSERT_EQ(chan.status, 0) << chan.err;
  EXPECT_EQ(chan.out, "");

  std::vector<std::vector<double>> positions = Rows(json.out, "position");
  std::vector<std::vector<double>> rotations = Rows(json.out, "rotation");
  std::ifstream file(chanPath);
  std::string text;
  size_t n = 0;
  for (; std::getline(file, text); ++n) {
    SCOPED_TRACE(text);
    std::istringstream fields(text);
    std::vector<double> line(7);
    for (double& v : line) fields >> v;
    ASSERT_TRUE(fields) << "seven numbers";
    ASSERT_LT(n, positions.size());
    EXPECT_EQ(line[0], static_cast<double>(n));  // sample i is frame i

    M3 rebuilt;
    double position[3];
    ReadBack(line, &rebuilt, position);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(position[i], positions[n][1 + i], 1e-4);
    const std::vector<double>& q = rotations[n];
    Matrix3 scene;
    Quat(static_cast<float>(q[1]), static_cast<float>(q[2]), static_cast<float>(q[3]),
         static_cast<float>(q[4]))
        .MakeMatrix(scene);
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c)  // the scene's rows are the camera's axes
        EXPECT_NEAR(rebuilt.m[r][c], scene[c][r], 1e-4) << r << "," << c;
  }
  EXPECT_EQ(n, positions.size());
  EXPECT_EQ(n, 64u);
  std::remove(chanPath.c_str());
}

}  // namespace
