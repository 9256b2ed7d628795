#include "tzkuperdata.h"

#include <gtest/gtest.h>
#include <headless.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "text_file.h"

namespace {

// A sample as {axis, value} pairs; unnamed axes must be 0.
using Values = std::vector<std::pair<MotionAxis, float>>;

struct ReadCase {
  const char* name;
  std::string text;  // LF line ends; each case also runs with CR LF
  int result;
  std::vector<Values> samples;
  std::string message;  // the one box expected, empty for none
  int faultLine;        // where the read failed; 0 for none
};

using text_file::TempFile;
using text_file::WithCrLf;

class RecordingProgress final : public MotionProgress {
 public:
  void SetProgress(float fraction) override { fractions.push_back(fraction); }
  std::vector<float> fractions;
};

std::string Padded(const std::string& head, size_t width, const std::string& tail) {
  return head + std::string(width - head.size() - tail.size(), ' ') + tail;
}

// A take of one axis whose sample i holds i, one a line.
std::string Ramp(int samples) {
  std::string text = "Axes = VTrack\n";
  for (int i = 0; i < samples; ++i) text += std::to_string(i) + "\n";
  return text;
}

class KuperReadTest : public ::testing::Test {
 protected:
  void TearDown() override { SetMotionCapacityLimit(-1); }

  int ReadText(const std::string& text, MotionProgress* progress = nullptr) {
    TempFile file(text);
    return data.Read(file.get(), progress);
  }

  void ExpectOutcome(const ReadCase& c, const std::string& text) {
    headless::ResetRecords();
    EXPECT_EQ(ReadText(text), c.result);
    ASSERT_EQ(data.Count(), static_cast<int>(c.samples.size()));
    for (size_t i = 0; i < c.samples.size(); ++i) {
      float expected[AXIS_COUNT] = {};
      for (const auto& [axis, value] : c.samples[i]) expected[axis] = value;
      for (int axis = 0; axis < AXIS_COUNT; ++axis) {
        EXPECT_EQ(data.GetSample(static_cast<int>(i)).GetValue(axis), expected[axis])
            << "sample " << i << " axis " << motionAxisLabels[axis];
      }
    }
    EXPECT_EQ(data.fault.line, c.faultLine);
    EXPECT_EQ(data.fault.Found(), c.result == 0);
    const auto& boxes = headless::MessageBoxes();
    if (c.message.empty()) {
      EXPECT_TRUE(boxes.empty());
      return;
    }
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, c.message);
    EXPECT_EQ(boxes[0].owner, nullptr);
    EXPECT_TRUE(boxes[0].hasCaption);
    EXPECT_EQ(boxes[0].caption, "TzMotionControl");
    EXPECT_EQ(boxes[0].style, static_cast<UINT>(MB_OK));
  }

  MotionData data;
};

const char kNotKuper[] = "Not a Kuper ASCII File";
const char kNoLabels[] = "No data labels after \"Axes = \"";
const char kNul[] = "NUL character among the data labels";
const Values kTrack1Pan2 = {{AXIS_TRACK, 1}, {AXIS_PAN, 2}};
const Values kTrack3Pan4 = {{AXIS_TRACK, 3}, {AXIS_PAN, 4}};
const std::string kTwoSamples = "Axes = VTrack VPan\n1 2\n3 4\n";

const std::vector<ReadCase>& ReadCases() {
  static const std::vector<ReadCase> cases = {
      {"empty file", "", 0, {}, kNotKuper, 1},
      {"prefix in other case", "axes = VTrack\n1\n", 0, {}, kNotKuper, 1},
      {"prefix without blank", "Axes= VTrack\n1\n", 0, {}, kNotKuper, 1},
      {"header only", "Axes = VTrack VPan\n", 1, {}, "", 0},
      {"header without line feed", "Axes = VTrack VPan", 1, {}, "", 0},
      {"two samples", kTwoSamples, 1, {kTrack1Pan2, kTrack3Pan4}, "", 0},
      {"no final line feed", "Axes = VTrack VPan\n1 2\n3 4", 1, {kTrack1Pan2, kTrack3Pan4}, "", 0},
      {"trailing blanks", "Axes = VTrack VPan\n1 2\n3 4  \n\n \t\n", 1, {kTrack1Pan2, kTrack3Pan4}, "", 0},
      {"line breaks carry no meaning", "Axes = VTrack VPan\n1\n2 3\n\n4\n", 1, {kTrack1Pan2, kTrack3Pan4}, "", 0},
      {"bare comma between labels", "Axes = VTrack,VPan\n1 2\n", 1, {kTrack1Pan2}, "", 0},
      {"comma with spaces between labels", "Axes = VTrack , VPan\n1 2\n", 1, {kTrack1Pan2}, "", 0},
      {"every axis in shuffled order", "Axes = VRoll FOCUS VTilt VTrack VNS VEW VPan\n1 2 3 4 5 6 7\n", 1,
       {{{AXIS_ROLL, 1}, {AXIS_FOCUS, 2}, {AXIS_TILT, 3}, {AXIS_TRACK, 4}, {AXIS_NORTH_SOUTH, 5},
         {AXIS_EAST_WEST, 6}, {AXIS_PAN, 7}}}, "", 0},
      // A label named twice gives two columns; the later one's value is kept.
      {"label named twice", "Axes = VPan VTrack VPan\n1 2 3\n", 1, {{{AXIS_PAN, 3}, {AXIS_TRACK, 2}}}, "", 0},
      {"seven labels repeat one", "Axes = VPan VPan VPan VPan VPan VPan VPan\n1 2 3 4 5 6 7\n", 1,
       {{{AXIS_PAN, 7}}}, "", 0},
      {"eight labels overflow the columns", "Axes = VPan VPan VPan VPan VPan VPan VPan VPan\n1 2 3 4 5 6 7 8\n", 0,
       {}, "More than seven data labels", 1},
      // A NUL would end the labels early and move the numbers onto other axes.
      {"NUL between labels", std::string("Axes = VTrack\0 VPan\n1 2\n", 24), 0, {}, kNul, 1},
      {"NUL ends the header line", std::string("Axes = VTrack VPan\0\n1 2\n", 24), 0, {}, kNul, 1},
      {"NUL before the prefix", std::string("\0Axes = VTrack\n1\n", 17), 0, {}, kNotKuper, 1},
      {"no labels", "Axes = \n1 2\n", 0, {}, kNoLabels, 1},
      {"only separators", "Axes = , ,,\n1 2\n", 0, {}, kNoLabels, 1},
      {"no labels at end of file", "Axes = ", 0, {}, kNoLabels, 1},
      {"label in other case quoted as written", "Axes = VTrack vtrack\n1 2\n", 0, {}, "Unknown data label: vtrack", 1},
      {"tab is no separator", "Axes = VTrack\tVPan\n1 2\n", 0, {}, "Unknown data label: VTrack\tVPan", 1},
      {"lone CR stays in the label", "Axes = VTrack\rVPan\n1 2\n", 0, {}, "Unknown data label: VTrack\rVPan", 1},
      {"lone CR at end of file", "Axes = VTrack\r", 0, {}, "Unknown data label: VTrack\r", 1},
      {"lone CR between numbers", "Axes = VTrack VPan\n1\r2\n", 1, {kTrack1Pan2}, "", 0},
      {"five numbers for two labels", kTwoSamples + "5\n", 0, {kTrack1Pan2, kTrack3Pan4}, "", 4},
      {"cut short, then blank lines to the end", kTwoSamples + "\n5\n\n", 0, {kTrack1Pan2, kTrack3Pan4}, "", 6},
      {"comma between numbers", "Axes = VTrack VPan\n1 2\n3,4\n", 0, {kTrack1Pan2}, "", 3},
      {"text among numbers", "Axes = VTrack VPan\n1 2\nVTrack 4\n", 0, {kTrack1Pan2}, "", 3},
      // A sample is refused unless every number is finite and decimal.
      {"not a number", kTwoSamples + "5 nan\n", 0, {kTrack1Pan2, kTrack3Pan4}, "", 4},
      {"infinity", kTwoSamples + "inf 6\n", 0, {kTrack1Pan2, kTrack3Pan4}, "", 4},
      {"negative infinity", kTwoSamples + "-INFINITY 6\n", 0, {kTrack1Pan2, kTrack3Pan4}, "", 4},
      {"beyond a float", kTwoSamples + "5\n1e39\n", 0, {kTrack1Pan2, kTrack3Pan4}, "", 5},
      {"below a float", kTwoSamples + "5 -3.5e38\n", 0, {kTrack1Pan2, kTrack3Pan4}, "", 4},
      {"hexadecimal", kTwoSamples + "0x1p3 6\n", 0, {kTrack1Pan2, kTrack3Pan4}, "", 4},
      {"exponent without digits", kTwoSamples + "5 6e\n", 0, {kTrack1Pan2, kTrack3Pan4}, "", 4},
      {"NUL in a number", kTwoSamples + std::string("5\0 6\n", 5), 0, {kTrack1Pan2, kTrack3Pan4}, "", 4},
      {"first sample refused", "Axes = VTrack VPan\n\n\nnan 2\n3 4\n", 0, {}, "", 4},
      {"extremes of a float", "Axes = VTrack VPan\n3.4028235e38 -1e-45\n", 1,
       {{{AXIS_TRACK, 3.4028235e38f}, {AXIS_PAN, -1e-45f}}}, "", 0},
      // The header line holds 255 characters; the rest of a longer line is data.
      {"label ends at character 255", Padded("Axes = VTrack", 255, "VPan") + "\n1 2\n", 1, {kTrack1Pan2}, "", 0},
      {"line feed as character 255", Padded("Axes = VTrack", 254, "VPan") + "\n1 2\n", 1, {kTrack1Pan2}, "", 0},
      {"label cut at character 255", Padded("Axes = VTrack", 256, "VPan") + "\n1 2\n", 0, {},
       "Unknown data label: VPa", 1},
      {"label after character 255 is data", Padded("Axes = VTrack", 255, "") + "VPan\n1\n", 0, {}, "", 1},
  };
  return cases;
}

TEST_F(KuperReadTest, ReadsLfAndCrLfFilesAlike) {
  for (const ReadCase& c : ReadCases()) {
    SCOPED_TRACE(c.name);
    {
      SCOPED_TRACE("LF");
      ExpectOutcome(c, c.text);
    }
    {
      SCOPED_TRACE("CR LF");
      ExpectOutcome(c, WithCrLf(c.text));
    }
  }
}

TEST_F(KuperReadTest, FaultSaysWhatAndWhere) {
  struct Case {
    const char* name;
    std::string text;
    int line, sample;
    std::string what;
  };
  const std::string head = "Axes = VTrack VPan\r\n1 2\r\n";
  const Case cases[] = {
      {"not a number, CR LF", head + "3 nan\r\n", 3, 1, "Sample 1, VPan: \"nan\" is not a finite number"},
      {"beyond a float, second line of a sample", head + "3\r\n1e39\r\n", 4, 1,
       "Sample 1, VPan: \"1e39\" is not a finite number"},
      {"bytes that do not print", head + std::string("\x01\0\xff 4", 6), 3, 1,
       "Sample 1, VTrack: \"\\x01\\x00\\xFF\" is not a finite number"},
      {"long word cut", head + std::string(300, '7') + "x 4", 3, 1,
       "Sample 1, VTrack: \"" + std::string(32, '7') + "...\" is not a finite number"},
      {"cut short", head + "3", 3, 1, "The file ends inside sample 1, after 1 of its 2 numbers"},
      {"unknown label", "Axes = VTrack q\n", 1, -1, "Unknown data label: q"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ReadText(c.text), 0);
    EXPECT_EQ(data.fault.line, c.line);
    EXPECT_EQ(data.fault.sample, c.sample);
    EXPECT_EQ(data.fault.marker, -1);
    EXPECT_EQ(std::string(data.fault.what), c.what);
  }
  ASSERT_EQ(ReadText(head), 1);
  EXPECT_FALSE(data.fault.Found());
}

// Doubling keeps a long take linear on allocators whose realloc copies.
TEST_F(KuperReadTest, CapacityDoublesKeepingSamples) {
  const std::pair<int, int> samplesAndCapacity[] = {{1, 100}, {100, 100}, {101, 200}, {201, 400}, {801, 1600}};
  for (const auto& [samples, capacity] : samplesAndCapacity) {
    SCOPED_TRACE(samples);
    ASSERT_EQ(ReadText(Ramp(samples)), 1);
    EXPECT_EQ(data.count, samples);
    EXPECT_EQ(data.capacity, capacity);
    for (int i = 0; i < samples; ++i) ASSERT_EQ(data.GetSample(i).GetValue(AXIS_TRACK), i);
  }
}

TEST_F(KuperReadTest, FailedReadStartsFromEmptyRecord) {
  ASSERT_EQ(ReadText("Axes = VTrack\n1\n2\n"), 1);
  EXPECT_EQ(ReadText("junk\n"), 0);
  EXPECT_EQ(data.count, 0);
  EXPECT_EQ(data.capacity, 0);
  EXPECT_EQ(data.samples, nullptr);
}

TEST_F(KuperReadTest, ProgressIsPositionOverSizeAfterEverySample) {
  const std::vector<std::string> numbers = {"10", "200", "3.5", "-4", "5e1"};
  for (bool crlf : {false, true}) {
    SCOPED_TRACE(crlf ? "CR LF" : "LF");
    const std::string lineEnd = crlf ? "\r\n" : "\n";
    std::string text = "Axes = VTrack" + lineEnd;
    std::vector<size_t> endOfSample;
    for (const std::string& n : numbers) {
      text += n;
      endOfSample.push_back(text.size());
      text += lineEnd;
    }
    RecordingProgress progress;
    ASSERT_EQ(ReadText(text, &progress), 1);
    ASSERT_EQ(progress.fractions.size(), numbers.size());
    for (size_t i = 0; i < numbers.size(); ++i) {
      EXPECT_FLOAT_EQ(progress.fractions[i], static_cast<float>(static_cast<double>(endOfSample[i]) / text.size()));
    }
  }
}

TEST_F(KuperReadTest, ProgressReachesOneWithoutFinalLineFeed) {
  RecordingProgress progress;
  ASSERT_EQ(ReadText("Axes = VTrack VPan\n1 2\n3 4", &progress), 1);
  ASSERT_EQ(progress.fractions.size(), 2u);
  EXPECT_LT(progress.fractions[0], progress.fractions[1]);
  EXPECT_EQ(progress.fractions[1], 1.0f);
}

// When doubling finds no memory the array still grows by 100, so "Out of
// memory after N samples" means that not even 100 more fit.
TEST_F(KuperReadTest, OutOfMemoryKeepsSamplesReadAndSaysSo) {
  struct Case {
    int limit, samples, kept;
  };
  for (const Case& c : {Case{150, 250, 100}, Case{350, 400, 300}}) {
    SCOPED_TRACE(c.limit);
    headless::ResetRecords();
    SetMotionCapacityLimit(c.limit);
    EXPECT_EQ(ReadText(Ramp(c.samples)), 0);
    EXPECT_EQ(data.count, c.kept);
    EXPECT_EQ(data.capacity, c.kept);
    EXPECT_EQ(data.GetSample(c.kept - 1).GetValue(AXIS_TRACK), c.kept - 1);
    const auto& boxes = headless::MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Out of memory after " + std::to_string(c.kept) + " samples");
    EXPECT_EQ(boxes[0].caption, "TzMotionControl");
    EXPECT_EQ(boxes[0].owner, nullptr);
    EXPECT_EQ(data.fault.line, c.kept + 2);
    EXPECT_EQ(data.fault.sample, c.kept);
  }
}

TEST_F(KuperReadTest, FailedGrowLeavesArrayUntouched) {
  ASSERT_TRUE(data.Grow(2, true));
  data.samples[0].values[AXIS_PAN] = 5;
  data.count = 1;
  MotionSample* before = data.samples;
  SetMotionCapacityLimit(2);
  EXPECT_FALSE(data.Grow(1, true));
  EXPECT_TRUE(data.Append(MotionSample()));
  EXPECT_FALSE(data.Append(MotionSample()));
  EXPECT_EQ(data.samples, before);
  EXPECT_EQ(data.capacity, 2);
  EXPECT_EQ(data.count, 2);
  EXPECT_EQ(data.GetSample(0).GetValue(AXIS_PAN), 5);
  EXPECT_TRUE(data.Grow(0, true));
}

TEST_F(KuperReadTest, GrowZeroesAllButTheCountedRecords) {
  ASSERT_TRUE(data.Grow(2, true));
  data.samples[0].values[AXIS_TILT] = 5;
  data.samples[1].values[AXIS_TILT] = 9;
  data.count = 1;
  ASSERT_TRUE(data.Grow(1, true));
  EXPECT_EQ(data.capacity, 3);
  EXPECT_EQ(data.samples[0].values[AXIS_TILT], 5);
  EXPECT_EQ(data.samples[1].values[AXIS_TILT], 0);
  ASSERT_TRUE(data.Grow(1, false));
  EXPECT_EQ(data.capacity, 4);
  EXPECT_EQ(data.count, 1);
  EXPECT_EQ(data.samples[0].values[AXIS_TILT], 0);
}

TEST_F(KuperReadTest, IndexOutsideAssertsAndReadsZero) {
  ASSERT_EQ(ReadText("Axes = VPan\n7\n"), 1);
  EXPECT_EQ(data.GetSample(1).GetValue(AXIS_PAN), 0.0f);
  EXPECT_EQ(data.GetSample(0).GetValue(AXIS_COUNT), 0.0f);
  EXPECT_EQ(data.GetSample(0).GetValue(-1), 0.0f);
  const auto& reports = headless::AssertReports();
  ASSERT_EQ(reports.size(), 3u);
  for (const auto& report : reports) {
    EXPECT_NE(report.file.find("tzkuperdata.cpp"), std::string::npos) << report.file;
    EXPECT_GT(report.line, 0);
  }
}

TEST_F(KuperReadTest, BundledDollyTakeReads) {
  const std::string path = std::string(MIROVA_SOURCE_DIR) + "/examples/dolly.asc";
  FILE* file = fopen(path.c_str(), "rt");
  ASSERT_NE(file, nullptr) << path;
  EXPECT_EQ(data.Read(file, nullptr), 1);
  fclose(file);
  EXPECT_EQ(data.Count(), 120);
  EXPECT_TRUE(headless::MessageBoxes().empty());
  EXPECT_GT(data.GetSample(119).GetValue(AXIS_TRACK), data.GetSample(0).GetValue(AXIS_TRACK));
}

}  // namespace
