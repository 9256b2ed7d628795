// mirova info and mirova inspect FILE.asc, called as the command line calls
// them.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "cli.h"
#include "cli_command.h"
#include "json.h"
#include "report_json.h"

namespace {

struct CliRun {
  int status;
  std::string out, err;
};

CliRun Inspect(const std::string& text, const std::string& name = "take.asc") {
  std::string path = testing::TempDir() + name;
  std::ofstream(path, std::ios::binary) << text;
  std::ostringstream out, err;
  int status = RunCli("inspect", {path}, out, err);
  std::remove(path.c_str());
  return {status, out.str(), err.str()};
}

// The expected text with PATH standing for the file's path.
std::string WithPath(std::string text, const std::string& path) {
  const size_t at = text.find("PATH");
  return at == std::string::npos ? text : text.replace(at, 4, path);
}

TEST(InspectMotion, ReportsRecordAndMessages) {
  struct Case {
    const char* name;
    std::string text;
    int status;
    std::string json;
    std::string err;
  } cases[] = {
      {"well formed, CR LF", "Axes = VTrack,VPan\r\n1.5 -2\r\n0.1 3\r\n", 0,
       R"({"file": "take.asc", "ok": true, "samples": [[0, 1.5, 0, 0, -2, 0, 0], [0, 0.1, 0, 0, 3, 0, 0]],
           "messages": []})",
       ""},
      {"short last sample keeps the complete ones", "Axes = VEW VNS\n1 2\n3\n", 1,
       R"({"file": "take.asc", "ok": false, "samples": [[0, 0, 1, 2, 0, 0, 0]], "messages": []})",
       "mirova: PATH:3: The file ends inside sample 1, after 1 of its 2 numbers\n"},

      {"not a take", "Axis = VEW\n1\n", 1,
       R"({"file": "take.asc", "ok": false, "samples": [],
           "messages": [{"caption": "TzMotionControl", "text": "Not a Kuper ASCII File"}]})",
       "TzMotionControl: Not a Kuper ASCII File\nmirova: PATH:1: Not a Kuper ASCII File\n"},
      {"unknown label quoted", "Axes = VEW \"q\"\n", 1,
       R"({"file": "take.asc", "ok": false, "samples": [],
           "messages": [{"caption": "TzMotionControl", "text": "Unknown data label: \"q\""}]})",
       "TzMotionControl: Unknown data label: \"q\"\nmirova: PATH:1: Unknown data label: \"q\"\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CliRun run = Inspect(c.text);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(report_json::Read(run.out, report_json::MotionReport()), report_json::Json::parse(c.json));
    EXPECT_EQ(run.err, WithPath(c.err, testing::TempDir() + "take.asc"));
  }
}

// Every refusal names the line, as an editor counts it, on standard error.
TEST(InspectMotion, PointsAtTheLineOfTheFault) {
  struct Case {
    const char* name;
    std::string text;
    std::string err;  // the last line
  };
  const Case cases[] = {
      {"number beyond a float, CR LF", "Axes = VEW VNS\r\n1 2\r\n\r\n3 -1e39\r\n",
       "mirova: PATH:4: Sample 1, VNS: \"-1e39\" is not a finite number\n"},
      {"not a number", "Axes = VEW\n1\nnan\n", "mirova: PATH:3: Sample 1, VEW: \"nan\" is not a finite number\n"},
      {"NUL in the header", std::string("Axes = VEW\0 VNS\n1 2\n", 21),
       "mirova: PATH:1: NUL character among the data labels\n"},
      {"eight labels", "Axes = VEW VEW VEW VEW VEW VEW VEW VEW\n1\n", "mirova: PATH:1: More than seven data labels\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CliRun run = Inspect(c.text);
    EXPECT_EQ(run.status, cli::EXIT_REFUSED);
    const size_t last = run.err.rfind('\n', run.err.size() - 2);
    EXPECT_EQ(run.err.substr(last == std::string::npos ? 0 : last + 1),
              WithPath(c.err, testing::TempDir() + "take.asc"));
  }
}

// A name is one name on this system, backslash and all, and a newline in it
// cannot start a message line of its own.
TEST(InspectMotion, NamesAreShownWhole) {
  const struct {
    const char* name;
    const char* file;   // the report's "file"
    const char* shown;  // in the fault's line
  } cases[] = {{"a\\b.asc", "a\\b.asc", "a\\b.asc"}, {"two\nlines.asc", "two\nlines.asc", "two\\nlines.asc"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    CliRun run = Inspect("Axes = VEW\n1\nnan\n", c.name);
    EXPECT_EQ(report_json::Read(run.out, report_json::MotionReport())["file"], c.file);
    EXPECT_EQ(run.err, "mirova: " + testing::TempDir() + c.shown + ":3: Sample 1, VEW: \"nan\" is not a finite number\n");
  }
}

TEST(InspectMotion, FloatsReadBackExactly) {
  CliRun run = Inspect("Axes = FOCUS\n0.1\n16777217\n1e-40\n3.4028235e38\n-0\n");
  const report_json::Json report = report_json::Read(run.out, report_json::MotionReport());
  ASSERT_FALSE(report.is_null());
  const float focus[] = {0.1f, 16777216.0f, 1e-40f, 3.4028235e38f, -0.0f};
  ASSERT_EQ(report.at("samples").size(), std::size(focus));
  for (size_t i = 0; i < std::size(focus); ++i) {
    SCOPED_TRACE(i);
    const float read = static_cast<float>(report["samples"][i][0].get<double>());
    EXPECT_EQ(std::memcmp(&read, &focus[i], sizeof read), 0) << read;
  }
}

TEST(InspectMotion, UsageAndUnopenableFiles) {
  std::ostringstream out, err;
  EXPECT_EQ(RunCli("inspect", {}, out, err), cli::EXIT_USAGE);
  EXPECT_EQ(RunCli("inspect", {"a.asc", "b.asc"}, out, err), cli::EXIT_USAGE);
  EXPECT_EQ(RunCli("inspect", {"take.txt"}, out, err), cli::EXIT_USAGE);
  EXPECT_EQ(RunCli("inspect", {testing::TempDir() + "no-such-take.asc"}, out, err),
            cli::EXIT_USAGE);
  EXPECT_NE(err.str().find("cannot open"), std::string::npos);
  EXPECT_EQ(out.str(), "");
}

TEST(Info, ListsTheModulesClassTable) {
  std::ostringstream out, err;
  ASSERT_EQ(RunCli("info", {"--plugin", MIROVA_PLUGIN_PATH}, out, err), cli::EXIT_OK) << err.str();
  const report_json::Json info = report_json::Read(out.str(), report_json::InfoReport());
  ASSERT_FALSE(info.is_null());
  EXPECT_EQ(info["plugin"], MIROVA_PLUGIN_PATH);
  EXPECT_EQ(info["description"].get<std::string>().rfind("TzTools. Contact ", 0), 0u);
  EXPECT_EQ(info["version"], "0x0BB80700");
  EXPECT_EQ(info["classes"], report_json::Json::parse(R"([{"name": "TzMotionControl", "category": "TzTools",
      "superClassID": "0x00001020", "classID": ["0x23830F7C", "0x5B474FED"]}])"));
  EXPECT_EQ(info["classCount"], 1);
  EXPECT_EQ(RunCli("info", {"--plugin", "/nonexistent/mirova.dlu"}, out, err), cli::EXIT_USAGE);
}

TEST(Json, EscapesStrings) {
  EXPECT_EQ(cli::JsonString("a\"b\\c\n\x01"), "\"a\\\"b\\\\c\\n\\u0001\"");
  EXPECT_EQ(cli::JsonFloat(1.0f / 0.0f), "null");
  // Well-formed UTF-8 stays; any other high byte is read as Latin-1.
  EXPECT_EQ(cli::JsonString("l\xc3\xa8vre"), "\"l\xc3\xa8vre\"");
  EXPECT_EQ(cli::JsonString("l\xe8vre \xc3"), "\"l\\u00e8vre \\u00c3\"");
  EXPECT_EQ(cli::JsonString("\xed\xa0\x80"), "\"\\u00ed\\u00a0\\u0080\"");
}

}  // namespace
