// What the README says each axis of a motion take does to the camera, and
// which parameter each --target name is driven by, checked by running the
// commands on takes and meshes that move one thing only.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli.h"
#include "cli_command.h"
#include "obj_file.h"

namespace {

struct Vec {
  double x, y, z;
};

// v turned by the unit quaternion (x, y, z, w), right-handed.
Vec Turn(const std::vector<double>& q, Vec v) {
  const double x = q[0], y = q[1], z = q[2], w = q[3];
  // t = 2 q.xyz × v; v' = v + w t + q.xyz × t
  const Vec t = {2 * (y * v.z - z * v.y), 2 * (z * v.x - x * v.z), 2 * (x * v.y - y * v.x)};
  return {v.x + w * t.x + (y * t.z - z * t.y), v.y + w * t.y + (z * t.x - x * t.z),
          v.z + w * t.z + (x * t.y - y * t.x)};
}

void ExpectNear(Vec got, Vec want, const char* what) {
  SCOPED_TRACE(what);
  EXPECT_NEAR(got.x, want.x, 1e-5);
  EXPECT_NEAR(got.y, want.y, 1e-5);
  EXPECT_NEAR(got.z, want.z, 1e-5);
}

class Axes : public testing::Test {
 protected:
  void TearDown() override { std::remove(take.c_str()); }
  // The camera keyed from a take of two samples, 0 then value, on one axis.
  nlohmann::json Camera(const std::string& label, double value, const std::string& format = "json") {
    std::ofstream(take) << "Axes = " << label << "\n0\n" << value << "\n";
    std::ostringstream out, err;
    const int status = RunCli("camera", {take, "--format", format, "--plugin", MIROVA_PLUGIN_PATH}, out, err);
    EXPECT_EQ(status, 0) << err.str();
    if (format != "json") return nlohmann::json(out.str());
    return nlohmann::json::parse(out.str(), nullptr, false);
  }
  std::string take = testing::TempDir() + "axes_take.asc";
};

// The README's table: each label alone, and where the camera stands and looks.
TEST_F(Axes, EachLabelMovesOrTurnsTheCameraAsDocumented) {
  const Vec lookRest = {0, 1, 0}, upRest = {0, 0, 1};
  struct Case {
    const char* label;
    double value;
    Vec position, look, up;
  } cases[] = {
      {"FOCUS", 35, {0, 0, 0}, lookRest, upRest},       // read, never applied
      {"VEW", 12.5, {12.5, 0, 0}, lookRest, upRest},    // east, +X
      {"VTrack", 10, {0, -10, 0}, lookRest, upRest},    // back along the view, -Y
      {"VNS", 4, {0, 0, 4}, lookRest, upRest},          // up, +Z
      {"VPan", 90, {0, 0, 0}, {1, 0, 0}, upRest},       // turns toward +X
      {"VPan", -90, {0, 0, 0}, {-1, 0, 0}, upRest},
      {"VTilt", 90, {0, 0, 0}, {0, 0, 1}, {0, -1, 0}},  // looks up
      {"VTilt", -30, {0, 0, 0}, {0, std::cos(0.5235987755982988), -0.5}, {0, 0.5, std::cos(0.5235987755982988)}},
      {"VRoll", 90, {0, 0, 0}, lookRest, {-1, 0, 0}},   // top leans toward -X
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.label) + " " + std::to_string(c.value));
    const nlohmann::json camera = Camera(c.label, c.value);
    ASSERT_TRUE(camera.is_object());
    ASSERT_EQ(camera["position"].size(), 2u);
    const std::vector<double> p = camera["position"][1], q = camera["rotation"][1];
    ExpectNear({p[1], p[2], p[3]}, c.position, "position");
    const std::vector<double> turn(q.begin() + 1, q.end());
    ExpectNear(Turn(turn, {0, 0, -1}), c.look, "look (local -Z)");
    ExpectNear(Turn(turn, {0, 1, 0}), c.up, "up (local +Y)");
    // The first sample, all zero, stands at rest.
    const std::vector<double> q0 = camera["rotation"][0];
    ExpectNear(Turn({q0[1], q0[2], q0[3], q0[4]}, {0, 0, -1}), lookRest, "rest look");
  }
}

// .chan gets positions in Y-up axes, (x, y, z) written as (x, z, -y), and
// angles in degrees; a pan turns about Y-up's vertical axis.
TEST_F(Axes, ChanWritesYUp) {
  struct Case {
    const char* label;
    double value;
    std::vector<double> frame1;  // tx ty tz rx ry rz of frame 1
  } cases[] = {
      {"VEW", 3, {3, 0, 0, 0, 0, 0}},
      {"VTrack", 5, {0, 0, 5, 0, 0, 0}},  // scene -5 on Y: +5 on Y-up's Z
      {"VNS", 7, {0, 7, 0, 0, 0, 0}},
      {"VPan", 30, {0, 0, 0, 0, -30, 0}},
      {"VTilt", 20, {0, 0, 0, 20, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const std::string chan = Camera(c.label, c.value, "chan").get<std::string>();
    std::istringstream lines(chan);
    std::string line;
    std::getline(lines, line);
    std::getline(lines, line);
    std::istringstream fields(line);
    int frame = -1;
    fields >> frame;
    EXPECT_EQ(frame, 1);
    // At rest the camera looks along the scene's +Y with +Z up: in Y-up,
    // down -Z with +Y up, which is no turn at all.
    const double rest[6] = {0, 0, 0, 0, 0, 0};
    for (int i = 0; i < 6; ++i) {
      double v = 0;
      ASSERT_TRUE(static_cast<bool>(fields >> v)) << line;
      EXPECT_NEAR(v - rest[i], c.frame1[i], 1e-3) << "field " << i << " of " << line;
    }
  }
}

// The cells of a Markdown table row, trimmed; none for another line.
std::vector<std::string> Cells(const std::string& line) {
  std::vector<std::string> cells;
  if (line.size() < 2 || line.front() != '|' || line.back() != '|') return cells;
  for (size_t at = 1; at < line.size();) {
    const size_t bar = line.find('|', at);
    const size_t first = line.find_first_not_of(' ', at), last = line.find_last_not_of(' ', bar - 1);
    cells.push_back(first < bar && last >= first ? line.substr(first, last - first + 1) : "");
    at = bar + 1;
  }
  return cells;
}

// A cell's text without its quotes or backticks.
std::string Unquoted(const std::string& cell) { return cell.size() >= 2 ? cell.substr(1, cell.size() - 2) : cell; }

// The README's --target table: every name is taken, and drives the target
// through the percentage it names (0 % and 100 % give different shapes).
TEST(ReadmeTargets, EveryNameDrivesItsParameter) {
  std::ifstream readme(std::string(MIROVA_SOURCE_DIR) + "/README.md");
  ASSERT_TRUE(readme.good());
  const std::string dir = testing::TempDir();
  std::ofstream(dir + "readme_neutral.obj") << "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";
  std::ofstream(dir + "readme_target.obj") << "v 0 0 1\nv 1 0 1\nv 0 1 1\nf 1 2 3\n";
  std::string line;
  int rows = 0;
  while (std::getline(readme, line)) {
    // | `name` | Target | "Percentage" | "Scale: ..." | 100 % | 0 % | 100 % |
    const std::vector<std::string> cells = Cells(line);
    if (cells.size() != 7 || cells[0].rfind('`', 0) != 0 || cells[3].rfind("\"Scale: ", 0) != 0) continue;
    ++rows;
    const std::string name = Unquoted(cells[0]), percent = Unquoted(cells[2]), scale = Unquoted(cells[3]);
    ASSERT_TRUE(cells[4].rfind("100 %", 0) == 0 || cells[4].rfind("0 %", 0) == 0) << cells[4];
    const int fullAt = cells[4].rfind("100 %", 0) == 0 ? 1 : 0;
    SCOPED_TRACE(name);
    double z[2] = {-1, -1};
    for (int full = 0; full < 2; ++full) {
      std::ostringstream out, err;
      const int status = RunCli("morph", 
          {"--neutral", dir + "readme_neutral.obj", "--target", name + "=" + dir + "readme_target.obj", "--set",
           percent + "=" + (full ? "100" : "0"), "--set", scale + "=100", "-o", dir + "readme_out.obj"},
          out, err);
      ASSERT_EQ(status, 0) << err.str();
      cli::ObjMesh mesh;
      std::string problem;
      ASSERT_TRUE(cli::ReadObj(dir + "readme_out.obj", mesh, &problem)) << problem;
      z[full] = mesh.points.at(0).z;
    }
    // With the scale at 100 %, the table's end of the percentage gives the
    // whole target, the other leaves the Neutral.
    EXPECT_NEAR(z[fullAt], 1.0, 1e-5);
    EXPECT_NEAR(z[1 - fullAt], 0.0, 1e-5);
    // As created, the weight is the table's scale times its percentage (or
    // its complement, for an openness).
    std::ostringstream out, err;
    ASSERT_EQ(RunCli("morph",
                     {"--neutral", dir + "readme_neutral.obj", "--target", name + "=" + dir + "readme_target.obj",
                      "-o", dir + "readme_out.obj"},
                     out, err),
              0)
        << err.str();
    cli::ObjMesh created;
    ASSERT_TRUE(cli::ReadObj(dir + "readme_out.obj", created, nullptr));
    const double percentage = std::atof(cells[5].c_str()) / 100, scaleAt = std::atof(cells[6].c_str()) / 100;
    EXPECT_NEAR(created.points.at(0).z, scaleAt * (fullAt ? percentage : 1 - percentage), 1e-5);
  }
  EXPECT_EQ(rows, 11);
}

}  // namespace
