// mirova view, called as the command line calls it: the pictures it writes
// and the runs it refuses.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "cli.h"
#include "cli_command.h"
#include "tracker_text.h"

namespace {

using tracker_text::FilePosition;
using tracker_text::Recording;
using tracker_text::Row;

struct CliRun {
  int status;
  std::string out, err;
};

CliRun View(const cli::Args& args) {
  std::ostringstream out, err;
  const int status = RunCli("view", args, out, err);
  return {status, out.str(), err.str()};
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Width and height from a PNG's header; 0, 0 when it is no PNG.
std::pair<int, int> PngSize(const std::string& bytes) {
  if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0) return {0, 0};
  auto at = [&](size_t i) {
    return (static_cast<unsigned char>(bytes[i]) << 24) | (static_cast<unsigned char>(bytes[i + 1]) << 16) |
           (static_cast<unsigned char>(bytes[i + 2]) << 8) | static_cast<unsigned char>(bytes[i + 3]);
  };
  return {at(16), at(20)};
}

class CliView : public testing::Test {
 protected:
  void SetUp() override {
    std::vector<Row> rows;
    for (int s = 0; s < 5; ++s)
      rows.push_back({s / 30.0f, {FilePosition{0.4f, 0.5f}, FilePosition{0.3f + 0.02f * s, 0.6f + 0.01f * s}}});
    take = dir + "take.trc";
    std::ofstream(take) << Recording({"nose_bridge", "lip_upper"}, rows);
  }
  std::string dir = testing::TempDir();
  std::string take;
};

TEST_F(CliView, RefusesWhatItCannotDo) {
  const std::string png = dir + "out.png";
  struct Case {
    const char* what;
    cli::Args args;
    int status;
    std::string err;
  } cases[] = {
      {"no recording", {"-o", png}, 2, "mirova: FILE.trc is required\n"},
      {"no output", {take}, 2, "mirova: -o is required\n"},
      {"an empty output", {take, "-o", ""}, 2, "mirova: -o wants a value, not an empty one\n"},
      {"range to a file", {take, "--frames", "0:3", "-o", png}, 2, "mirova: --frames wants -o DIR/\n"},
      {"one frame to a folder", {take, "-o", dir + "pics/"}, 2, "mirova: one frame wants -o OUT.png\n"},
      {"both frame options", {take, "--frame", "1", "--frames", "0:3", "-o", png}, 2,
       "mirova: --frame excludes --frames\n"},
      {"backward range", {take, "--frames", "3:1", "-o", dir}, 2, "mirova: --frames wants A:B, frame numbers"},
      {"negative frame", {take, "--frame", "-1", "-o", png}, 2,
       "mirova: --frame wants a whole number from 0 to 1000000, not \"-1\"\n"},
      {"a frame past the scene's last time", {take, "--fps", "1", "--frame", "1000000", "-o", png}, 2,
       "mirova: frame 1000000 at 1 frames a second lies past"},
      {"bad fps", {take, "--fps", "0", "-o", png}, 2, "mirova: --fps wants a whole number from 1 to 4800"},
      {"a sign before the rate", {take, "--fps", "+30", "-o", png}, 2, "mirova: --fps wants a whole number"},
      {"a picture named for no format", {take, "-o", take}, 2, "mirova: -o " + take + " names no format"},
      {"missing file", {dir + "none.trc", "-o", png}, 2, "mirova: cannot open " + dir + "none.trc: No such file or directory\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CliRun run = View(c.args);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.err.substr(0, c.err.size()), c.err);
    EXPECT_FALSE(std::ifstream(png).good());
  }
}

TEST_F(CliView, WritesTheViewsClientArea) {
  const std::string png = dir + "view.png";
  CliRun run = View({take, "--frame", "2", "-o", png});
  ASSERT_EQ(run.status, 0) << run.err;
  auto size = PngSize(Slurp(png));
  EXPECT_GT(size.first, 650);  // the plot reaches x 650
  EXPECT_GT(size.second, 405);
  EXPECT_LT(size.first, 700);  // inside the 700-pixel outer frame
}

TEST_F(CliView, FramesAndSwitchesChangeThePicture) {
  struct Case {
    const char* what;
    cli::Args extra;
  } cases[] = {{"frame 0", {}}, {"frame 3", {"--frame", "3"}}, {"trajectories", {"--trajectories"}},
               {"names", {"--names"}}, {"extents", {"--extents"}}};
  std::vector<std::string> pictures;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    cli::Args args = {take, "-o", dir + "p.png"};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    ASSERT_EQ(View(args).status, 0);
    std::string picture = Slurp(dir + "p.png");
    for (size_t i = 0; i < pictures.size(); ++i) EXPECT_TRUE(picture != pictures[i]) << "same as case " << i;
    pictures.push_back(picture);
  }
}

TEST_F(CliView, RangeWritesOnePicturePerFrameInSortingOrder) {
  const std::string out = dir + "frames/";
  CliRun run = View({take, "--frames", "8:11", "--trajectories", "-o", out});
  ASSERT_EQ(run.status, 0) << run.err;
  for (int f = 8; f <= 11; ++f) {
    char name[32];
    std::snprintf(name, sizeof name, "frame_%06d.png", f);
    SCOPED_TRACE(name);
    EXPECT_GT(PngSize(Slurp(out + name)).first, 0);
  }
  EXPECT_FALSE(std::ifstream(out + "frame_000007.png").good());
  EXPECT_FALSE(std::ifstream(out + "frame_000012.png").good());
}

TEST_F(CliView, RecordingWithoutSamplesIsRefusedAndKeepsTheOldPicture) {
  const std::string empty = dir + "empty.trc";
  std::ofstream(empty) << "not a recording\n";
  const std::string png = dir + "keep.png";
  std::ofstream(png) << "old";
  CliRun run = View({empty, "-o", png});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("no recording was opened"), std::string::npos) << run.err;
  EXPECT_EQ(Slurp(png), "old");
}

}  // namespace

namespace {

CliRun Panel(const cli::Args& args) {
  std::ostringstream out, err;
  const int status = RunCli("panel", args, out, err);
  return {status, out.str(), err.str()};
}

TEST(CliPanel, RefusesUnknownPanels) {
  for (const cli::Args& args : {cli::Args{}, cli::Args{"camera"}, cli::Args{"object", "-o"}}) {
    CliRun run = Panel(args);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("usage: mirova panel"), std::string::npos);
  }
}

TEST(CliPanel, ObjectPanelStacksFiveRollupsWithTwoRolledUp) {
  const std::string dir = testing::TempDir();
  ASSERT_EQ(Panel({"utility", "-o", dir + "u.png"}).status, 0);
  ASSERT_EQ(Panel({"object", "-o", dir + "o.png"}).status, 0);
  auto utility = PngSize(Slurp(dir + "u.png"));
  auto object = PngSize(Slurp(dir + "o.png"));
  EXPECT_GT(utility.second, 300);
  // Three open pages (Percentages, Face Targets, Face Tracker) are far
  // taller than the utility's one.
  EXPECT_GT(object.second, 2 * utility.second);
  EXPECT_EQ(object.first, utility.first);  // rollups are all the panel's width
}

}  // namespace
