// Keyframe and transform controllers of the stand-in host.
#include <gtest/gtest.h>
#include <headless_host.h>

#include <cmath>
#include <memory>

namespace {

struct Deleter {
  void operator()(Control* c) const { c->DeleteThis(); }
};
using ControlPtr = std::unique_ptr<Control, Deleter>;

float FloatAt(Control* c, TimeValue t, Interval* validOut = nullptr) {
  float v = 0;
  Interval valid = FOREVER;
  c->GetValue(t, &v, valid, CTRL_ABSOLUTE);
  if (validOut) *validOut = valid;
  return v;
}

class Controllers : public testing::Test {
 protected:
  void TearDown() override { AnimateOff(); }
  headless::Host host;
};

TEST_F(Controllers, AnimateModeDecidesBetweenKeyAndValue) {
  ControlPtr c(NewDefaultFloatController());
  float v = 2.0f;
  c->SetValue(100, &v);
  EXPECT_EQ(c->NumKeys(), 0);
  EXPECT_EQ(FloatAt(c.get(), 5000), 2.0f);

  AnimateOn();
  for (auto [t, value] : {std::pair<TimeValue, float>{0, 0.0f}, {320, 4.0f}, {160, 1.0f},
                          {320, 8.0f}}) {
    c->SetValue(t, &value);
  }
  ASSERT_EQ(c->NumKeys(), 3);  // a key at the same time is replaced
  EXPECT_EQ(c->GetKeyTime(0), 0);
  EXPECT_EQ(c->GetKeyTime(1), 160);
  EXPECT_EQ(c->GetKeyTime(2), 320);
  Interval valid;
  EXPECT_FLOAT_EQ(FloatAt(c.get(), 240, &valid), 4.5f);
  EXPECT_EQ(valid, Interval(240, 240));
  EXPECT_FLOAT_EQ(FloatAt(c.get(), 1000, &valid), 8.0f);
  EXPECT_EQ(valid, Interval(320, TIME_PosInfinity));

  AnimateOff();  // off animate mode a keyed track moves as a whole
  v = 2.0f;
  c->SetValue(160, &v);
  EXPECT_FLOAT_EQ(FloatAt(c.get(), 0), 1.0f);
  EXPECT_FLOAT_EQ(FloatAt(c.get(), 320), 9.0f);
}

TEST_F(Controllers, KeysAtTheEndsOfTimeInterpolate) {
  ControlPtr c(NewDefaultFloatController());
  AnimateOn();
  for (auto [t, value] : {std::pair<TimeValue, float>{TIME_NegInfinity, -1.0f}, {TIME_PosInfinity, 1.0f}})
    c->SetValue(t, &value);
  EXPECT_NEAR(FloatAt(c.get(), 0), 0.0f, 1e-6f);
  EXPECT_NEAR(FloatAt(c.get(), TIME_PosInfinity - 1), 1.0f, 1e-6f);
}

TEST_F(Controllers, DeletingAllKeysKeepsTheValueAtTheCurrentTime) {
  ControlPtr c(NewDefaultFloatController());
  AnimateOn();
  for (auto [t, value] : {std::pair<TimeValue, float>{0, 0.0f}, {100, 10.0f}}) c->SetValue(t, &value);
  host.SetTime(50);
  c->DeleteKeys(TRACK_DOSEL);  // nothing is selected
  EXPECT_EQ(c->NumKeys(), 2);
  c->DeleteKeys(TRACK_DOALL);
  EXPECT_EQ(c->NumKeys(), 0);
  EXPECT_FLOAT_EQ(FloatAt(c.get(), 0), 5.0f);
}

TEST_F(Controllers, TransformIsScaleThenRotationThenTranslation) {
  ControlPtr tm(NewDefaultMatrix3Controller());
  ASSERT_TRUE(tm->GetPositionController() && tm->GetRotationController() &&
              tm->GetScaleController());
  Point3 p(1, 2, 3);
  Quat q(AngAxis(Point3(0, 0, 1), -1.5707964f));  // clockwise by -90: +X onto +Y
  ScaleValue s(Point3(2, 2, 2));
  tm->GetPositionController()->SetValue(0, &p);
  tm->GetRotationController()->SetValue(0, &q);
  tm->GetScaleController()->SetValue(0, &s);
  Matrix3 m(1);
  Interval valid = FOREVER;
  tm->GetValue(0, &m, valid, CTRL_RELATIVE);
  Point3 x = Point3(1, 0, 0) * m;  // scaled to 2, turned onto +Y, moved
  EXPECT_NEAR(x.x, 1.0f, 1e-5f);
  EXPECT_NEAR(x.y, 4.0f, 1e-5f);
  EXPECT_NEAR(x.z, 3.0f, 1e-5f);
}

TEST_F(Controllers, RotationKeysInterpolateAlongTheShortArc) {
  ControlPtr c(NewDefaultRotationController());
  AnimateOn();
  Quat a(AngAxis(Point3(0, 0, 1), 0.0f)), b(AngAxis(Point3(0, 0, 1), 3.0f));
  c->SetValue(0, &a);
  c->SetValue(100, &b);
  Quat mid;
  Interval valid = FOREVER;
  c->GetValue(50, &mid, valid, CTRL_ABSOLUTE);
  EXPECT_TRUE(mid.Equals(Quat(AngAxis(Point3(0, 0, 1), 1.5f)), 1e-5f));
}

TEST_F(Controllers, CloneCopiesKeysAndSubControllers) {
  ControlPtr tm(NewDefaultMatrix3Controller());
  AnimateOn();
  Point3 p(5, 0, 0);
  tm->GetPositionController()->SetValue(160, &p);
  ControlPtr copy(static_cast<Control*>(NoRemap().CloneRef(tm.get())));
  ASSERT_NE(copy->GetPositionController(), tm->GetPositionController());
  EXPECT_EQ(copy->GetPositionController()->NumKeys(), 1);
  tm->DeleteKeys(TRACK_DOALL);
  EXPECT_EQ(copy->GetPositionController()->NumKeys(), 1);
}

}  // namespace
