// Evaluation of the expression object against a naive reference blend, and
// its edge cases: inverted channels, validity, locks, missing and short
// targets.
#include <gtest/gtest.h>
#include <headless.h>
#include <headless_host.h>
#include <standard_geometry.h>
#include <triobj.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "change_listener.h"
#include "mirovaobj.h"

namespace {

using Points = std::vector<Point3>;

// The blend as one would write it down, in double precision: every point
// starts at the Neutral's and moves by each channel's weight times the
// target's difference from the Neutral.
Points ReferenceBlend(const Points& neutral, const std::vector<Points>& targets, const Matrix3 offsets[12],
                      const float params[22]) {
  auto transform = [](const Point3& p, const Matrix3& m) {
    double out[3];
    for (int c = 0; c < 3; ++c)
      out[c] = double(p.x) * m[0][c] + double(p.y) * m[1][c] + double(p.z) * m[2][c] + m[3][c];
    return std::vector<double>{out[0], out[1], out[2]};
  };
  const int percent[11] = {0, 1, 2, 3, 4, 5, 6, 14, 15, 16, 17};
  const int scale[11] = {7, 8, 9, 10, 11, 12, 13, 18, 19, 20, 21};
  const bool openness[11] = {false, true, true, false, false, false, false, true, false, false, false};
  Points result;
  for (size_t k = 0; k < neutral.size(); ++k) {
    std::vector<double> base = transform(neutral[k], offsets[0]), point = base;
    for (int c = 0; c < 11; ++c) {
      if (targets[c + 1].empty()) continue;
      double p = params[percent[c]];
      double w = params[scale[c]] * (openness[c] ? 1.0 - p : p);
      std::vector<double> shape = transform(targets[c + 1][k], offsets[c + 1]);
      for (int i = 0; i < 3; ++i) point[i] += w * (shape[i] - base[i]);
    }
    result.emplace_back(float(point[0]), float(point[1]), float(point[2]));
  }
  return result;
}

TriObject* MeshOf(const Points& points) {
  TriObject* tri = CreateNewTriObject();
  tri->mesh.setNumVerts(static_cast<int>(points.size()));
  for (size_t i = 0; i < points.size(); ++i) tri->mesh.setVert(static_cast<int>(i), points[i]);
  return tri;
}

SprayObject* SprayOf(const Points& points) {
  auto* spray = new SprayObject(static_cast<int>(points.size()));
  for (size_t i = 0; i < points.size(); ++i) spray->SetPoint(static_cast<int>(i), points[i]);
  return spray;
}

Points PointsOf(Object* obj) {
  Points points;
  for (int i = 0; i < obj->NumPoints(); ++i) points.push_back(obj->GetPoint(i));
  return points;
}

void ExpectNear(const Points& actual, const Points& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t k = 0; k < actual.size(); ++k) {
    float tolerance = 1e-4f * (1.0f + expected[k].Length());
    ASSERT_TRUE(actual[k].Equals(expected[k], tolerance))
        << "point " << k << ": (" << actual[k].x << ", " << actual[k].y << ", " << actual[k].z << ") vs ("
        << expected[k].x << ", " << expected[k].y << ", " << expected[k].z << ")";
  }
}

class EvalTest : public testing::Test {
 protected:
  void SetUp() override { obj = new ExpressionObject; }
  void TearDown() override {
    if (obj) obj->DeleteThis();
    AnimateOff();
  }
  // Makes target i a mesh of points (or a particle set, read point by point).
  void Assign(int i, const Points& points, bool asMesh = true) {
    obj->ReplaceReference(i + 1, asMesh ? static_cast<Object*>(MeshOf(points)) : SprayOf(points));
  }
  void Set(int param, float value) { obj->pblock->SetValue(param, 0, value); }
  Points EvalPoints(TimeValue t = 0) { return PointsOf(obj->Eval(t).obj); }

  headless::Host host;
  ExpressionObject* obj = nullptr;
};

Matrix3 RandomTransform(std::mt19937& rng) {
  std::uniform_real_distribution<float> angle(-3.0f, 3.0f), size(0.5f, 2.0f), move(-10.0f, 10.0f);
  return ScaleMatrix(Point3(size(rng), size(rng), size(rng))) * RotateXMatrix(angle(rng)) *
         RotateZMatrix(angle(rng)) * TransMatrix(Point3(move(rng), move(rng), move(rng)));
}

TEST_F(EvalTest, MatchesTheReferenceBlend) {
  struct Case {
    unsigned seed;
    int points;
    bool offsets;        // random offset transforms, or identities
    bool meshes;         // targets and Neutral as meshes, or read point by point
    unsigned assigned;   // bit j: target j assigned
  } cases[] = {
      {1, 1, false, true, 0xffe}, {2, 50, false, true, 0xffe}, {3, 50, true, true, 0xffe},
      {4, 200, true, true, 0x5a4}, {5, 37, true, false, 0xffe}, {6, 37, false, false, 0x00a},
      {7, 0, true, true, 0xffe},  {8, 120, true, true, 0x000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "seed " << c.seed);
    std::mt19937 rng(c.seed);
    std::uniform_real_distribution<float> coordinate(-50.0f, 50.0f), factor(-1.5f, 2.5f);
    auto randomPoints = [&] {
      Points p(static_cast<size_t>(c.points));
      for (Point3& q : p) q = Point3(coordinate(rng), coordinate(rng), coordinate(rng));
      return p;
    };
    Points neutral = randomPoints();
    std::vector<Points> targets(12);
    Matrix3 offsets[12];
    for (int j = 0; j < 12; ++j) {
      offsets[j] = c.offsets ? RandomTransform(rng) : Matrix3(1);
      obj->targets[j].offsetTM = offsets[j];
      obj->ReplaceReference(j + 1, nullptr);
      if (j > 0 && (c.assigned & (1u << j))) {
        targets[j] = randomPoints();
        Assign(j, targets[j], c.meshes);
      }
    }
    Assign(0, neutral, c.meshes);
    // Weights negative, above 100 %, and exactly zero for some channels.
    float params[22];
    for (int i = 0; i < 22; ++i) {
      params[i] = i % 5 == 4 ? 0.0f : factor(rng);
      Set(i, params[i]);
    }
    ExpectNear(EvalPoints(), ReferenceBlend(neutral, targets, offsets, params));
    // The Neutral itself is never written.
    EXPECT_EQ(PointsOf(obj->targets[0].object), neutral);
  }
}

TEST_F(EvalTest, AtCreationValuesEveryTargetIsAtRest) {
  Points neutral = {Point3(1, 2, 3), Point3(-1, 0, 4)};
  Assign(0, neutral);
  for (int j = 1; j < 12; ++j) Assign(j, {Point3(9, 9, 9), Point3(8, 8, 8)});
  obj->targets[0].offsetTM = TransMatrix(Point3(0, 0, 10));
  EXPECT_EQ(EvalPoints(), (Points{Point3(1, 2, 13), Point3(-1, 0, 14)}));
}

TEST_F(EvalTest, EachChannelDrivesItsTargetAndThreeAreInverted) {
  Assign(0, {Point3(0, 0, 0)});
  for (int c = 0; c < 11; ++c) {
    const ExpressionChannel& channel = expressionChannels[c];
    SCOPED_TRACE(channel.name);
    const std::string name = channel.name;
    bool openness = name == "Mouth Horizontal" || name == "Left Eyelid" || name == "Right Eyelid";
    EXPECT_EQ(IsInvertedChannel(c), openness);
    EXPECT_EQ(channel.target, c + 1);
    for (int j = 1; j < 12; ++j) obj->ReplaceReference(j + 1, nullptr);
    Assign(channel.target, {Point3(1, 0, 0)});
    for (int i = 0; i < 22; ++i) Set(i, ChannelCreationValue(i));
    Set(channel.scaleIndex, 1.0f);
    for (float percent : {0.0f, 1.0f}) {
      Set(channel.percentIndex, percent);
      float expected = openness ? 1.0f - percent : percent;
      EXPECT_EQ(EvalPoints()[0].x, expected) << "at " << percent * 100 << " %";
    }
  }
}

TEST_F(EvalTest, WeightIsPercentageTimesScaleUnclamped) {
  Assign(0, {Point3(0, 0, 0), Point3(0, 0, 0)});
  Assign(TARGET_LEFT_EYELID, {Point3(1, 0, 0), Point3(0, 0, 0)});
  Assign(TARGET_FROWN, {Point3(0, 1, 0), Point3(0, 0, 0)});
  Assign(TARGET_OPEN, {Point3(0, 0, 1), Point3(0, 0, 2)});
  Assign(TARGET_LEFT_CHEEK, {Point3(0, 0, 1), Point3(0, 0, 0)});
  struct Case {
    const char* name;
    std::vector<std::pair<int, float>> params;
    Point3 first, second;
  } cases[] = {
      {"eyelid at 30 % applies 70 %", {{PB_LEFT_EYELID, 0.3f}}, Point3(0.7f, 0, 0), Point3()},
      {"frown at 100 % has half strength", {{PB_FROWN, 1.0f}}, Point3(0, 0.5f, 0), Point3()},
      {"50 % at a scale of 200 % is the whole target",
       {{PB_MOUTH_VERTICAL, 0.5f}, {PB_SCALE_MOUTH_VERTICAL, 2.0f}}, Point3(0, 0, 1), Point3(0, 0, 2)},
      {"a scale of 0 switches the channel off", {{PB_MOUTH_VERTICAL, 1.0f}, {PB_SCALE_MOUTH_VERTICAL, 0.0f}},
       Point3(), Point3()},
      {"a negative scale moves away", {{PB_MOUTH_VERTICAL, 1.0f}, {PB_SCALE_MOUTH_VERTICAL, -1.0f}},
       Point3(0, 0, -1), Point3(0, 0, -2)},
      {"above 100 % goes past the target", {{PB_MOUTH_VERTICAL, 1.5f}}, Point3(0, 0, 1.5f), Point3(0, 0, 3)},
      {"two channels moving one point add up", {{PB_MOUTH_VERTICAL, 1.0f}, {PB_LEFT_CHEEK, 1.0f}},
       Point3(0, 0, 2), Point3(0, 0, 2)},
      {"an unassigned target does nothing even at 100 %", {{PB_RIGHT_SQUINT, 1.0f}}, Point3(), Point3()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (int i = 0; i < 22; ++i) Set(i, ChannelCreationValue(i));
    for (const auto& p : c.params) Set(p.first, p.second);
    Points result = EvalPoints();
    EXPECT_TRUE(result[0].Equals(c.first)) << result[0].x << " " << result[0].y << " " << result[0].z;
    EXPECT_TRUE(result[1].Equals(c.second));
  }
}

TEST_F(EvalTest, AnimatedChannelsAreReadAtTheGivenTime) {
  Assign(0, {Point3(0, 0, 0)});
  Assign(TARGET_OPEN, {Point3(4, 0, 0)});
  AnimateOn();
  Set(PB_MOUTH_VERTICAL, 0.0f);
  obj->pblock->SetValue(PB_MOUTH_VERTICAL, 100, 1.0f);
  AnimateOff();
  EXPECT_FLOAT_EQ(EvalPoints(25)[0].x, 1.0f);
  EXPECT_FLOAT_EQ(EvalPoints(100)[0].x, 4.0f);
}

TEST_F(EvalTest, ResultHoldsForItsInstantOnlyAndIsLocked) {
  Assign(0, {Point3(1, 1, 1)});
  ObjectState os = obj->Eval(480);
  ASSERT_NE(os.obj, nullptr);
  EXPECT_EQ(os.obj, obj->cache.obj);
  EXPECT_EQ(os.obj->ClassID(), triObjectClassID);
  EXPECT_EQ(os.Validity(480), Interval(480, 480));
  EXPECT_FALSE(os.Validity(480).InInterval(481));
  EXPECT_EQ(obj->ObjectValidity(480), Interval(480, 480));
  EXPECT_TRUE(os.obj->IsObjectLocked());
  EXPECT_TRUE(os.obj->GetChannelLocks() & GEOM_CHANNEL);
  EXPECT_NE(os.obj, obj->targets[0].object);
  // The next evaluation replaces the result (the old one is freed).
  ObjectState next = obj->Eval(481);
  EXPECT_EQ(next.obj, obj->cache.obj);
  EXPECT_EQ(next.Validity(481), Interval(481, 481));
}

TEST_F(EvalTest, DependentsHearOfEveryEvaluation) {
  Assign(0, {Point3()});
  auto* listener = new ChangeListener(obj);
  obj->Eval(0);
  obj->Eval(0);
  EXPECT_EQ(listener->changes, 2);
  delete listener;  // its reference was the object's last: the object goes too
  obj = nullptr;
}

TEST_F(EvalTest, WithoutANeutralTheResultIsAnEmptyMeshAndAnAssertion) {
  Assign(TARGET_OPEN, {Point3(1, 0, 0)});
  Set(PB_MOUTH_VERTICAL, 1.0f);
  for (TimeValue t : {0, 160}) {
    SCOPED_TRACE(t);
    ObjectState os = obj->Eval(t);
    ASSERT_NE(os.obj, nullptr);
    EXPECT_EQ(os.obj->ClassID(), triObjectClassID);
    EXPECT_EQ(os.obj->NumPoints(), 0);
    EXPECT_EQ(os.Validity(t), Interval(t, t));
  }
  ASSERT_EQ(headless::AssertReports().size(), 2u);
  EXPECT_EQ(headless::AssertReports()[0].file, "mirovaobj");
  // A fresh clone has no Neutral either.
  auto* copy = static_cast<ExpressionObject*>(obj->Clone(NoRemap()));
  EXPECT_EQ(copy->Eval(0).obj->NumPoints(), 0);
  copy->DeleteThis();
}

TEST_F(EvalTest, TargetWithFewerPointsThanTheNeutralIsLeftOut) {
  Assign(0, {Point3(), Point3(), Point3()});
  Assign(TARGET_OPEN, {Point3(1, 0, 0), Point3(1, 0, 0)});             // short
  Assign(TARGET_LEFT_CHEEK, {Point3(0, 1, 0), Point3(0, 1, 0), Point3(0, 1, 0), Point3(5, 5, 5)});  // long
  Set(PB_MOUTH_VERTICAL, 1.0f);
  Set(PB_LEFT_CHEEK, 1.0f);
  EXPECT_EQ(EvalPoints(), (Points{Point3(0, 1, 0), Point3(0, 1, 0), Point3(0, 1, 0)}));
  EXPECT_TRUE(headless::AssertReports().empty());
}

// An unlocked Neutral that evaluates to itself is still not the result's to
// change or to delete.
TEST_F(EvalTest, UnlockedNeutralIsNeitherMovedNorDeleted) {
  Assign(0, {Point3(1, 2, 3)});
  Assign(TARGET_OPEN, {Point3(5, 5, 5)});
  Object* neutral = obj->targets[0].object;
  neutral->UnlockObject();
  Set(PB_MOUTH_VERTICAL, 1.0f);
  for (int i = 0; i < 2; ++i) EXPECT_EQ(EvalPoints(), (Points{Point3(5, 5, 5)}));
  EXPECT_EQ(obj->targets[0].object, neutral);
  EXPECT_EQ(PointsOf(neutral), (Points{Point3(1, 2, 3)}));
}

TEST_F(EvalTest, WeightThatIsNotANumberIsSkipped) {
  Assign(0, {Point3(1, 2, 3)});
  Assign(TARGET_OPEN, {Point3(5, 5, 5)});
  Set(PB_MOUTH_VERTICAL, std::nanf(""));
  EXPECT_EQ(EvalPoints(), (Points{Point3(1, 2, 3)}));
}

TEST_F(EvalTest, NeutralWithoutPointsGivesItsConvertedMeshUntouched) {
  obj->ReplaceReference(1, new BoxObject(Point3(2, 2, 2)));
  obj->targets[0].offsetTM = TransMatrix(Point3(100, 0, 0));
  Assign(TARGET_OPEN, Points(8, Point3(9, 9, 9)));
  Set(PB_MOUTH_VERTICAL, 1.0f);
  Points result = EvalPoints();
  ASSERT_EQ(result.size(), 8u);
  EXPECT_EQ(result[0], Point3(-1, -1, 0));
  EXPECT_EQ(result[7], Point3(1, 1, 2));
  ObjectState os = obj->Eval(30);
  EXPECT_EQ(os.Validity(30), Interval(30, 30));
}

}  // namespace
