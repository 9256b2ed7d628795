// A recording read from a file goes straight into a record made for the rows
// the file can hold; read through a pipe it is staged. Both must give the same
// record, whichever way the file ends: the positions of a recording cut short
// close up marker by marker.
#include <gtest/gtest.h>
#include <headless.h>

#include <string>
#include <vector>

#include "ftdata.h"
#include "tracker_text.h"

namespace {

using tracker_text::FilePosition;
using tracker_text::Row;

const int kMarkers = 4;

// Sample s of marker m sits at a position no other entry has.
FilePosition PositionOf(int s, int m) { return {0.001f * static_cast<float>(s), 0.5f + 0.1f * m}; }

std::vector<std::string> Names() { return {"nose_bridge", "lip_upper", "lip_lower", "cheek_left"}; }

std::vector<Row> Rows(int samples) {
  std::vector<Row> rows;
  for (int s = 0; s < samples; ++s) {
    Row row{static_cast<float>(s) / 30.0f, {}};
    for (int m = 0; m < kMarkers; ++m) row.markers.push_back(PositionOf(s, m));
    rows.push_back(row);
  }
  return rows;
}

// The record as positions, times and valid counts, to compare two reads.
struct Record {
  int samples = 0;
  std::vector<float> values;
  std::vector<int> times, valid;
};

Record Take(const TrackerData& data) {
  Record r;
  r.samples = data.SampleCount();
  for (int m = 0; m < data.MarkerCount(); ++m) {
    r.valid.push_back(data.Marker(m).validCount);
    for (int s = 0; s < data.SampleCount(); ++s) {
      r.values.push_back(data.Position(s, m).x);
      r.values.push_back(data.Position(s, m).y);
    }
  }
  for (int s = 0; s < data.SampleCount(); ++s) r.times.push_back(data.SampleTime(s));
  return r;
}

class TrackerDirectRead : public testing::Test {
 protected:
  void SetUp() override { headless::ResetRecords(); }
};

TEST_F(TrackerDirectRead, FileAndPipeGiveTheSameRecordHoweverTheFileEnds) {
  const std::string whole = tracker_text::Recording(Names(), Rows(40));
  const std::string header = tracker_text::Header(40, kMarkers);
  struct Case {
    const char* name;
    std::string text;
    int samples;  // kept
  };
  const size_t row30 = whole.find("\n30\t") + 1;
  const Case cases[] = {
      {"whole", whole, 40},
      {"cut inside row 30", whole.substr(0, row30 + 12), 30},
      {"cut after row 30", whole.substr(0, row30), 30},
      {"claims far more rows than it holds",
       tracker_text::Header(1000000, kMarkers) + whole.substr(header.size()), 40},
      {"a row without a valid time is left out", tracker_text::WithColumn(whole, 3 + 5, 1, "soon"), 39},
      {"a missing field repeats the position before", tracker_text::WithColumn(
           tracker_text::WithColumn(tracker_text::WithColumn(whole, 3 + 7, 5, ""), 3 + 7, 6, ""), 3 + 7, 7, ""),
       40},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TrackerData data;
    tracker_text::TempFile file(c.text);
    data.Read(file.get());
    const Record fromFile = Take(data);
    text_file::PipeFile pipe(c.text);
    ASSERT_NE(pipe.get(), nullptr);
    data.Read(pipe.get());
    const Record fromPipe = Take(data);
    EXPECT_EQ(fromFile.samples, c.samples);
    EXPECT_EQ(fromFile.samples, fromPipe.samples);
    EXPECT_EQ(fromFile.values, fromPipe.values);
    EXPECT_EQ(fromFile.times, fromPipe.times);
    EXPECT_EQ(fromFile.valid, fromPipe.valid);
  }
}

TEST_F(TrackerDirectRead, EveryMarkerOfARecordingCutShortKeepsItsOwnPositions) {
  const std::string whole = tracker_text::Recording(Names(), Rows(40));
  for (int kept : {1, 2, 17, 39}) {
    SCOPED_TRACE(kept);
    const size_t cut = whole.find("\n" + std::to_string(kept) + "\t") + 1;
    tracker_text::TempFile file(whole.substr(0, cut));
    TrackerData data;
    EXPECT_FALSE(data.Read(file.get()));
    ASSERT_EQ(data.SampleCount(), kept);
    for (int m = 0; m < kMarkers; ++m)
      for (int s = 0; s < kept; ++s) {
        const FilePosition p = PositionOf(s, m);
        ASSERT_EQ(data.Position(s, m).x, p.horizontal) << "marker " << m << ", sample " << s;
        ASSERT_EQ(data.Position(s, m).y, p.vertical) << "marker " << m << ", sample " << s;
      }
  }
}

TEST_F(TrackerDirectRead, AFileReadFromItsMiddleIsBoundedByWhatIsLeft) {
  // A stream handed over part-way: the rows left are read, the bytes before
  // them count for nothing.
  const std::string recording = tracker_text::Recording(Names(), Rows(12));
  tracker_text::TempFile file(std::string(5000, '#') + recording);
  ASSERT_EQ(std::fseek(file.get(), 5000, SEEK_SET), 0);
  TrackerData data;
  EXPECT_TRUE(data.Read(file.get()));
  EXPECT_EQ(data.SampleCount(), 12);
  EXPECT_EQ(data.Position(11, 3).x, PositionOf(11, 3).horizontal);
}

}  // namespace
