// mirova inspect FILE.trc and mirova face FILE.trc, called as the command line
// calls them.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "cli.h"
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
  const int status = cli::RunInspect(args, out, err);
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
       "Unexpected end of file in the tracker header\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CliRun run = InspectTracker(c.text, c.raw);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.out, c.json);
    EXPECT_EQ(run.err, c.err);
  }
}

TEST(InspectTracker, UsageErrors) {
  for (const cli::Args& args : {cli::Args{"take.trc", "--rawer"}, cli::Args{"take.trc", "--raw", "x"},
                                cli::Args{"take.asc", "--raw"}, cli::Args{"--raw", "take.trc"}}) {
    SCOPED_TRACE(args.back());
    std::ostringstream out, err;
    EXPECT_EQ(cli::RunInspect(args, out, err), cli::EXIT_USAGE);
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(err.str().find("mirova inspect FILE.trc [--raw]"), std::string::npos);
  }
}

}  // namespace
