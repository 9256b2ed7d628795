// Channel keys derived from a tracker recording: a naive reference computation
// over a generated recording, and the edges where the derivation can go wrong.
#include "facetracker.h"

#include <gtest/gtest.h>
#include <headless.h>
#include <headless_host.h>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "mirovaobj.h"

namespace {

// The markers the derivation looks up, in its order.
const std::array<std::string, 13> kFace = {"lip_upper",     "lip_lower",      "lip_left",   "lip_right",
                                           "eyelid_left",   "eyelid_right",   "out_brow_left",
                                           "out_brow_right", "cheek_left",    "cheek_right",
                                           "squint_left",   "squint_right",   "in_brow_right"};
enum { UPPER, LOWER, LEFT, RIGHT, EYELID_L, EYELID_R, BROW_L, BROW_R, CHEEK_L, CHEEK_R, SQUINT_L, SQUINT_R, IN_BROW };

using Keys = std::vector<std::pair<TimeValue, float>>;
using PositionOf = std::function<Point2(int sample, int faceMarker)>;

struct Deleter {
  void operator()(Animatable* a) const { a->DeleteThis(); }
};

class ApplyTest : public testing::Test {
 protected:
  void TearDown() override { AnimateOff(); }

  // Fills the object's recording: nose_bridge, then the face markers in
  // reverse lookup order (the derivation must go by name), minus one if asked.
  void Record(const std::vector<TimeValue>& times, const PositionOf& at, const std::string& without = "") {
    std::vector<int> columns;  // face marker of each column after nose_bridge
    for (int f = 12; f >= 0; --f)
      if (kFace[f] != without) columns.push_back(f);
    TrackerData& data = obj->trackerInput.data;
    const int n = static_cast<int>(times.size());
    ASSERT_TRUE(data.Allocate(n, 1 + static_cast<int>(columns.size())));
    data.Marker(0).name = "nose_bridge";
    for (size_t c = 0; c < columns.size(); ++c) data.Marker(static_cast<int>(c) + 1).name = kFace[columns[c]].c_str();
    for (int s = 0; s < n; ++s) {
      data.sampleTimes[s] = times[s];
      data.Position(s, 0) = Point2(0.5f, 0.5f);
      for (size_t c = 0; c < columns.size(); ++c) data.Position(s, static_cast<int>(c) + 1) = at(s, columns[c]);
    }
  }

  Keys KeysOf(int param) {
    Keys keys;
    Control* c = obj->pblock->GetController(param);
    if (!c) return keys;
    for (int k = 0; k < c->NumKeys(); ++k) {
      const TimeValue t = c->GetKeyTime(k);
      float v = 0.0f;
      Interval valid = FOREVER;
      c->GetValue(t, &v, valid);
      keys.push_back({t, v});
    }
    return keys;
  }

  // The keyed value of param at each time, in order.
  std::vector<float> Values(int param) {
    std::vector<float> values;
    for (const auto& key : KeysOf(param)) values.push_back(key.second);
    return values;
  }

  std::vector<std::string> BoxTexts() {
    std::vector<std::string> texts;
    for (const auto& box : headless::MessageBoxes()) {
      EXPECT_EQ(box.owner, nullptr);
      EXPECT_FALSE(box.hasCaption);
      EXPECT_EQ(box.style, static_cast<UINT>(MB_OK));
      texts.push_back(box.text);
    }
    return texts;
  }

  headless::Host host;
  std::unique_ptr<ExpressionObject, Deleter> obj{new ExpressionObject};
};

std::vector<TimeValue> Times(int n, TimeValue step = 160) {
  std::vector<TimeValue> times;
  for (int s = 0; s < n; ++s) times.push_back(s * step);
  return times;
}

// --- the reference: the derivation written out plainly, channel by channel ---

struct ReferenceChannel {
  int param;
  std::function<float(const PositionOf&, int)> measure;
  bool inverted;
};

float Height(const PositionOf& at, int s, int marker) { return at(s, marker).y; }

std::vector<ReferenceChannel> ReferenceChannels() {
  auto height = [](int marker) {
    return [marker](const PositionOf& at, int s) { return Height(at, s, marker); };
  };
  return {
      {PB_MOUTH_VERTICAL, [](const PositionOf& at, int s) { return at(s, LOWER).y - at(s, UPPER).y; }, false},
      {PB_MOUTH_HORIZONTAL, [](const PositionOf& at, int s) { return at(s, RIGHT).x - at(s, LEFT).x; }, false},
      {PB_LEFT_EYELID, height(EYELID_L), true},   {PB_RIGHT_EYELID, height(EYELID_R), true},
      {PB_LEFT_EYEBROW, height(BROW_L), true},    {PB_RIGHT_EYEBROW, height(BROW_R), true},
      {PB_LEFT_CHEEK, height(CHEEK_L), true},     {PB_RIGHT_CHEEK, height(CHEEK_R), true},
      {PB_LEFT_SQUINT, height(SQUINT_L), true},   {PB_RIGHT_SQUINT, height(SQUINT_R), true},
      {PB_FROWN, height(IN_BROW), false},
  };
}

std::vector<float> ReferenceValues(const ReferenceChannel& c, const PositionOf& at, int n) {
  std::vector<float> measured;
  for (int s = 0; s < n; ++s) measured.push_back(c.measure(at, s));
  const float lo = *std::min_element(measured.begin(), measured.end());
  const float hi = *std::max_element(measured.begin(), measured.end());
  std::vector<float> values;
  for (float m : measured) {
    float v = (m - lo) / (hi - lo);
    if (c.inverted) v = 1.0f - v;
    values.push_back(v * v * (3.0f - 2.0f * v));
  }
  return values;
}

TEST_F(ApplyTest, MatchesPlainComputationOverGeneratedRecording) {
  const int n = 41;
  std::mt19937 rng(5);
  std::uniform_real_distribution<float> coordinate(0.0f, 1.0f);
  std::vector<std::array<Point2, 13>> table(n);
  for (auto& sample : table)
    for (Point2& p : sample) p = Point2(coordinate(rng), coordinate(rng));
  const PositionOf at = [&](int s, int f) { return table[s][f]; };
  // Uneven times, two samples inside one frame, and a negative start.
  std::vector<TimeValue> times;
  for (int s = 0; s < n; ++s) times.push_back(-300 + s * 97);
  Record(times, at);

  obj->trackerInput.Apply(obj.get());

  for (const ReferenceChannel& c : ReferenceChannels()) {
    SCOPED_TRACE(ChannelParamName(c.param));
    const Keys keys = KeysOf(c.param);
    const std::vector<float> expected = ReferenceValues(c, at, n);
    ASSERT_EQ(keys.size(), static_cast<size_t>(n));
    for (int s = 0; s < n; ++s) {
      EXPECT_EQ(keys[s].first, times[s]);
      EXPECT_NEAR(keys[s].second, expected[s], 1e-6f) << "sample " << s;
    }
  }
  for (const ExpressionChannel& c : expressionChannels) EXPECT_TRUE(KeysOf(c.scaleIndex).empty()) << c.scaleName;
}

TEST_F(ApplyTest, ExtremesOfEachMeasurementGiveZeroAndOne) {
  // Opening 0, 0.4, 0.1, 0.2, 0.3 of its range; the left eyelid highest in
  // sample 1; the inner right brow lowest in sample 3.
  const float openings[] = {0.1f, 0.5f, 0.2f, 0.3f, 0.4f};
  const float eyelid[] = {0.3f, 0.1f, 0.5f, 0.2f, 0.4f};
  const float inBrow[] = {0.2f, 0.3f, 0.1f, 0.6f, 0.4f};
  Record(Times(5), [&](int s, int f) {
    switch (f) {
      case UPPER: return Point2(0.5f, 0.1f);
      case LOWER: return Point2(0.5f, 0.1f + (openings[s] - 0.1f));
      case LEFT: return Point2(0.4f - 0.01f * s, 0.0f);
      case RIGHT: return Point2(0.6f + 0.01f * s, 0.0f);
      case EYELID_L: return Point2(0.0f, eyelid[s]);
      case IN_BROW: return Point2(0.0f, inBrow[s]);
      default: return Point2(0.0f, 0.1f * s);
    }
  });
  obj->trackerInput.Apply(obj.get());
  const std::vector<float> mouth = Values(PB_MOUTH_VERTICAL);
  ASSERT_EQ(mouth.size(), 5u);
  EXPECT_FLOAT_EQ(mouth[0], 0.0f);
  EXPECT_FLOAT_EQ(mouth[1], 1.0f);
  EXPECT_NEAR(mouth[2], 0.15625f, 1e-6f);
  EXPECT_NEAR(mouth[3], 0.5f, 1e-6f);
  EXPECT_NEAR(mouth[4], 0.84375f, 1e-6f);
  const std::vector<float> width = Values(PB_MOUTH_HORIZONTAL);
  EXPECT_FLOAT_EQ(width.front(), 0.0f);  // narrowest
  EXPECT_FLOAT_EQ(width.back(), 1.0f);   // widest
  const std::vector<float> leftEyelid = Values(PB_LEFT_EYELID);
  EXPECT_FLOAT_EQ(leftEyelid[1], 1.0f);  // highest in the image
  EXPECT_FLOAT_EQ(leftEyelid[2], 0.0f);  // lowest
  const std::vector<float> frown = Values(PB_FROWN);
  EXPECT_FLOAT_EQ(frown[3], 1.0f);  // inner brow lowest
  EXPECT_FLOAT_EQ(frown[2], 0.0f);
  // The other markers sink steadily: the first sample has them highest.
  for (int param : {14, 3, 15, 4, 16, 6, 17}) {
    SCOPED_TRACE(ChannelParamName(param));
    EXPECT_FLOAT_EQ(Values(param).front(), 1.0f);
    EXPECT_FLOAT_EQ(Values(param).back(), 0.0f);
  }
}

TEST_F(ApplyTest, MissingMarkerIsNamedAndNothingChanges) {
  AnimateOn();
  obj->pblock->SetValue(PB_SCALE_FROWN, 320, 0.25f);
  AnimateOff();
  const Keys before = KeysOf(PB_SCALE_FROWN);
  ASSERT_EQ(before.size(), 1u);
  {
    SCOPED_TRACE("no recording");
    obj->trackerInput.Apply(obj.get());
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Unable to find marker lip_upper"});
  }
  for (const std::string& missing : kFace) {
    SCOPED_TRACE(missing);
    headless::ResetRecords();
    Record(Times(3), [](int s, int f) { return Point2(0.1f * f, 0.1f * s); }, missing);
    obj->trackerInput.Apply(obj.get());
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Unable to find marker " + missing});
    EXPECT_EQ(KeysOf(PB_SCALE_FROWN), before);
    EXPECT_TRUE(KeysOf(PB_MOUTH_VERTICAL).empty());
  }
  EXPECT_TRUE(host.Progress().empty());
  EXPECT_FALSE(Animating());
}

TEST_F(ApplyTest, SwappedLipsAreReportedPerSampleWithTheirFrame) {
  struct Case {
    int fps;
    std::vector<std::string> messages;
  };
  // Swapped at ticks 49, 400 and 9600.
  const std::vector<TimeValue> times = {0, 49, 200, 400, 9600};
  const Case cases[] = {
      {30, {"Top and bottom lip markers swapped at frame 0", "Top and bottom lip markers swapped at frame 2",
            "Top and bottom lip markers swapped at frame 60"}},
      {25, {"Top and bottom lip markers swapped at frame 0", "Top and bottom lip markers swapped at frame 2",
            "Top and bottom lip markers swapped at frame 50"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fps);
    headless::ResetRecords();
    host.SetFrameRate(c.fps);
    Record(times, [](int s, int f) {
      const bool swapped = s == 1 || s == 3 || s == 4;
      if (f == UPPER) return Point2(0.5f, swapped ? 0.6f : 0.4f);
      if (f == LOWER) return Point2(0.5f, swapped ? 0.4f - 0.01f * s : 0.6f + 0.01f * s);
      return Point2(0.1f * s, 0.1f * s);
    });
    obj->trackerInput.Apply(obj.get());
    EXPECT_EQ(BoxTexts(), c.messages);
    // Swapped samples are normalised like the others: the most swapped is 0.
    const Keys mouth = KeysOf(PB_MOUTH_VERTICAL);
    ASSERT_EQ(mouth.size(), times.size());
    EXPECT_EQ(mouth[1].first, 49);
    EXPECT_FLOAT_EQ(mouth[4].second, 0.0f);
    EXPECT_FLOAT_EQ(mouth[2].second, 1.0f);
  }
}

TEST_F(ApplyTest, ReplacesEveryKeyOfAllParametersAndRepeatsExactly) {
  AnimateOn();
  for (int i = 0; i < NUM_CHANNEL_PARAMS; ++i) obj->pblock->SetValue(i, 7, 0.75f);  // by hand, off the samples
  AnimateOff();
  Record(Times(6), [](int s, int f) { return Point2(0.05f * f + 0.01f * s * s, 0.03f * f + 0.02f * (s % 3)); });
  obj->trackerInput.Apply(obj.get());
  std::vector<Keys> once;
  for (int i = 0; i < NUM_CHANNEL_PARAMS; ++i) once.push_back(KeysOf(i));
  obj->trackerInput.Apply(obj.get());
  for (int i = 0; i < NUM_CHANNEL_PARAMS; ++i) {
    SCOPED_TRACE(ChannelParamName(i));
    const Keys keys = KeysOf(i);
    EXPECT_EQ(keys, once[i]);
    const bool scale = (i >= 7 && i <= 13) || i >= 18;
    EXPECT_EQ(keys.size(), scale ? 0u : 6u);
    for (const auto& key : keys) EXPECT_NE(key.first, 7);
  }
}

TEST_F(ApplyTest, RestoresTheUsersAnimateMode) {
  Record(Times(2), [](int s, int f) { return Point2(0.1f * f * s, 0.2f * s); });
  for (bool animating : {false, true}) {
    SCOPED_TRACE(animating);
    animating ? AnimateOn() : AnimateOff();
    obj->trackerInput.Apply(obj.get());
    EXPECT_EQ(Animating() != FALSE, animating);
    EXPECT_EQ(KeysOf(PB_MOUTH_VERTICAL).size(), 2u);
  }
}

TEST_F(ApplyTest, ProgressApplyingInTwoHalves) {
  struct Case {
    int samples;
    std::vector<int> updates;
  };
  for (const Case& c : {Case{5, {10, 30, 50, 60, 80, 100}}, Case{4, {12, 37, 62, 87}}, Case{1, {50, 100}}}) {
    SCOPED_TRACE(c.samples);
    Record(Times(c.samples), [](int s, int f) { return Point2(0.1f * f, 0.1f * s); });
    const size_t before = host.Progress().size();
    obj->trackerInput.Apply(obj.get());
    ASSERT_EQ(host.Progress().size(), before + 1);
    const headless::ProgressRecord& bar = host.Progress().back();
    EXPECT_EQ(bar.title, "Applying...");
    EXPECT_TRUE(bar.barShown);
    EXPECT_EQ(bar.updates, c.updates);
    EXPECT_TRUE(bar.ended);
  }
}

TEST_F(ApplyTest, MeasurementThatNeverVariesRestsAtTheCreationValue) {
  for (int n : {1, 3}) {
    SCOPED_TRACE(n);
    // Every marker still, except the mouth opening in the three-sample take.
    Record(Times(n), [](int s, int f) { return Point2(0.3f + 0.01f * f, f == LOWER ? 0.5f + 0.1f * s : 0.05f * f); });
    obj->trackerInput.Apply(obj.get());
    for (const ExpressionChannel& c : expressionChannels) {
      const int param = c.percentIndex;
      SCOPED_TRACE(ChannelParamName(param));
      const std::vector<float> values = Values(param);
      ASSERT_EQ(values.size(), static_cast<size_t>(n));
      const float expected = (n == 3 && param == PB_MOUTH_VERTICAL) ? 1.0f : ChannelCreationValue(param);
      EXPECT_FLOAT_EQ(values.back(), expected);
    }
  }
}

TEST(ApplyWithoutHost, KeysWithoutProgressBar) {
  ASSERT_EQ(GetCOREInterface(), nullptr);
  std::unique_ptr<ExpressionObject, Deleter> obj(new ExpressionObject);
  TrackerData& data = obj->trackerInput.data;
  ASSERT_TRUE(data.Allocate(2, 13));
  for (int m = 0; m < 13; ++m) {
    data.Marker(m).name = kFace[m].c_str();
    for (int s = 0; s < 2; ++s) data.Position(s, m) = Point2(0.1f * s, 0.2f * s * (m + 1));
  }
  data.sampleTimes[1] = 4800;
  obj->trackerInput.Apply(obj.get());
  EXPECT_NE(obj->pblock->GetController(PB_FROWN), nullptr);
  AnimateOff();
}

}  // namespace
