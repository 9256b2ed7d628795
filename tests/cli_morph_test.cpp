// mirova morph, called as the command line calls it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "cli.h"
#include "device_node.h"
#include "obj_file.h"

namespace {

struct CliRun {
  int status;
  std::string out, err;
};

class MorphTest : public testing::Test {
 protected:
  void SetUp() override {
    dir = testing::TempDir();
    Write("neutral.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\n");
    Write("open.obj", "v 0 0 2\nv 1 0 2\nv 1 1 2\nv 0 1 2\nf 1 2 3 4\n");
    Write("lid.obj", "v 0 -1 0\nv 1 -1 0\nv 1 0 0\nv 0 0 0\nf 1 2 3 4\n");
    Write("short.obj", "v 0 0 2\nv 1 0 2\nv 1 1 2\nf 1 2 3\n");
    std::remove(Path("out.obj").c_str());
  }
  std::string Path(const std::string& name) { return dir + name; }
  void Write(const std::string& name, const std::string& text) {
    std::ofstream(Path(name), std::ios::binary) << text;
  }
  CliRun Morph(cli::Args args) {
    std::ostringstream out, err;
    int status = cli::RunMorph(args, out, err);
    return {status, out.str(), err.str()};
  }
  cli::ObjMesh Result() {
    cli::ObjMesh mesh;
    std::string error;
    EXPECT_TRUE(cli::ReadObj(Path("out.obj"), mesh, &error)) << error;
    return mesh;
  }
  std::string dir;
};

TEST_F(MorphTest, BlendsTheNamedTargetsByPercent) {
  struct Case {
    const char* name;
    cli::Args extra;
    Point3 first;
  } cases[] = {
      {"creation values show the Neutral", {"--target", "open=" + Path("open.obj")}, Point3(0, 0, 0)},
      {"half open", {"--target", "open=" + Path("open.obj"), "--set", "Mouth Vertical=50"}, Point3(0, 0, 1)},
      {"an eyelid at 0 % is closed", {"--target", "left-eyelid=" + Path("lid.obj"), "--set", "Left Eyelid=0"},
       Point3(0, -1, 0)},
      {"frown scale in percent", {"--target", "frown=" + Path("open.obj"), "--set", "Frown=50", "--set",
                                  "Scale: Frown=200"},
       Point3(0, 0, 2)},
      {"two targets add", {"--target", "open=" + Path("open.obj"), "--target", "right-eyelid=" + Path("lid.obj"),
                           "--set", "Mouth Vertical=100", "--set", "Right Eyelid=50"},
       Point3(0, -0.5f, 2)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cli::Args args = {"--neutral", Path("neutral.obj"), "-o", Path("out.obj"), "--time", "160"};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    CliRun run = Morph(args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "{\"output\": \"" + Path("out.obj") +
                           "\", \"points\": 4, \"faces\": 1, \"time\": 160, \"messages\": []}\n");
    cli::ObjMesh mesh = Result();
    ASSERT_EQ(mesh.points.size(), 4u);
    EXPECT_TRUE(mesh.points[0].Equals(c.first));
    // The Neutral's own face, a quad, comes back as it was.
    EXPECT_EQ(mesh.polygons, (std::vector<std::vector<int>>{{0, 1, 2, 3}}));
  }
}

TEST_F(MorphTest, TargetOfAnotherPointCountIsRefused) {
  CliRun run = Morph({"--neutral", Path("neutral.obj"), "--target", "puckered=" + Path("short.obj"), "-o",
                      Path("out.obj")});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "mirova: the puckered target " + Path("short.obj") + " has 3 points, the Neutral has 4\n");
  EXPECT_EQ(run.out, "");
  EXPECT_FALSE(std::ifstream(Path("out.obj")).good());
}

TEST_F(MorphTest, BadCommandLinesAreUsageErrors) {
  std::string n = Path("neutral.obj"), o = Path("out.obj");
  struct Case {
    const char* name;
    cli::Args args;
    const char* says;
  } cases[] = {
      {"nothing", {}, "required"},
      {"no output", {"--neutral", n}, "required"},
      {"missing value", {"--neutral", n, "-o"}, "-o wants a value"},
      {"unknown option", {"--neutral", n, "-o", o, "--fps", "3"}, "unknown option --fps"},
      {"unknown target", {"--neutral", n, "-o", o, "--target", "nose=" + n}, "--target wants"},
      {"the Neutral is no --target", {"--neutral", n, "-o", o, "--target", "neutral=" + n}, "--target wants"},
      {"setting without a value", {"--neutral", n, "-o", o, "--set", "Frown"}, "--set wants"},
      {"percent not a number", {"--neutral", n, "-o", o, "--set", "Frown=lots"}, "--set wants"},
      {"unknown parameter", {"--neutral", n, "-o", o, "--set", "Nose=5"}, "no parameter is called \"Nose\""},
      {"time not ticks", {"--neutral", n, "-o", o, "--time", "1.5"}, "--time wants"},
      {"unreadable neutral", {"--neutral", Path("missing.obj"), "-o", o}, "missing.obj"},
      {"unreadable target", {"--neutral", n, "-o", o, "--target", "open=" + Path("missing.obj")}, "missing.obj"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CliRun run = Morph(c.args);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
  }
}

TEST_F(MorphTest, ObjFacesMustNameExistingPoints) {
  Write("broken.obj", "v 0 0 0\nv 1 0 0\nf 1 2 7\n");
  CliRun run = Morph({"--neutral", Path("broken.obj"), "-o", Path("out.obj")});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("a face names a point"), std::string::npos) << run.err;
}

// Files the OBJ reader would take as empty or quietly wrong meshes are
// refused, as the Neutral and as a target, saying where.
TEST_F(MorphTest, UnusableObjFilesAreRefused) {
  const std::string quad = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\n";
  std::string utf16 = "\xff\xfe";
  for (char c : quad) utf16 += std::string(1, c) + '\0';
  std::string garbage;
  for (int i = 0; i < 256; ++i) garbage += static_cast<char>((i * 73 + 11) & 0xff);
  std::remove(Path("folder.obj").c_str());
  mkdir(Path("folder.obj").c_str(), 0700);
  struct Case {
    const char* name;
    std::string text;  // none: the folder
    std::string says;
  } cases[] = {
      {"a folder", "", "folder.obj: Is a directory"},
      {"an empty file", "", "empty file.obj: no vertices"},
      {"only faces and comments", "# nothing\nf 1 2 3\n", "bad.obj: no vertices"},
      {"binary data", garbage, "bad.obj:2: holds a zero byte"},  // past one line end
      {"UTF-16", utf16, "bad.obj:1: holds a zero byte"},
      {"nan", "v 0 0 0\nv nan 0 0\n", "bad.obj:2: vertex coordinate \"nan\" is not a finite number"},
      {"inf after CR LF", "v 0 0 0\r\nv 1 0 0\r\nv 0 -inf 0\r\n", "bad.obj:3: vertex coordinate \"-inf\""},
      {"past a float's range", "v 0 0 1e39\n", "bad.obj:1: vertex coordinate \"1e39\""},
      {"a word", "v 0 zero 0\n", "bad.obj:1: vertex coordinate \"zero\""},
      {"two coordinates", "v 0 0\n", "bad.obj:1: a vertex needs three coordinates"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string file = c.says.rfind("folder", 0) == 0 ? "folder.obj" : c.text.empty() ? "empty file.obj" : "bad.obj";
    if (file != "folder.obj") Write(file, c.text);
    for (bool asTarget : {false, true}) {
      SCOPED_TRACE(asTarget ? "as a target" : "as the Neutral");
      Write("out.obj", "old");
      cli::Args args = {"--neutral", Path(asTarget ? "neutral.obj" : file), "-o", Path("out.obj")};
      if (asTarget) args.insert(args.end(), {"--target", "open=" + Path(file)});
      CliRun run = Morph(args);
      EXPECT_EQ(run.status, 2);
      EXPECT_EQ(run.err.rfind("mirova: " + Path(c.says), 0), 0u) << run.err;
      EXPECT_EQ(run.out, "");
      std::ifstream out(Path("out.obj"));
      EXPECT_EQ(std::string(std::istreambuf_iterator<char>(out), std::istreambuf_iterator<char>()), "old");
    }
  }
  rmdir(Path("folder.obj").c_str());
}

TEST_F(MorphTest, NumbersAsOtherWritersWriteThemAreRead) {
  Write("odd.obj", "  v +1.5e+1 -.5 3.\r\n\tv\t1 0 0 1\rv 1E-2 1 0 0.5 0.5 0.5\nf 1 2 3\n");
  cli::ObjMesh mesh;
  std::string error;
  ASSERT_TRUE(cli::ReadObj(Path("odd.obj"), mesh, &error)) << error;
  ASSERT_EQ(mesh.points.size(), 3u);
  EXPECT_EQ(mesh.points[0], Point3(15.0f, -0.5f, 3.0f));
  EXPECT_EQ(mesh.points[1], Point3(1, 0, 0));
  EXPECT_EQ(mesh.points[2], Point3(0.01f, 1, 0));
}

TEST_F(MorphTest, NonFiniteSettingsAndRepeatedTargetsAreUsageErrors) {
  std::string n = Path("neutral.obj"), o = Path("out.obj"), open = "open=" + Path("open.obj");
  struct Case {
    const char* name;
    cli::Args extra;
    const char* says;
  } cases[] = {
      {"infinity", {"--set", "Frown=inf"}, "--set wants"},
      {"not a number", {"--set", "Frown=nan"}, "--set wants"},
      {"past a float's range", {"--set", "Frown=1e39"}, "--set wants"},
      {"a target twice", {"--target", open, "--target", open}, "--target open is given twice"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cli::Args args = {"--neutral", n, "-o", o};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    CliRun run = Morph(args);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    EXPECT_FALSE(std::ifstream(o).good());
  }
}

TEST_F(MorphTest, BlendPastAFloatsRangeIsNotWritten) {
  CliRun run = Morph({"--neutral", Path("neutral.obj"), "--target", "open=" + Path("open.obj"), "--set",
                      "Mouth Vertical=3e38", "--set", "Scale: Mouth Vertical=3e38", "-o", Path("out.obj")});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("past a float's range"), std::string::npos) << run.err;
  EXPECT_FALSE(std::ifstream(Path("out.obj")).good());
}

TEST_F(MorphTest, WriteErrorSaysWhy) {
  if (!device_node::Make(Path("full"), device_node::kFull)) GTEST_SKIP() << "cannot make a device node here";
  CliRun run = Morph({"--neutral", Path("neutral.obj"), "-o", Path("full")});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err, "mirova: cannot write " + Path("full") + ": No space left on device\n");
  EXPECT_EQ(run.out, "");
  std::remove(Path("full").c_str());
}

TEST(MorphExample, FullChannelGivesTheBundledTargetShape) {
  std::string face = std::string(MIROVA_SOURCE_DIR) + "/examples/face/";
  std::string out = testing::TempDir() + "example-blend.obj";
  std::ostringstream stdoutText, stderrText;
  int status = cli::RunMorph({"--neutral", face + "neutral.obj", "--target", "open=" + face + "open.obj",
                              "--target", "frown=" + face + "frown.obj", "--set", "Mouth Vertical=100", "-o", out},
                             stdoutText, stderrText);
  ASSERT_EQ(status, 0) << stderrText.str();
  cli::ObjMesh result, open;
  ASSERT_TRUE(cli::ReadObj(out, result, nullptr));
  ASSERT_TRUE(cli::ReadObj(face + "open.obj", open, nullptr));
  ASSERT_EQ(result.points.size(), open.points.size());
  for (size_t i = 0; i < open.points.size(); ++i) EXPECT_TRUE(result.points[i].Equals(open.points[i], 1e-6f)) << i;
  std::remove(out.c_str());
}

}  // namespace
