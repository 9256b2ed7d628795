// The host math value types: handedness, the row-vector and composition
// order, and round trips between the rotation forms.
#include <box2.h>
#include <matrix3.h>
#include <point2.h>
#include <point3.h>
#include <quat.h>

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

const float kPi = 3.14159265358979f;

::testing::AssertionResult Near(const Point3& a, const Point3& b, float eps = 1e-5f) {
  if (a.Equals(b, eps)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "(" << a.x << ", " << a.y << ", " << a.z << ") vs ("
                                       << b.x << ", " << b.y << ", " << b.z << ")";
}

::testing::AssertionResult Near(const Quat& a, const Quat& b, float eps = 1e-5f) {
  if (a.Equals(b, eps)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "(" << a.x << ", " << a.y << ", " << a.z << ", " << a.w
                                       << ") vs (" << b.x << ", " << b.y << ", " << b.z << ", "
                                       << b.w << ")";
}

Matrix3 MatrixOf(const Quat& q) {
  Matrix3 m;
  q.MakeMatrix(m);
  return m;
}

// Rodrigues' formula: an independent reference for rotating v about the unit
// axis k by angle radians, right-handed (counter-clockwise seen from k's tip).
Point3 Rodrigues(const Point3& v, const Point3& k, float angle) {
  return v * std::cos(angle) + (k ^ v) * std::sin(angle) + k * ((k % v) * (1 - std::cos(angle)));
}

class RandomGeometry {
 public:
  float Uniform(float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(rng); }
  Point3 Vector(float r) { return Point3(Uniform(-r, r), Uniform(-r, r), Uniform(-r, r)); }
  Point3 UnitAxis() {
    Point3 v;
    while (v.Length() < 0.1f) v = Vector(1);
    return v.Normalize();
  }
  // Built from axis rotations only, independent of the quaternion code.
  Matrix3 Rotation() {
    return RotateXMatrix(Uniform(-kPi, kPi)) * RotateYMatrix(Uniform(-kPi, kPi)) *
           RotateZMatrix(Uniform(-kPi, kPi));
  }
  Matrix3 Affine() {
    Matrix3 m = ScaleMatrix(Point3(Uniform(0.5f, 2), Uniform(-2, -0.5f), Uniform(0.5f, 2)));
    m *= Rotation();
    m.SetTrans(Vector(10));
    return m;
  }

 private:
  std::mt19937 rng{20240601};
};

TEST(GeomTest, MatrixBuildersAreRightHandedAndQuatsLeftHanded) {
  struct Case {
    const char* name;
    Matrix3 matrix;
    Point3 axis, from, to;
  };
  const Case cases[] = {
      {"Z turns X to Y", RotateZMatrix(kPi / 2), Point3::ZAxis, Point3::XAxis, Point3::YAxis},
      {"X turns Y to Z", RotateXMatrix(kPi / 2), Point3::XAxis, Point3::YAxis, Point3::ZAxis},
      {"Y turns Z to X", RotateYMatrix(kPi / 2), Point3::YAxis, Point3::ZAxis, Point3::XAxis},
      {"-Z turns Y to X", RotateZMatrix(-kPi / 2), -Point3::ZAxis, Point3::YAxis, Point3::XAxis},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(Near(c.from * c.matrix, c.to));
    // A quaternion turns clockwise seen from the axis' tip: the same turn
    // takes the opposite angle, and the same angle turns the other way.
    Quat q(AngAxis(c.axis, -kPi / 2));
    EXPECT_TRUE(Near(c.from * MatrixOf(q), c.to));
    EXPECT_TRUE(MatrixOf(q).Equals(c.matrix, 1e-6f));
    EXPECT_TRUE(Near(c.from * MatrixOf(Quat(AngAxis(c.axis, kPi / 2))), -c.to));
    EXPECT_TRUE(Near(Quat(c.matrix), q));
  }
  EXPECT_TRUE(Near(CrossProd(Point3::XAxis, Point3::YAxis), Point3::ZAxis));
  EXPECT_TRUE(Near(Point3::YAxis ^ Point3::ZAxis, Point3::XAxis));
}

TEST(GeomTest, QuatMatrixIsARightHandedTurnByTheNegatedAngle) {
  RandomGeometry rnd;
  for (int i = 0; i < 200; ++i) {
    Point3 axis = rnd.UnitAxis(), v = rnd.Vector(5);
    float angle = rnd.Uniform(-2 * kPi, 2 * kPi);
    Quat q = QFromAngAxis(angle, axis);
    EXPECT_TRUE(Near(v * MatrixOf(q), Rodrigues(v, axis, -angle), 1e-4f));
    // The conjugate is the turn as right-handed readers take the same numbers.
    EXPECT_TRUE(Near(v * MatrixOf(q.Conjugate()), Rodrigues(v, axis, angle), 1e-4f));
  }
}

TEST(GeomTest, PointTimesMatrixRotatesThenTranslates) {
  Matrix3 m = RotateZMatrix(kPi / 2);
  m.SetTrans(Point3(10, 0, 0));
  EXPECT_TRUE(Near(Point3(1, 0, 0) * m, Point3(10, 1, 0)));
  EXPECT_TRUE(Near(VectorTransform(m, Point3(1, 0, 0)), Point3(0, 1, 0)));

  // Left factor first: rotate then move, versus move then rotate.
  Point3 t(1, 2, 3);
  EXPECT_TRUE(Near(Point3::XAxis * (RotateZMatrix(kPi / 2) * TransMatrix(t)), Point3(1, 3, 3)));
  EXPECT_TRUE(Near(Point3::XAxis * (TransMatrix(t) * RotateZMatrix(kPi / 2)), Point3(-2, 2, 3)));
  // X about X stays X, then Z turns it to Y; Y goes to Z and stays there.
  Matrix3 xz = RotateXMatrix(kPi / 2) * RotateZMatrix(kPi / 2);
  EXPECT_TRUE(Near(Point3::XAxis * xz, Point3::YAxis));
  EXPECT_TRUE(Near(Point3::YAxis * xz, Point3::ZAxis));

  RandomGeometry rnd;
  for (int i = 0; i < 50; ++i) {
    Matrix3 a = rnd.Affine(), b = rnd.Affine();
    Point3 p = rnd.Vector(5);
    EXPECT_TRUE(Near((p * a) * b, p * (a * b), 1e-3f));
  }
}

TEST(GeomTest, IncrementalTransformsApplyAfterTheMatrix) {
  RandomGeometry rnd;
  const Matrix3 base = rnd.Affine();
  const Point3 v(0.5f, -2, 3);
  struct Case {
    const char* name;
    void (*apply)(Matrix3&, const Point3&);
    Matrix3 expected;
  };
  Matrix3 scaledKeepingTrans = base * ScaleMatrix(v);
  scaledKeepingTrans.SetTrans(base.GetTrans());
  const Case cases[] = {
      {"RotateX", [](Matrix3& m, const Point3& p) { m.RotateX(p.x); }, base * RotateXMatrix(v.x)},
      {"RotateY", [](Matrix3& m, const Point3& p) { m.RotateY(p.y); }, base * RotateYMatrix(v.y)},
      {"RotateZ", [](Matrix3& m, const Point3& p) { m.RotateZ(p.z); }, base * RotateZMatrix(v.z)},
      {"Translate", [](Matrix3& m, const Point3& p) { m.Translate(p); }, base * TransMatrix(v)},
      {"Scale", [](Matrix3& m, const Point3& p) { m.Scale(p); }, scaledKeepingTrans},
      {"Scale with trans", [](Matrix3& m, const Point3& p) { m.Scale(p, true); },
       base * ScaleMatrix(v)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Matrix3 m = base;
    c.apply(m, v);
    EXPECT_TRUE(m.Equals(c.expected, 1e-5f));
  }
}

TEST(GeomTest, InverseUndoesAffineMatrices) {
  RandomGeometry rnd;
  for (int i = 0; i < 100; ++i) {
    Matrix3 m = rnd.Affine();
    EXPECT_TRUE((Inverse(m) * m).Equals(Matrix3(1), 1e-4f));
    EXPECT_TRUE((m * Inverse(m)).Equals(Matrix3(1), 1e-4f));
    Matrix3 inverted = m;
    inverted.Invert();
    EXPECT_EQ(inverted, Inverse(m));
  }
  Matrix3 flat = ScaleMatrix(Point3(1, 0, 1));
  flat.SetTrans(Point3(1, 2, 3));
  EXPECT_TRUE(Inverse(flat).IsIdentity());
}

TEST(GeomTest, QuatPlusEqualsAppliesTheSecondRotationAfterTheFirst) {
  const Quat aboutX(AngAxis(Point3::XAxis, kPi / 2)), aboutZ(AngAxis(Point3::ZAxis, kPi / 2));
  Quat q = aboutX;
  q += aboutZ;
  EXPECT_TRUE(MatrixOf(q).Equals(MatrixOf(aboutX) * MatrixOf(aboutZ), 1e-6f));
  EXPECT_FALSE(MatrixOf(q).Equals(MatrixOf(aboutZ) * MatrixOf(aboutX), 1e-3f));
  // X stays X about X, then Z turns it clockwise to -Y; Y goes to -Z and stays.
  EXPECT_TRUE(Near(Point3::XAxis * MatrixOf(q), -Point3::YAxis));
  EXPECT_TRUE(Near(Point3::YAxis * MatrixOf(q), -Point3::ZAxis));
  EXPECT_TRUE(Near(aboutX * aboutZ, q, 0));
  // The Hamilton product q r, in that order: i j = k.
  EXPECT_TRUE(Near(Quat(1, 0, 0, 0) * Quat(0, 1, 0, 0), Quat(0, 0, 1, 0), 0));

  // Starting from the identity, += is plain assignment of the rotation.
  Quat fromIdentity;
  fromIdentity += aboutZ;
  EXPECT_TRUE(Near(fromIdentity, aboutZ, 0));
  EXPECT_TRUE((q * q.Inverse()).Equals(Quat(), 1e-6f));
}

TEST(GeomTest, TwoQuarterTurnsAboutXMakeAHalfTurn) {
  Quat q(AngAxis(Point3(1, 0, 0), -kPi / 2));
  q += Quat(AngAxis(Point3(1, 0, 0), -kPi / 2));
  EXPECT_TRUE(Near(q, Quat(AngAxis(Point3(1, 0, 0), -kPi))));
  EXPECT_TRUE(Near(Point3::YAxis * MatrixOf(q), -Point3::YAxis));
  EXPECT_FALSE(q.Equals(Quat(AngAxis(Point3(0, 1, 0), -kPi)), 1e-3f));
}

TEST(GeomTest, QuatMatrixRoundTrip) {
  struct Case {
    const char* name;
    Point3 axis;
    float angle;
  };
  // Half turns leave w at zero, the case a trace-only conversion gets wrong.
  std::vector<Case> cases = {
      {"none", Point3::ZAxis, 0},          {"half about X", Point3::XAxis, kPi},
      {"half about Y", Point3::YAxis, kPi}, {"half about Z", Point3::ZAxis, kPi},
      {"near half", Point3(0.6f, 0, 0.8f), kPi - 1e-3f},
      {"half diagonal", Point3(1, 1, 1).Normalize(), kPi},
  };
  RandomGeometry rnd;
  for (int i = 0; i < 200; ++i) cases.push_back({"random", rnd.UnitAxis(), rnd.Uniform(-kPi, kPi)});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Quat q(AngAxis(c.axis, c.angle));
    EXPECT_TRUE(Near(Quat(MatrixOf(q)), q));
  }
  for (int i = 0; i < 200; ++i) {
    Matrix3 m = rnd.Rotation();
    EXPECT_TRUE(MatrixOf(Quat(m)).Equals(m, 1e-5f));
    // The translation and a scale do not change the rotation.
    Matrix3 scaled = ScaleMatrix(Point3(3, 3, 3)) * m * TransMatrix(Point3(4, 5, 6));
    EXPECT_TRUE(Near(Quat(scaled), Quat(m)));
  }
}

TEST(GeomTest, AngAxisQuatRoundTrip) {
  RandomGeometry rnd;
  for (int i = 0; i < 200; ++i) {
    Point3 axis = rnd.UnitAxis();
    float angle = rnd.Uniform(0.01f, kPi - 0.01f);
    struct Case {
      const char* name;
      AngAxis in;
      Point3 axis;
      float angle;
    };
    // The angle comes back in [0, pi], with the axis flipped where needed.
    const Case cases[] = {
        {"as given", AngAxis(axis, angle), axis, angle},
        {"negative angle", AngAxis(axis, -angle), -axis, angle},
        {"beyond half turn", AngAxis(axis, 2 * kPi - angle), -axis, angle},
        {"unnormalised axis", AngAxis(axis * 3, angle), axis, angle},
    };
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      AngAxis out(Quat(c.in));
      EXPECT_NEAR(out.angle, c.angle, 1e-4f);
      EXPECT_TRUE(Near(out.axis, c.axis, 1e-3f));
    }
  }
  AngAxis none(Quat{});
  EXPECT_EQ(none.angle, 0.0f);
  EXPECT_EQ(none.axis, Point3::XAxis);
  EXPECT_TRUE(Quat(AngAxis(Point3(), 1.0f)).IsIdentity());
}

TEST(GeomTest, FBox2GrowsToContainEveryPoint) {
  FBox2 box;
  EXPECT_TRUE(box.IsEmpty());
  EXPECT_EQ(box.Width(), 0.0f);
  box += Point2(-3, 2);
  EXPECT_FALSE(box.IsEmpty());
  EXPECT_EQ(box.pmin, Point2(-3, 2));
  EXPECT_EQ(box.pmax, Point2(-3, 2));
  box += Point2(-5, 7);
  box += Point2(1, -1);
  EXPECT_EQ(box.pmin, Point2(-5, -1));
  EXPECT_EQ(box.pmax, Point2(1, 7));
  EXPECT_EQ(box.Width(), 6.0f);
  EXPECT_EQ(box.Height(), 8.0f);
  box += FBox2();
  EXPECT_EQ(box.pmin, Point2(-5, -1));
  box.SetEmpty();
  EXPECT_TRUE(box.IsEmpty());
  EXPECT_EQ(box.pmin, Point2(1e30f, 1e30f));
  EXPECT_EQ(box.pmax, Point2(-1e30f, -1e30f));
}

TEST(GeomTest, NormalizingZeroLeavesZero) {
  EXPECT_EQ(Point3().Normalize(), Point3());
  EXPECT_TRUE(Near(Normalize(Point3(0, 3, -4)), Point3(0, 0.6f, -0.8f)));
}

TEST(GeomDeathTest, IndexOutOfRangeStops) {
  Point2 p2;
  Point3 p3;
  Matrix3 m;
  EXPECT_DEATH(p2[2], "Point2: index 2");
  EXPECT_DEATH(p3[-1], "Point3: index -1");
  EXPECT_DEATH(m[4], "Matrix3: index 4");
}

}  // namespace
