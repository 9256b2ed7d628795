// mirova inspect FILE.trc and mirova face FILE.trc, called as the command line
// calls them.
#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "cli.h"
#include "cli_command.h"
#include "mirovaobj.h"
#include "report_json.h"
#include "tracker_text.h"

namespace {

using tracker_text::FilePosition;
using tracker_text::Recording;

struct CliRun {
  int status;
  std::string out, err;
};

CliRun InspectTracker(const std::string& text, bool raw) {
  const std::string path = testing::TempDir() + "take.trc";
  std::ofstream(path, std::ios::binary) << text;
  std::ostringstream out, err;
  cli::Args args = {path};
  if (raw) args.push_back("--raw");
  const int status = RunCli("inspect", args, out, err);
  std::remove(path.c_str());
  return {status, out.str(), err.str()};
}

// The reference marker misses its second sample; the lip moves right and down.
const std::string kTake = Recording(
    {"nose_bridge", "lip_upper"},
    {{0, {FilePosition{0.5f, 0.5f}, FilePosition{0.25f, 0.75f}}}, {0.5f, {std::nullopt, FilePosition{0.5f, 1}}}});

std::string Json(const std::string& nose, const std::string& lip, const std::string& describe,
                 const std::string& messages) {
  return "{\"file\": \"take.trc\", \"samples\": 2, \"times\": [0, 2400], \"markers\": [{\"name\": "
         "\"nose_bridge\", \"valid\": 1, \"positions\": " +
         nose + "}, {\"name\": \"lip_upper\", \"valid\": 2, \"positions\": " + lip +
         "}], \"describe\": \"-- FaceTracker Data --\\r\\nSamples: 2 Markers: 2\\r\\nMarker 1: nose_bridge "
         "Valid: 1\\r\\nTime     Position\\r\\n0  (0.500000, 0.500000)\\r\\n2400  (0.500000, "
         "0.500000)\\r\\nMarker 2: lip_upper Valid: 2\\r\\nTime     Position" +
         describe + "\", \"messages\": " + messages + "}\n";
}

TEST(InspectTracker, ReportsTheRecordStabilisedOrRaw) {
  struct Case {
    const char* name;
    std::string text;
    bool raw;
    int status;
    std::string json;
    std::string err;
  };
  const std::string nose = "[[0.5, 0.5], [0.5, 0.5]]";
  const Case cases[] = {
      {"stabilised", kTake, false, 0,
       Json(nose, "[[0.25, 0.25], [0, 0.5]]", "\\r\\n0  (0.250000, 0.250000)\\r\\n2400  (0.000000, 0.500000)",
            "[]"),
       ""},
      {"raw, CR LF", tracker_text::WithCrLf(kTake), true, 0,
       Json(nose, "[[0.75, 0.25], [1, 0.5]]", "\\r\\n0  (0.750000, 0.250000)\\r\\n2400  (1.000000, 0.500000)",
            "[]"),
       ""},
      {"no reference marker", Recording({"lip_upper"}, {{1.5f, {FilePosition{0.1f, 0.2f}}}}), false, 1,
       "{\"file\": \"take.trc\", \"samples\": 1, \"times\": [7200], \"markers\": [{\"name\": \"lip_upper\", "
       "\"valid\": 1, \"positions\": [[0.2, 0.1]]}], \"describe\": \"-- FaceTracker Data --\\r\\nSamples: 1 "
       "Markers: 1\\r\\nMarker 1: lip_upper Valid: 1\\r\\nTime     Position\\r\\n7200  (0.200000, 0.100000)\", "
       "\"messages\": [{\"caption\": null, \"text\": \"Unable to find inertial marker in data\"}]}\n",
       "Unable to find inertial marker in data\n"},
      {"header cut short, raw", "line one\nline two\n", true, 1,
       "{\"file\": \"take.trc\", \"samples\": 0, \"times\": [], \"markers\": [], \"describe\": \"-- FaceTracker "
       "Data --\\r\\nSamples: 0 Markers: 0\", \"messages\": [{\"caption\": null, \"text\": \"Unexpected end of "
       "file in the tracker header\"}]}\n",
       "Unexpected end of file in the tracker header\nmirova: " + testing::TempDir() +
           "take.trc:2: Unexpected end of file in the tracker header\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CliRun run = InspectTracker(c.text, c.raw);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(report_json::Read(run.out, report_json::TrackerReport()), report_json::Json::parse(c.json));
    EXPECT_EQ(run.err, c.err);
  }
}

TEST(InspectTracker, PointsAtTheLineOfTheFault) {
  const std::string spoiled = tracker_text::WithColumn(tracker_text::WithCrLf(kTake), 6, 5, "1e39");
  const CliRun run = InspectTracker(spoiled, true);
  EXPECT_EQ(run.status, cli::EXIT_REFUSED);
  EXPECT_EQ(run.err, "Malformed data of marker lip_upper in line 7: its last position is repeated\nmirova: " +
                         testing::TempDir() +
                         "take.trc:7: Sample 1, marker lip_upper: \"1e39\" is not a finite number; its last "
                         "position is repeated\n");
}

TEST(InspectTracker, UsageErrors) {
  for (const cli::Args& args : {cli::Args{"take.trc", "--rawer"}, cli::Args{"take.trc", "--raw", "x"},
                                cli::Args{"take.asc", "--raw"}, cli::Args{"--raw"}}) {
    SCOPED_TRACE(args.back());
    std::ostringstream out, err;
    EXPECT_EQ(RunCli("inspect", args, out, err), cli::EXIT_USAGE);
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(err.str().find("mirova inspect FILE.asc|FILE.trc [--raw]"), std::string::npos);
  }
}

// --- mirova face ---

const std::string kNeutral = std::string(MIROVA_SOURCE_DIR) + "/examples/face/neutral.obj";
const char* const kFaceMarkers[] = {"lip_upper",   "lip_lower",     "lip_left",       "lip_right",  "eyelid_left",
                                    "eyelid_right", "out_brow_left", "out_brow_right", "cheek_left", "cheek_right",
                                    "squint_left", "squint_right",  "in_brow_right"};

// Two samples: in the second the mouth is open and wide and every other
// marker higher in the image. upperLipDrop moves the upper lip down in both.
std::string TwoSampleTake(float seconds1, float upperLipDrop = 0.0f, const std::string& without = "") {
  std::vector<std::string> names = {"nose_bridge"};
  std::vector<tracker_text::Row> rows = {{0.0f, {FilePosition{0.5f, 0.5f}}}, {seconds1, {FilePosition{0.5f, 0.5f}}}};
  for (const char* name : kFaceMarkers) {
    if (name == without) continue;
    names.push_back(name);
    const std::string n = name;
    for (int s = 0; s < 2; ++s) {
      FilePosition p{0.3f - 0.1f * s, 0.5f};
      if (n == "lip_upper") p = {0.6f + upperLipDrop, 0.5f};
      if (n == "lip_lower") p = {0.62f + 0.1f * s, 0.5f};
      if (n == "lip_left") p = {0.6f, 0.55f + 0.05f * s};  // horizontal grows leftwards in the stable frame
      if (n == "lip_right") p = {0.6f, 0.45f - 0.05f * s};
      rows[s].markers.push_back(p);
    }
  }
  return Recording(names, rows);
}

CliRun Face(const std::string& text, cli::Args options) {
  const std::string path = testing::TempDir() + "face take.trc";
  std::ofstream(path, std::ios::binary) << text;
  std::ostringstream out, err;
  options.insert(options.begin(), path);
  const int status = RunCli("face", options, out, err);
  std::remove(path.c_str());
  return {status, out.str(), err.str()};
}

// The report with each percentage keyed at 0 and t1 by its first and
// second value (Frown falls where the others rise), the scales unkeyed.
std::string FaceJson(int ticksPerFrame, TimeValue t1, const std::string& messages, bool keyed = true) {
  std::string json = "{\"file\": \"face take.trc\", \"ticksPerFrame\": " + std::to_string(ticksPerFrame) +
                     ", \"parameters\": [";
  for (int i = 0; i < NUM_CHANNEL_PARAMS; ++i) {
    const bool scale = (i >= 7 && i <= 13) || i >= 18;
    const char* keys = !keyed || scale ? "[]" : i == PB_FROWN ? "[[0, 1], [T, 0]]" : "[[0, 0], [T, 1]]";
    std::string k = keys;
    if (k.find('T') != std::string::npos) k.replace(k.find('T'), 1, std::to_string(t1));
    json += std::string(i ? ", " : "") + "{\"index\": " + std::to_string(i) + ", \"name\": \"" + ChannelParamName(i) +
            "\", \"keys\": " + k + "}";
  }
  return json + "], \"messages\": " + messages + "}\n";
}

TEST(FaceCommand, KeysEveryPercentageAtTheSampleTimes) {
  struct Case {
    const char* name;
    std::string text;
    cli::Args options;
    int status;
    std::string json;
    std::string err;
  };
  const std::string swapped = "Top and bottom lip markers swapped at frame ";
  const Case cases[] = {
      {"30 frames a second by default", TwoSampleTake(0.5f), {"--neutral", kNeutral}, 0, FaceJson(160, 2400, "[]"), ""},
      {"lips swapped in the first sample, 25 frames a second", TwoSampleTake(1.0f, 0.05f),
       {"--fps", "25", "--neutral", kNeutral}, 0,
       FaceJson(192, 4800, "[{\"caption\": null, \"text\": \"" + swapped + "0\"}]"), swapped + "0\n"},
      {"a face marker missing", TwoSampleTake(0.5f, 0.0f, "squint_left"), {"--neutral", kNeutral}, 1,
       FaceJson(160, 2400, "[{\"caption\": null, \"text\": \"Unable to find marker squint_left\"}]", false),
       "Unable to find marker squint_left\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CliRun run = Face(c.text, c.options);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(report_json::Read(run.out, report_json::FaceReport()), report_json::Json::parse(c.json));
    EXPECT_EQ(run.err, c.err);
  }
}

// A bad value costs its own field: the keys are those of the recording with
// that marker missing there, and the error stream says where it was.
TEST(FaceCommand, BadValueKeysAsAMissingMarker) {
  const std::string take = TwoSampleTake(0.5f);
  const int row = 6, lipLower = 2;  // the second sample, the third marker
  std::string missing = take;
  for (int column = 2 + 3 * lipLower; column < 5 + 3 * lipLower; ++column)
    missing = tracker_text::WithColumn(missing, row, column, "");
  const CliRun expected = Face(missing, {"--neutral", kNeutral});
  ASSERT_EQ(expected.status, 0) << expected.err;
  report_json::Json expectedKeys = report_json::Read(expected.out, report_json::FaceReport());
  ASSERT_FALSE(expectedKeys.is_null());
  expectedKeys.erase("messages");
  for (const char* bad : {"nan", "1e39", "abc"}) {
    SCOPED_TRACE(bad);
    const CliRun run = Face(tracker_text::WithColumn(take, row, 2 + 3 * lipLower, bad), {"--neutral", kNeutral});
    EXPECT_EQ(run.status, 0);
    report_json::Json keys = report_json::Read(run.out, report_json::FaceReport());
    ASSERT_FALSE(keys.is_null());
    keys.erase("messages");
    EXPECT_EQ(keys, expectedKeys);
    EXPECT_NE(run.err.find("mirova: " + testing::TempDir() + "face take.trc:7: Sample 1, marker lip_lower: \"" +
                           bad + "\" is not a finite number"),
              std::string::npos)
        << run.err;
  }
}

TEST(FaceCommand, WritesTheReportToTheOutputFile) {
  const std::string output = testing::TempDir() + "face.json";
  const CliRun run = Face(TwoSampleTake(0.5f), {"-o", output, "--neutral", kNeutral});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "");
  std::ifstream file(output);
  const std::string written((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  EXPECT_EQ(report_json::Read(written, report_json::FaceReport()), report_json::Json::parse(FaceJson(160, 2400, "[]")));
  std::remove(output.c_str());
}

TEST(FaceCommand, FindsTheBundledNeutralFromTheBuildTree) {
  char self[PATH_MAX] = {};
  if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0 || std::string(self).rfind(MIROVA_SOURCE_DIR "/", 0) != 0)
    GTEST_SKIP() << "the build tree is outside the source tree";
  const CliRun run = Face(TwoSampleTake(0.5f), {});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(report_json::Read(run.out, report_json::FaceReport()), report_json::Json::parse(FaceJson(160, 2400, "[]")));
}

TEST(FaceCommand, UsageErrors) {
  const cli::Args cases[] = {{},
                             {"take.trc", "--fps"},
                             {"take.trc", "--fps", "0"},
                             {"take.trc", "--fps", "4801"},
                             {"take.trc", "--fps", "30fps"},
                             {"take.trc", "other.trc"},
                             {"take.trc", "--loud"},
                             {testing::TempDir() + "no-such-take.trc", "--neutral", kNeutral},
                             {"take.trc", "--neutral", testing::TempDir() + "no-such-face.obj"},
                             {"take.trc", "--format", "gltf"},
                             {"take.trc", "--format", "gltf", "-o", "face.obj"},
                             {"take.trc", "--format", "xml", "-o", "face.gltf"},
                             {"take.trc", "--target", "nose=" + kNeutral},
                             {"take.trc", "--target", "open=" + testing::TempDir() + "no-such-shape.obj"}};
  for (const cli::Args& args : cases) {
    SCOPED_TRACE(args.empty() ? "no arguments" : args.back());
    std::ostringstream out, err;
    EXPECT_EQ(RunCli("face", args, out, err), cli::EXIT_USAGE);
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(err.str().find("mirova: "), std::string::npos);
  }
}

}  // namespace
