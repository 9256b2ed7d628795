// Stand-in: the host's rotations, as a unit quaternion (Quat) or an axis and
// an angle in radians (AngAxis). Both follow the host's left-hand rule, where
// the matrix builders (RotateXMatrix ...) are right-handed:
// Quat(AngAxis(axis, a)) holds (axis * sin(a/2), cos(a/2)) and turns points
// by a clockwise seen from the axis' tip, which is a right-handed turn by -a.
// So Quat(RotateZMatrix(a)) is Quat(AngAxis(Point3(0, 0, 1), -a)) up to sign,
// and q.Conjugate() is q's rotation as right-handed tools read a quaternion.
//
// Composition reads in the order the rotations happen, about the fixed
// (world) axes: q += r and q * r are "q, then r" (the Hamilton product q r),
// just as Matrix3 products apply the left factor first.
#ifndef HEADLESS_QUAT_H
#define HEADLESS_QUAT_H

#include <matrix3.h>
#include <point3.h>

class Quat;

class AngAxis {
 public:
  Point3 axis;        // unit length for a meaningful rotation
  float angle = 0.0f;  // radians, clockwise seen from axis' tip

  AngAxis() = default;  // Stand-in: zero, where the host leaves it uninitialised.
  AngAxis(const Point3& ax, float ang) : axis(ax), angle(ang) {}
  AngAxis(float x, float y, float z, float ang) : axis(x, y, z), angle(ang) {}
  // The angle comes out in [0, pi] (see AngAxisFromQ).
  AngAxis(const Quat& q);  // NOLINT: implicit as in the host
};

class Quat {
 public:
  float x = 0.0f, y = 0.0f, z = 0.0f, w = 1.0f;

  Quat() = default;  // Stand-in: the identity, where the host leaves it uninitialised.
  Quat(float xx, float yy, float zz, float ww) : x(xx), y(yy), z(zz), w(ww) {}
  // The rotation of aa; a zero axis gives the identity.
  Quat(const AngAxis& aa);  // NOLINT: implicit as in the host
  // The rotation of m's 3x3 part, which should be a rotation (its rows are
  // normalised first, so a uniform or axis scale is tolerated); the
  // translation is ignored.
  // Stand-in: explicit, so a matrix never turns into a rotation by accident.
  explicit Quat(const Matrix3& m);

  void Identity() { *this = Quat(); }
  // Exactly (0, 0, 0, 1).
  bool IsIdentity() const { return x == 0.0f && y == 0.0f && z == 0.0f && w == 1.0f; }
  // Scales to unit length in place; the zero quaternion becomes the identity.
  Quat& Normalize();
  Quat Conjugate() const { return Quat(-x, -y, -z, w); }
  // The reverse rotation (the conjugate divided by the squared length).
  Quat Inverse() const;

  // This rotation, then q: the Hamilton product (*this) q.
  Quat operator*(const Quat& q) const;
  Quat& operator*=(const Quat& q) { return *this = *this * q; }
  // This rotation followed by q, both about the fixed axes.
  Quat& operator+=(const Quat& q) { return *this *= q; }
  bool operator==(const Quat& q) const { return x == q.x && y == q.y && z == q.z && w == q.w; }
  bool operator!=(const Quat& q) const { return !(*this == q); }
  // True when q is the same rotation within epsilon per component; q and -q
  // are the same rotation.
  bool Equals(const Quat& q, float epsilon = 1E-6f) const;

  // Writes the rotation into mat's rows 0-2 (row i is where axis i turns
  // to) and zeroes its translation.
  void MakeMatrix(Matrix3& mat) const;
};

// The rotation by angle radians about axis, as Quat(AngAxis(axis, angle)).
Quat QFromAngAxis(float angle, const Point3& axis);
// The axis and angle of q. The angle is in [0, pi] (q and -q give the same);
// for a rotation of (near) zero the axis is +X and the angle 0.
void AngAxisFromQ(const Quat& q, float* angle, Point3& axis);

#endif
