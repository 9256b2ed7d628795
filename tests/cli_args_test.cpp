// The command line as a user meets it: help, version, and every kind of
// wrong argument named with its exit status, run through the built mirova.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "bundled_face.h"
#include "channels.h"
#include "mirova.h"
#include "run_program.h"

namespace {

using run_program::Ran;

const std::vector<std::string> commands = {"info", "inspect", "camera", "take", "morph", "face", "view", "panel"};
const std::vector<std::string> targetNames = {"open",         "puckered",      "left-eyelid", "left-eyebrow",
                                              "left-cheek",   "frown",         "left-squint", "right-eyelid",
                                              "right-eyebrow", "right-cheek", "right-squint"};

class CliArgs : public testing::Test {
 protected:
  void SetUp() override {
    std::ofstream(take) << "Axes = VTrack\n1\n2\n";
    std::ofstream(notTake) << "Axis = VTrack\n1\n";
  }
  void TearDown() override {
    for (const std::string& f : {take, notTake, png}) std::remove(f.c_str());
  }
  Ran Mirova(const std::vector<std::string>& args) {
    return run_program::Run(MIROVA_CLI_PATH, args, "", dir);
  }

  std::string dir = testing::TempDir();
  std::string take = dir + "args_take.asc", notTake = dir + "args_not_a_take.asc", png = dir + "args.png";
  std::string trc = std::string(MIROVA_SOURCE_DIR) + "/examples/face_take.trc";
  std::string neutral = std::string(MIROVA_SOURCE_DIR) + "/examples/face/neutral.obj";
};

// The lines of the help's usage: "usage: X" and the lines lined up under it.
std::vector<std::string> UsageLines(const std::string& help) {
  std::vector<std::string> lines;
  std::istringstream in(help);
  std::string line;
  bool inUsage = false;
  while (std::getline(in, line)) {
    if (line.rfind("usage: ", 0) == 0) {
      inUsage = true;
      lines.push_back(line.substr(7));
    } else if (inUsage && line.rfind("       mirova ", 0) == 0) {
      lines.push_back(line.substr(7));
    } else {
      inUsage = false;
    }
  }
  return lines;
}

bool IsOptionChar(char c) { return (c >= 'a' && c <= 'z') || c == '-'; }

// The options a text names: "--word" and "-o" tokens, wherever they stand
// (after a space, "[", "," or "|").
std::set<std::string> OptionsIn(const std::string& text) {
  std::set<std::string> options;
  for (size_t i = 0; i < text.size(); ++i) {
    const bool starts = text[i] == '-' && (i == 0 || std::string(" [,|").find(text[i - 1]) != std::string::npos);
    const size_t name = i + (text.compare(i, 2, "--") == 0 ? 2 : 1);
    if (!starts || name >= text.size() || text[name] < 'a' || text[name] > 'z') continue;
    size_t end = name;
    while (end < text.size() && IsOptionChar(text[end])) ++end;
    options.insert(text.substr(i, end - i));
    i = end;
  }
  return options;
}

// Whether help lists command as "  command   Description".
bool ListsCommand(const std::string& help, const std::string& command) {
  const size_t at = help.find("\n  " + command + " ");
  if (at == std::string::npos) return false;
  const size_t text = help.find_first_not_of(' ', at + 3 + command.size());
  return text != std::string::npos && help[text] >= 'A' && help[text] <= 'Z';
}

// The options the help's option list describes, but help itself.
std::set<std::string> ListedOptions(const std::string& help) {
  std::set<std::string> listed;
  std::istringstream in(help);
  std::string line;
  while (std::getline(in, line))
    if (line.rfind("  -", 0) == 0) {
      const std::string first = line.substr(2, line.find(' ', 2) - 2);
      if (first != "-h,--help") listed.insert(first);
    }
  return listed;
}

TEST_F(CliArgs, EveryCommandHasHelpOnStandardOutput) {
  for (const std::string& command : commands) {
    SCOPED_TRACE(command);
    const Ran asked = Mirova({command, "--help"});
    EXPECT_EQ(asked.status, 0);
    EXPECT_EQ(asked.err, "");
    ASSERT_FALSE(UsageLines(asked.out).empty()) << asked.out;
    for (const std::string& line : UsageLines(asked.out)) EXPECT_EQ(line.rfind("mirova " + command, 0), 0u) << line;
    // The one-line description comes first.
    EXPECT_NE(asked.out.find('\n'), std::string::npos);
    EXPECT_GT(asked.out.find('\n'), 20u);
    for (const std::vector<std::string>& same : {std::vector<std::string>{"help", command},
                                                 std::vector<std::string>{command, "-h"}}) {
      const Ran again = Mirova(same);
      EXPECT_EQ(again.status, 0);
      EXPECT_EQ(again.out, asked.out);
    }
    // What the usage names and what the option list describes are the same options.
    std::set<std::string> inUsage;
    for (const std::string& line : UsageLines(asked.out))
      for (const std::string& o : OptionsIn(line)) inUsage.insert(o);
    EXPECT_EQ(inUsage, ListedOptions(asked.out));
  }
}

TEST_F(CliArgs, ToolHelpListsEveryCommand) {
  for (const std::vector<std::string>& args : {std::vector<std::string>{"--help"}, std::vector<std::string>{"-h"},
                                               std::vector<std::string>{"help"}}) {
    SCOPED_TRACE(args[0]);
    const Ran ran = Mirova(args);
    EXPECT_EQ(ran.status, 0);
    EXPECT_EQ(ran.err, "");
    for (const std::string& command : commands)
      EXPECT_TRUE(ListsCommand(ran.out, command)) << command;
  }
  const Ran bare = Mirova({});
  EXPECT_EQ(bare.status, 2);
  EXPECT_EQ(bare.out, "");
  EXPECT_NE(bare.err.find("usage: mirova COMMAND"), std::string::npos);
}

TEST_F(CliArgs, VersionNamesTheToolAndThePluginsWord) {
  const Ran ran = Mirova({"--version"});
  EXPECT_EQ(ran.status, 0);
  char word[16];
  std::snprintf(word, sizeof word, "0x%08X", static_cast<unsigned>(VERSION_3DSMAX));
  const std::string version = "mirova " MIROVA_VERSION "\n";
  ASSERT_EQ(ran.out.substr(0, version.size()), version) << ran.out;
  const std::string plugin = ran.out.substr(version.size());
  EXPECT_EQ(plugin.rfind("plug-in /", 0), 0u) << plugin;
  const std::string tail = "/mirova.dlu version word " + std::string(word) + "\n";
  ASSERT_GE(plugin.size(), tail.size());
  EXPECT_EQ(plugin.substr(plugin.size() - tail.size()), tail);
}

// Each wrong command line: exit status, and what standard error must say.
TEST_F(CliArgs, WrongCommandLinesAreNamed) {
  const std::string obj = dir + "args_out.obj";
  struct Case {
    const char* what;
    std::vector<std::string> args;
    int status;
    std::vector<std::string> says;
  } cases[] = {
      {"unknown command", {"frob"}, 2,
       {"unknown command \"frob\"", "info, inspect, camera, take, morph, face, view, panel"}},
      {"help for an unknown command", {"help", "frob"}, 2, {"unknown command \"frob\""}},
      {"unknown tool option", {"--frob"}, 2, {"unknown option --frob"}},
      {"version with more", {"--version", "info"}, 2, {"--version takes nothing after it"}},
      {"info: unknown option", {"info", "--zap"}, 2, {"unknown option --zap", "usage: mirova info"}},
      {"inspect: unknown option", {"inspect", take, "--zap"}, 2, {"unknown option --zap", "usage: mirova inspect"}},
      {"camera: unknown option", {"camera", take, "--no-focus"}, 2,
       {"unknown option --no-focus", "usage: mirova camera"}},
      {"morph: unknown option", {"morph", "--neutral", neutral, "-o", obj, "--fps", "3"}, 2, {"unknown option --fps"}},
      {"face: unknown option", {"face", trc, "--zap"}, 2, {"unknown option --zap", "usage: mirova face"}},
      {"view: unknown option", {"view", trc, "-o", png, "--zap"}, 2, {"unknown option --zap", "usage: mirova view"}},
      {"panel: unknown option", {"panel", "object", "--zap"}, 2, {"unknown option --zap", "usage: mirova panel"}},
      {"a second file", {"camera", take, take}, 2, {"unexpected argument " + take}},
      {"unknown format", {"camera", take, "--format", "xml"}, 2, {"xml", "json", "chan", "gltf"}},
      {"unknown face format", {"face", trc, "--format", "obj"}, 2, {"obj", "json", "gltf"}},
      {"unknown panel", {"panel", "desk"}, 2, {"desk", "utility", "object"}},
      {"unknown file kind", {"inspect", dir + "take.txt"}, 2, {"take.txt", ".asc or .trc"}},
      {"--raw for a take", {"inspect", take, "--raw"}, 2, {"--raw is for a tracker recording"}},
      {"unknown pick method", {"morph", "--neutral", neutral, "-o", obj, "--method", "glue"}, 2, {"--method wants"}},
      {"camera: --fps without a value", {"camera", take, "--fps"}, 2, {"--fps wants a value"}},
      {"face: -o without a value", {"face", trc, "-o"}, 2, {"-o wants a value"}},
      {"view: --frame without a value", {"view", trc, "--frame"}, 2, {"--frame wants a value"}},
      {"morph: --set without a value", {"morph", "--neutral", neutral, "-o", obj, "--set"}, 2,
       {"--set wants a value"}},
      {"info: --plugin without a value", {"info", "--plugin"}, 2, {"--plugin wants a value"}},
      {"no take", {"camera"}, 2, {"FILE.asc is required"}},
      {"no recording", {"face"}, 2, {"FILE.trc is required"}},
      {"no panel", {"panel"}, 2, {"PANEL is required"}},
      {"no neutral", {"morph", "-o", obj}, 2, {"--neutral is required"}},
      {"an empty picture name", {"panel", "utility", "-o", ""}, 2, {"-o wants a value, not an empty one"}},
      {"a folder to read", {"camera", dir}, 2, {"cannot open " + dir + ": it is a folder"}},
      {"a take that is not there", {"camera", dir + "none.asc"}, 2, {"cannot open " + dir + "none.asc"}},
      {"a module that is not there", {"info", "--plugin", dir + "none.dlu"}, 2, {"cannot load the plug-in"}},
      {"a file the library refuses", {"camera", notTake}, 1, {"Not a Kuper ASCII File"}},
      {"a rate the panel refuses", {"camera", take, "--fps", "4801"}, 1, {"The FPS value"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Ran ran = Mirova(c.args);
    EXPECT_EQ(ran.status, c.status);
    EXPECT_EQ(ran.out, "");
    for (const std::string& said : c.says)
      EXPECT_NE(ran.err.find(said), std::string::npos) << said << "\n" << ran.err;
  }
  EXPECT_FALSE(std::ifstream(obj).good());
  std::ostringstream kept;
  kept << std::ifstream(take).rdbuf();
  EXPECT_EQ(kept.str(), "Axes = VTrack\n1\n2\n");
}

TEST_F(CliArgs, BadTargetNamesListTheValidOnes) {
  const std::string obj = dir + "args_out.obj";
  const std::vector<std::vector<std::string>> lines = {
      {"face", trc, "--target", "nose=" + neutral},
      {"face", trc, "--target", "neutral=" + neutral},
      {"morph", "--neutral", neutral, "-o", obj, "--target", "Open=" + neutral},
      {"morph", "--neutral", neutral, "-o", obj, "--target", "open"},
  };
  for (const std::vector<std::string>& args : lines) {
    SCOPED_TRACE(args[args.size() - 1]);
    const Ran ran = Mirova(args);
    EXPECT_EQ(ran.status, 2);
    for (const std::string& name : targetNames) EXPECT_NE(ran.err.find(" " + name), std::string::npos) << name;
  }
}

TEST_F(CliArgs, BadSetNamesListTheParameters) {
  const std::string obj = dir + "args_out.obj";
  for (const std::string name : {"Smile", "mouth vertical", "Scale:Frown"}) {
    SCOPED_TRACE(name);
    const Ran ran = Mirova({"morph", "--neutral", neutral, "-o", obj, "--set", name + "=50"});
    EXPECT_EQ(ran.status, 2);
    EXPECT_NE(ran.err.find("no parameter is called \"" + name + "\""), std::string::npos) << ran.err;
    for (int i = 0; i < NUM_CHANNEL_PARAMS; ++i)
      EXPECT_NE(ran.err.find("\"" + std::string(ChannelParamName(i)) + "\""), std::string::npos) << i;
    EXPECT_FALSE(std::ifstream(obj).good());
  }
}

// The README's synopsis of each command is the usage its help prints.
TEST_F(CliArgs, ReadmeSynopsesAreTheHelpsUsage) {
  std::ifstream readme(std::string(MIROVA_SOURCE_DIR) + "/README.md");
  ASSERT_TRUE(readme.good());
  std::set<std::string> documented;
  std::string line;
  while (std::getline(readme, line))
    if (line.rfind("- `mirova ", 0) == 0) documented.insert(line.substr(3, line.find('`', 3) - 3));
  std::set<std::string> helped;
  for (const std::string& command : commands)
    for (const std::string& usage : UsageLines(Mirova({command, "--help"}).out)) helped.insert(usage);
  EXPECT_EQ(documented, helped);
}

// The face built into the program is the example face as the sources hold
// it now: the build follows the file, whatever its size.
TEST(BuiltInFace, IsTheExampleFace) {
  cli::ObjMesh builtIn, file;
  std::string problem;
  ASSERT_TRUE(cli::ReadBuiltInFace(builtIn, &problem)) << problem;
  ASSERT_TRUE(cli::ReadObj(std::string(MIROVA_SOURCE_DIR) + "/examples/face/neutral.obj", file, &problem)) << problem;
  ASSERT_EQ(builtIn.points.size(), file.points.size());
  EXPECT_GT(builtIn.points.size(), 3u);
  for (size_t i = 0; i < file.points.size(); ++i) {
    EXPECT_EQ(builtIn.points[i].x, file.points[i].x) << i;
    EXPECT_EQ(builtIn.points[i].y, file.points[i].y) << i;
    EXPECT_EQ(builtIn.points[i].z, file.points[i].z) << i;
  }
  EXPECT_EQ(builtIn.polygons, file.polygons);
}

}  // namespace
