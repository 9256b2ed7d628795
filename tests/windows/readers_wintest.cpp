// What differs on Windows in the readers: the C runtime's text mode hides
// which line feeds were CR LF pairs, so progress counts a pair as one byte
// until the end of the file, where the stream's position makes it exact.
// (On Linux every pair counts two: KuperReadTest.ProgressIsPositionOverSize-
// AfterEverySample, which the Windows run leaves out for CR LF.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text_file.h"
#include "tzkuperdata.h"

namespace {

class Fractions final : public MotionProgress {
 public:
  void SetProgress(float fraction) override { values.push_back(fraction); }
  std::vector<float> values;
};

TEST(WindowsReaderProgress, RisesAndEndsAtTheFileSize) {
  struct Case {
    const char* name;
    std::string text;
    bool endsAtOne;
  } const cases[] = {
      {"LF", "Axes = VTrack\n10\n200\n3.5\n", false},
      {"CR LF", "Axes = VTrack\r\n10\r\n200\r\n3.5\r\n", false},
      {"LF, no final line feed", "Axes = VTrack\n10\n200\n3.5", true},
      {"CR LF, no final line feed", "Axes = VTrack\r\n10\r\n200\r\n3.5", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    text_file::TempFile file(c.text);
    MotionData data;
    Fractions progress;
    ASSERT_EQ(data.Read(file.get(), &progress), 1);
    ASSERT_EQ(data.Count(), 3);
    EXPECT_EQ(data.GetSample(2).GetValue(AXIS_TRACK), 3.5f);
    ASSERT_EQ(progress.values.size(), 3u);
    for (size_t i = 1; i < progress.values.size(); ++i) EXPECT_LT(progress.values[i - 1], progress.values[i]);
    if (c.endsAtOne) {
      EXPECT_EQ(progress.values.back(), 1.0f);
    } else {
      EXPECT_LT(progress.values.back(), 1.0f);
      EXPECT_GT(progress.values.back(), 0.8f);
    }
  }
}

// The position the LF file gives is exact, as on Linux.
TEST(WindowsReaderProgress, LfFileGivesPositionOverSize) {
  const std::string text = "Axes = VTrack\n10\n200\n";
  text_file::TempFile file(text);
  MotionData data;
  Fractions progress;
  ASSERT_EQ(data.Read(file.get(), &progress), 1);
  ASSERT_EQ(progress.values.size(), 2u);
  EXPECT_FLOAT_EQ(progress.values[0], 16.0f / text.size());
  EXPECT_FLOAT_EQ(progress.values[1], 20.0f / text.size());
}

}  // namespace
