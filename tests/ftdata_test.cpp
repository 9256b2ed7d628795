#include "ftdata.h"

#include <gtest/gtest.h>
#include <headless.h>
#include <headless_host.h>

#include <string>
#include <vector>

#include "tracker_text.h"

namespace {

using tracker_text::FilePosition;
using tracker_text::Recording;
using tracker_text::Row;
using tracker_text::TempFile;
using tracker_text::WithColumn;

std::vector<std::string> BoxTexts() {
  std::vector<std::string> texts;
  for (const auto& box : headless::MessageBoxes()) {
    EXPECT_EQ(box.owner, nullptr) << box.text;
    EXPECT_FALSE(box.hasCaption) << box.text;
    EXPECT_EQ(box.style, static_cast<UINT>(MB_OK)) << box.text;
    texts.push_back(box.text);
  }
  return texts;
}

// What a read must leave: per sample its time and each marker's (x, y).
struct Expected {
  std::vector<std::string> names;
  std::vector<int> valid;
  std::vector<int> times;
  std::vector<std::vector<Point2>> positions;  // [sample][marker]
};

struct ReadCase {
  const char* name;
  std::string text;
  bool whole;
  Expected expected;  // empty names: the record must be empty
  std::vector<std::string> messages;
  int faultLine;  // of the first fault; 0 for none
};

const std::vector<std::string> kNames = {"nose_bridge", "lip upper"};
const std::vector<Row> kRows = {
    {0.0f, {FilePosition{0.5f, 0.5f}, FilePosition{0.4f, 0.3f}}},
    {0.0104f, {FilePosition{0.5f, 0.5f}, std::nullopt}},
    {1.0f, {FilePosition{0.25f, 0.75f}, FilePosition{0.6f, 0.7f}}},
};
const std::string kGood = Recording(kNames, kRows);
const Expected kGoodRecord = {kNames,
                              {3, 2},
                              {0, 49, 4800},
                              {{{0.5f, 0.5f}, {0.3f, 0.4f}},
                               {{0.5f, 0.5f}, {0.3f, 0.4f}},
                               {{0.75f, 0.25f}, {0.7f, 0.6f}}}};
const Expected kFirstTwoSamples = {kNames, {2, 1}, {0, 49}, {kGoodRecord.positions[0], kGoodRecord.positions[1]}};

// kGood up to the start of sample row s (0-based), plus extra.
std::string GoodUpToRow(int s, const std::string& extra) {
  size_t at = 0;
  for (int line = 0; line < 5 + s; ++line) at = kGood.find('\n', at) + 1;
  return kGood.substr(0, at) + extra;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return text.replace(at, from.size(), to);
}

const char kEndInHeader[] = "Unexpected end of file in the tracker header";

const std::vector<ReadCase>& ReadCases() {
  const std::string head = "one\ntwo\n";
  const std::string word259(259, 'w');
  static const std::vector<ReadCase> cases = {
      {"well formed, missing marker repeats, name with a space", kGood, true, kGoodRecord, {}, 0},
      {"marker missing until sample 2 sits at the origin",
       Recording({"late"}, {{0, {std::nullopt}}, {0.5f, {std::nullopt}}, {1, {FilePosition{1, 2}}}}), true,
       {{"late"}, {1}, {0, 2400, 4800}, {{{0, 0}}, {{0, 0}}, {{2, 1}}}}, {}, 0},
      {"negative time and lone CR kept in a name",
       Recording({"a\rb"}, {{-0.5f, {FilePosition{1, 2}}}}), true, {{"a\rb"}, {1}, {-2400}, {{{2, 1}}}}, {}, 0},
      {"empty file", "", false, {}, {kEndInHeader}, 1},
      {"ends in line 2", "one\ntwo", false, {}, {kEndInHeader}, 2},
      {"ends before the counts", head + "Samples Markers\n", false, {}, {kEndInHeader}, 3},
      {"ends after the counts", head + "Samples Markers 1 1", false, {}, {kEndInHeader}, 3},
      {"counts are not numbers", head + "Samples Markers three 2\n", false, {},
       {"Sample and marker counts expected in line 3"}, 3},
      {"count beyond int", head + "Samples Markers 99999999999 1\n", false, {},
       {"Sample and marker counts expected in line 3"}, 3},
      {"zero samples", Replaced(kGood, "Markers 3 2", "Markers 0 2"), false, {},
       {"Invalid counts in the tracker header: 0 samples, 2 markers"}, 3},
      {"negative markers", Replaced(kGood, "Markers 3 2", "Markers 3 -2"), false, {},
       {"Invalid counts in the tracker header: 3 samples, -2 markers"}, 3},
      {"counts no record can hold", Replaced(kGood, "Markers 3 2", "Markers 2000000000 2000000000"), false,
       {}, {"The tracker header claims 2000000000 samples of 2000000000 markers, more than a recording can hold"},
       3},
      // The rows bear out the counts: a file with fewer keeps the whole ones.
      {"more samples claimed than the file holds", Replaced(kGood, "Markers 3 2", "Markers 100000000 2"), false,
       {kNames, kGoodRecord.valid, kGoodRecord.times, kGoodRecord.positions},
       {"Unexpected end of file: 3 of 100000000 samples read"}, 8},
      {"more markers claimed than the file holds", Replaced(kGood, "Markers 3 2", "Markers 3 2000000"), false, {},
       {"The marker names end early in line 4"}, 4},
      {"word of 259 characters fits", Replaced(kGood, "Samples", word259), true, kGoodRecord, {}, 0},
      {"word of 260 characters refused", Replaced(kGood, "Samples", word259 + "w"), false, {},
       {"Word longer than 259 characters in line 3"}, 3},
      {"name of 259 characters fits", Replaced(kGood, "lip upper", std::string(259, 'n')), true,
       {{"nose_bridge", std::string(259, 'n')}, kGoodRecord.valid, kGoodRecord.times, kGoodRecord.positions},
       {}, 0},
      {"name of 260 characters refused", Replaced(kGood, "lip upper", std::string(260, 'n')), false, {},
       {"Marker name longer than 259 characters in line 4"}, 4},
      {"name row shorter than the count", Replaced(kGood, "lip upper\t\t\t", ""), false, {},
       {"The marker names end early in line 4"}, 4},
      {"ends inside a name", kGood.substr(0, kGood.find("lip up") + 6), false, {},
       {"Unexpected end of file in the marker names"}, 4},
      {"ends before the first sample", GoodUpToRow(0, ""), false, {},
       {"Unexpected end of file: 0 of 3 samples read"}, 5},
      {"ends inside the first sample", GoodUpToRow(0, "0\t0\t0.5"), false, {},
       {"Unexpected end of file: 0 of 3 samples read"}, 6},
      {"ends inside the last sample keeps the whole ones", GoodUpToRow(2, "2\t1\t0.25\t0.75\t1\t0.6"), false,
       kFirstTwoSamples, {"Unexpected end of file: 2 of 3 samples read"}, 8},
      {"ends between the fields of the last sample", GoodUpToRow(2, "2\t1\t0.25\t0.75\t1"), false,
       kFirstTwoSamples, {"Unexpected end of file: 2 of 3 samples read"}, 8},
      // A sample without a usable time is left out; the next one reads on.
      {"time that is not a number", Replaced(kGood, "\t0.0104\t", "\tlate\t"), false,
       {kNames, {2, 2}, {0, 4800}, {kGoodRecord.positions[0], kGoodRecord.positions[2]}},
       {"Invalid sample time in line 7: the sample is left out"}, 7},
      {"time beyond the tick range", Replaced(kGood, "2\t1\t", "2\t1e9\t"), false, kFirstTwoSamples,
       {"Invalid sample time in line 8: the sample is left out"}, 8},
      {"invalid time, then the file ends", GoodUpToRow(2, "2\tlate\n"), false, kFirstTwoSamples,
       {"Invalid sample time in line 8: the sample is left out", "Unexpected end of file: 2 of 3 samples read"}, 8},
      // A blank takes the place of the first field's tab; the first marker
      // repeats its last position, the second takes the shifted numbers, and
      // only the first fault is reported.
      {"field without its tab, twice",
       Replaced(Replaced(kGood, "0.0104\t0.5", "0.0104 \t0.5"), "1\t0.25", "1 \t0.25"), false,
       {kNames, {1, 3}, {0, 49, 4800},
        {{{0.5f, 0.5f}, {0.3f, 0.4f}}, {{0.5f, 0.5f}, {0.5f, 0.5f}}, {{0.5f, 0.5f}, {0.75f, 0.25f}}}},
       {"Malformed data of marker nose_bridge in line 7: its last position is repeated"}, 7},
      {"number that does not parse",
       Replaced(kGood, "0.6\t0.7", "0.6\tseven"), false,
       {kNames, {3, 1}, {0, 49, 4800},
        {kGoodRecord.positions[0], kGoodRecord.positions[1], {{0.75f, 0.25f}, {0.3f, 0.4f}}}},
       {"Malformed data of marker lip upper in line 8: its last position is repeated"}, 8},
  };
  return cases;
}

class TrackerReadTest : public ::testing::Test {
 protected:
  bool ReadText(const std::string& text) {
    TempFile file(text);
    return data.Read(file.get());
  }

  void ExpectRecord(const Expected& e) {
    ASSERT_EQ(data.MarkerCount(), static_cast<int>(e.names.size()));
    ASSERT_EQ(data.SampleCount(), static_cast<int>(e.times.size()));
    if (e.names.empty()) {
      EXPECT_EQ(data.markers, nullptr);
      EXPECT_EQ(data.positions, nullptr);
      EXPECT_EQ(data.sampleTimes, nullptr);
      return;
    }
    for (int m = 0; m < data.MarkerCount(); ++m) {
      EXPECT_EQ(std::string(data.Marker(m).name), e.names[m]);
      EXPECT_EQ(data.Marker(m).validCount, e.valid[m]) << "marker " << m;
    }
    for (int s = 0; s < data.SampleCount(); ++s) {
      EXPECT_EQ(data.SampleTime(s), e.times[s]) << "sample " << s;
      for (int m = 0; m < data.MarkerCount(); ++m) {
        EXPECT_EQ(data.Position(s, m), e.positions[s][m]) << "sample " << s << " marker " << m;
      }
    }
  }

  headless::Host host;
  TrackerData data;
};

TEST_F(TrackerReadTest, ReadsLfAndCrLfFilesAlike) {
  for (const ReadCase& c : ReadCases()) {
    SCOPED_TRACE(c.name);
    for (bool crlf : {false, true}) {
      SCOPED_TRACE(crlf ? "CR LF" : "LF");
      headless::ResetRecords();
      ASSERT_TRUE(data.Allocate(4, 4));  // a previous recording, always replaced
      EXPECT_EQ(ReadText(crlf ? tracker_text::WithCrLf(c.text) : c.text), c.whole);
      ExpectRecord(c.expected);
      EXPECT_EQ(BoxTexts(), c.messages);
      EXPECT_EQ(data.fault.line, c.faultLine);
      ASSERT_FALSE(host.Progress().empty());
      EXPECT_TRUE(host.Progress().back().ended);
    }
  }
}

// What a read left, to compare two reads.
struct Snapshot {
  std::vector<std::string> names;
  std::vector<int> valid, times;
  std::vector<Point2> positions;  // marker by marker
};

Snapshot Take(const TrackerData& data) {
  Snapshot shot;
  for (int m = 0; m < data.MarkerCount(); ++m) {
    shot.names.push_back(data.Marker(m).name.data());
    shot.valid.push_back(data.Marker(m).validCount);
    for (int s = 0; s < data.SampleCount(); ++s) shot.positions.push_back(data.Position(s, m));
  }
  for (int s = 0; s < data.SampleCount(); ++s) shot.times.push_back(data.SampleTime(s));
  return shot;
}

void ExpectSame(const Snapshot& a, const Snapshot& b) {
  EXPECT_EQ(a.names, b.names);
  EXPECT_EQ(a.valid, b.valid);
  EXPECT_EQ(a.times, b.times);
  EXPECT_EQ(a.positions, b.positions);
}

const std::vector<std::string> kThree = {"nose_bridge", "lip upper", "chin"};

// Three samples of three markers, every one present and every value its own.
std::vector<Row> ThreeRows() {
  std::vector<Row> rows;
  for (int s = 0; s < 3; ++s) {
    Row row{0.25f * s, {}};
    for (int m = 0; m < 3; ++m) row.markers.push_back(FilePosition{0.1f * s + 0.01f * m, 0.5f + 0.1f * s - 0.01f * m});
    rows.push_back(row);
  }
  return rows;
}

const char* const kBadValues[] = {"nan", "-inf", "1e39", "abc", "0.5#", "-", "1e", "0x1p3", "\x01", "1\xff"};

// One value that is not a finite decimal number costs its own field: the
// file reads exactly as if that marker were missing in that sample, whichever
// field of the row and whichever of its three values it is.
TEST_F(TrackerReadTest, BadValueReadsAsAMissingMarker) {
  const std::vector<Row> rows = ThreeRows();
  const std::string text = Recording(kThree, rows);
  for (auto [sample, marker] : {std::pair{0, 0}, std::pair{1, 1}, std::pair{2, 2}, std::pair{1, 0}}) {
    std::vector<Row> missing = rows;
    missing[sample].markers[marker] = std::nullopt;
    ASSERT_TRUE(ReadText(Recording(kThree, missing)));
    const Snapshot expected = Take(data);
    for (int value = 0; value < 3; ++value) {
      for (const char* bad : kBadValues) {
        for (bool crlf : {false, true}) {
          SCOPED_TRACE(testing::Message() << "sample " << sample << " marker " << marker << " value " << value
                                          << " " << bad << (crlf ? " CR LF" : " LF"));
          headless::ResetRecords();
          const std::string spoiled = WithColumn(text, 5 + sample, 2 + 3 * marker + value, bad);
          EXPECT_FALSE(ReadText(crlf ? tracker_text::WithCrLf(spoiled) : spoiled));
          ExpectSame(Take(data), expected);
          EXPECT_EQ(data.fault.line, 6 + sample);
          EXPECT_EQ(data.fault.sample, sample);
          EXPECT_EQ(data.fault.marker, marker);
          EXPECT_EQ(BoxTexts().size(), 1u);
        }
      }
    }
  }
}

// A sample whose time cannot be kept is left out; every other value reads as
// if its row were not there.
TEST_F(TrackerReadTest, BadTimeLeavesOutItsSampleOnly) {
  const std::vector<Row> rows = ThreeRows();
  const std::string text = Recording(kThree, rows);
  for (int sample = 0; sample < 3; ++sample) {
    std::vector<Row> others = rows;
    others.erase(others.begin() + sample);
    ASSERT_TRUE(ReadText(Recording(kThree, others)));
    const Snapshot expected = Take(data);
    for (const char* bad : {"nan", "1e39", "1e9", "late", "0.5#"}) {
      for (bool crlf : {false, true}) {
        SCOPED_TRACE(testing::Message() << "sample " << sample << " " << bad << (crlf ? " CR LF" : " LF"));
        headless::ResetRecords();
        const std::string spoiled = WithColumn(text, 5 + sample, 1, bad);
        EXPECT_FALSE(ReadText(crlf ? tracker_text::WithCrLf(spoiled) : spoiled));
        ExpectSame(Take(data), expected);
        EXPECT_EQ(data.fault.line, 6 + sample);
        EXPECT_EQ(data.fault.sample, sample);
        EXPECT_EQ(data.fault.marker, -1);
      }
    }
  }
}

TEST_F(TrackerReadTest, FaultSaysWhatAndWhere) {
  struct Case {
    const char* name;
    std::string text;
    int line, sample, marker;
    std::string what;
  };
  const std::string text = Recording(kThree, ThreeRows());
  const Case cases[] = {
      {"value", WithColumn(text, 6, 6, "nan"), 7, 1, 1,
       "Sample 1, marker lip upper: \"nan\" is not a finite number; its last position is repeated"},
      {"field without its tab", WithColumn(text, 7, 4, "1 "), 8, 2, 1,
       "Sample 2, marker lip upper: the field does not begin with a tab; its last position is repeated"},
      {"time", WithColumn(text, 5, 1, "1e39"), 6, 0, -1, "Sample 0: \"1e39\" is no valid time; the sample is left out"},
      {"time beyond the ticks", WithColumn(text, 6, 1, "-1e6"), 7, 1, -1,
       "Sample 1: \"-1e6\" is no valid time; the sample is left out"},
      {"the first of two faults", WithColumn(WithColumn(text, 7, 10, "x"), 6, 1, "y"), 7, 1, -1,
       "Sample 1: \"y\" is no valid time; the sample is left out"},
      {"end of file", text.substr(0, text.size() - 3), 8, 2, -1, "Unexpected end of file: 2 of 3 samples read"},
      {"header", Replaced(text, "Markers 3 3", "Markers 3 x"), 3, -1, -1, "Sample and marker counts expected"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(ReadText(c.text));
    EXPECT_EQ(data.fault.line, c.line);
    EXPECT_EQ(data.fault.sample, c.sample);
    EXPECT_EQ(data.fault.marker, c.marker);
    EXPECT_EQ(std::string(data.fault.what), c.what);
  }
  ASSERT_TRUE(ReadText(text));
  EXPECT_FALSE(data.fault.Found());
}

// Standard input or a FIFO cannot be measured before reading: whatever its
// header claims, a stream reads as the same file does, and memory follows
// the rows it holds.
TEST_F(TrackerReadTest, PipeReadsAsTheSameFile) {
  const std::string claims = Replaced(kGood, "Markers 3 2", "Markers 100000000 2");
  const std::string texts[] = {kGood, claims, Replaced(kGood, "Markers 3 2", "Markers 1 2000000000"),
                               Replaced(kGood, "Markers 3 2", "Markers 1000000 2000"), GoodUpToRow(1, "1\t0")};
  for (const std::string& text : texts) {
    SCOPED_TRACE(text.substr(0, text.find('\n', text.find("Markers"))));
    headless::ResetRecords();
    const bool fromFile = ReadText(text);
    const Snapshot file = Take(data);
    const std::vector<std::string> fileBoxes = BoxTexts();
    const int fileLine = data.fault.line;
    headless::ResetRecords();
    text_file::PipeFile pipe(text);
    ASSERT_NE(pipe.get(), nullptr);
    EXPECT_EQ(data.Read(pipe.get()), fromFile);
    ExpectSame(Take(data), file);
    EXPECT_EQ(BoxTexts(), fileBoxes);
    EXPECT_EQ(data.fault.line, fileLine);
  }
}

TEST_F(TrackerReadTest, ProgressLoadingAfterEverySecondSample) {
  struct Case {
    int samples;
    std::vector<int> updates;
  };
  for (const Case& c : {Case{1, {100}}, Case{4, {25, 75}}, Case{5, {20, 60, 100}}, Case{3, {33, 100}}}) {
    SCOPED_TRACE(c.samples);
    std::vector<Row> rows(static_cast<size_t>(c.samples), Row{0, {FilePosition{0, 0}}});
    const size_t before = host.Progress().size();
    ASSERT_TRUE(ReadText(Recording({"m"}, rows)));
    ASSERT_EQ(host.Progress().size(), before + 1);
    const headless::ProgressRecord& bar = host.Progress().back();
    EXPECT_EQ(bar.title, "Loading...");
    EXPECT_TRUE(bar.barShown);
    EXPECT_EQ(bar.updates, c.updates);
    EXPECT_TRUE(bar.ended);
  }
}

TEST(TrackerReadWithoutHost, ReadsWithoutProgressBar) {
  ASSERT_EQ(GetCOREInterface(), nullptr);
  TrackerData data;
  TempFile file(kGood);
  EXPECT_TRUE(data.Read(file.get()));
  EXPECT_EQ(data.SampleCount(), 3);
}

TEST(TrackerAllocate, RefusesCountsItCannotHold) {
  struct Case {
    const char* name;
    int samples, markers;
  };
  for (const Case& c : {Case{"zero samples", 0, 3}, Case{"zero markers", 3, 0}, Case{"negative", -1, 3},
                        Case{"product beyond int", 65536, 32768}}) {
    SCOPED_TRACE(c.name);
    TrackerData data;
    ASSERT_TRUE(data.Allocate(2, 2));
    EXPECT_FALSE(data.Allocate(c.samples, c.markers));
    EXPECT_EQ(data.SampleCount(), 0);
    EXPECT_EQ(data.MarkerCount(), 0);
    EXPECT_EQ(data.positions, nullptr);
  }
}

TEST(TrackerAllocate, StartsEveryEntryAtZero) {
  TrackerData data;
  ASSERT_TRUE(data.Allocate(3, 2));
  for (int m = 0; m < 2; ++m) {
    EXPECT_TRUE(data.Marker(m).name.isNull());
    EXPECT_EQ(data.Marker(m).validCount, 0);
    for (int s = 0; s < 3; ++s) EXPECT_EQ(data.Position(s, m), Point2(0, 0));
  }
  for (int s = 0; s < 3; ++s) EXPECT_EQ(data.SampleTime(s), 0);
}

TEST(TrackerAccess, IndexOutsideAssertsWithoutTouchingTheRecord) {
  TrackerData data;
  ASSERT_TRUE(data.Allocate(2, 2));
  data.Position(1, 1) = Point2(7, 8);
  for (auto [s, m] : {std::pair{2, 0}, std::pair{-1, 0}, std::pair{0, 2}, std::pair{0, -1}}) {
    SCOPED_TRACE(testing::Message() << s << "," << m);
    const size_t reports = headless::AssertReports().size();
    data.Position(s, m) = Point2(9, 9);
    EXPECT_EQ(headless::AssertReports().size(), reports + 1);
  }
  EXPECT_EQ(data.Position(1, 1), Point2(7, 8));
  EXPECT_EQ(data.Position(0, 0), Point2(0, 0));
  EXPECT_EQ(data.SampleTime(5), 0);
  EXPECT_TRUE(data.Marker(9).name.isNull());
}

TEST(TrackerFindMarker, ExactCaseSensitiveFirstMatch) {
  headless::Host host;
  TrackerData data;
  EXPECT_EQ(data.FindMarker("nose_bridge"), -1);
  TempFile file(Recording({"Nose", "nose_bridge", "nose_bridge", "nose_bridge "},
                          {{0, {std::nullopt, std::nullopt, std::nullopt, std::nullopt}}}));
  ASSERT_TRUE(data.Read(file.get()));
  EXPECT_EQ(data.FindMarker("nose_bridge"), 1);
  EXPECT_EQ(data.FindMarker("Nose_Bridge"), -1);
  EXPECT_EQ(data.FindMarker("nose"), -1);
  EXPECT_EQ(data.FindMarker("nose_bridge "), 3);
}

class TrackerStabiliseTest : public TrackerReadTest {};

TEST_F(TrackerStabiliseTest, MovesEveryMarkerIntoTheReferenceFrame) {
  ASSERT_TRUE(ReadText(Recording({"eye", "nose_bridge"},
                                 {{0, {FilePosition{0.6f, 0.7f}, FilePosition{0.5f, 0.5f}}},
                                  {1, {FilePosition{0.25f, 0.5f}, FilePosition{0.5f, 0.75f}}}})));
  data.Stabilise("nose_bridge");
  EXPECT_TRUE(headless::MessageBoxes().empty());
  for (int s = 0; s < 2; ++s) EXPECT_EQ(data.Position(s, 1), Point2(0.5f, 0.5f)) << s;
  EXPECT_NEAR(data.Position(0, 0).x, 0.3f, 1e-6f);
  EXPECT_NEAR(data.Position(0, 0).y, 0.6f, 1e-6f);
  // The head moved right and up; the eye kept its place relative to it.
  EXPECT_EQ(data.Position(1, 0), Point2(0.75f, 0.25f));
}

TEST_F(TrackerStabiliseTest, MissingReferenceLeavesPositionsAsRead) {
  ASSERT_TRUE(ReadText(kGood));
  data.Stabilise("Nose_Bridge");
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Unable to find inertial marker in data"});
  ExpectRecord(kGoodRecord);

  TrackerData empty;
  empty.Stabilise("nose_bridge");
  EXPECT_EQ(headless::MessageBoxes().size(), 2u);
}

TEST(TrackerDescribe, ListsUpToThreeSamplesOfPresentMarkers) {
  headless::Host host;
  struct Case {
    const char* name;
    int samples;
    std::string text;
  };
  const std::string head = "-- FaceTracker Data --\r\nSamples: ";
  const Case cases[] = {
      {"four samples", 4,
       head + "4 Markers: 2\r\nMarker 1: nose_bridge Valid: 4\r\nTime     Position"
              "\r\n0  (0.500000, 0.250000)\r\n4800  (0.500000, 0.250000)\r\n9600  (0.500000, 0.250000)"
              "\r\nMarker 2: ghost Valid: 0"},
      {"one sample", 1,
       head + "1 Markers: 2\r\nMarker 1: nose_bridge Valid: 1\r\nTime     Position"
              "\r\n0  (0.500000, 0.250000)\r\nMarker 2: ghost Valid: 0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<Row> rows;
    for (int s = 0; s < c.samples; ++s)
      rows.push_back({static_cast<float>(s), {FilePosition{0.25f, 0.5f}, std::nullopt}});
    TrackerData data;
    TempFile file(Recording({"nose_bridge", "ghost"}, rows));
    ASSERT_TRUE(data.Read(file.get()));
    EXPECT_EQ(std::string(data.Describe()), c.text);
  }
  TrackerData empty;
  EXPECT_EQ(std::string(empty.Describe()), head + "0 Markers: 0");
}

}  // namespace
