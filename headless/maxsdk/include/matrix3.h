// Stand-in: the host's affine transform, four rows of three floats. Rows 0-2
// hold the 3x3 part, row 3 the translation. Points are ROW vectors:
// p * M == p.x*row0 + p.y*row1 + p.z*row2 + row3. A product A * B applies A
// first, then B. The rotation builders are right-handed: RotateZMatrix(pi/2)
// turns +X into +Y (Quat and AngAxis are not: see quat.h).
#ifndef HEADLESS_MATRIX3_H
#define HEADLESS_MATRIX3_H

#include <point3.h>

namespace headless::detail {
// Stops the program naming the type and the bad index (geom.cpp).
[[noreturn]] void IndexOutOfRange(const char* type, int index);
}  // namespace headless::detail

class Matrix3 {
 public:
  // Stand-in: the zero matrix, where the host leaves it uninitialised.
  Matrix3() = default;
  // Nonzero gives the identity, zero the zero matrix (Matrix3(1) is the
  // host's idiom for the identity).
  // Stand-in: explicit, so an int never turns into a matrix by accident.
  explicit Matrix3(int init) {
    if (init) IdentityMatrix();
  }
  // From the three axis rows and the translation row.
  Matrix3(const Point3& u, const Point3& v, const Point3& n, const Point3& t) : m{u, v, n, t} {}

  void IdentityMatrix() { *this = Matrix3(Point3::XAxis, Point3::YAxis, Point3::ZAxis, Point3::Origin); }
  void Zero() { *this = Matrix3(); }
  // Exactly the identity.
  bool IsIdentity() const { return *this == Matrix3(1); }

  // Rows by index 0..3 (3 is the translation); any other index stops the
  // program.
  Point3& operator[](int i) {
    if (i < 0 || i > 3) headless::detail::IndexOutOfRange("Matrix3", i);
    return m[i];
  }
  const Point3& operator[](int i) const { return const_cast<Matrix3&>(*this)[i]; }
  Point3 GetRow(int i) const { return (*this)[i]; }
  void SetRow(int i, const Point3& p) { (*this)[i] = p; }
  Point3 GetTrans() const { return m[3]; }
  void SetTrans(const Point3& p) { m[3] = p; }

  // Incremental transforms, applied after the current one (this = this * T).
  void Translate(const Point3& p) { m[3] += p; }
  void RotateX(float angle);  // radians
  void RotateY(float angle);
  void RotateZ(float angle);
  // Scales the 3x3 part; the translation only when trans is true.
  void Scale(const Point3& s, bool trans = false);

  // Replaces this matrix by its inverse (see Inverse below).
  void Invert();

  Matrix3 operator*(const Matrix3& b) const;  // this first, then b
  Matrix3& operator*=(const Matrix3& b) { return *this = *this * b; }
  bool operator==(const Matrix3& b) const {
    return m[0] == b.m[0] && m[1] == b.m[1] && m[2] == b.m[2] && m[3] == b.m[3];
  }
  bool operator!=(const Matrix3& b) const { return !(*this == b); }
  // True when every element is within epsilon of b's.
  bool Equals(const Matrix3& b, float epsilon = 1E-6f) const {
    return m[0].Equals(b.m[0], epsilon) && m[1].Equals(b.m[1], epsilon) &&
           m[2].Equals(b.m[2], epsilon) && m[3].Equals(b.m[3], epsilon);
  }

 private:
  Point3 m[4];
};

// The point p transformed: 3x3 part, then translation.
inline Point3 operator*(const Point3& p, const Matrix3& a) {
  return p.x * a[0] + p.y * a[1] + p.z * a[2] + a[3];
}
// The direction v transformed by the 3x3 part only.
inline Point3 VectorTransform(const Matrix3& a, const Point3& v) {
  return v.x * a[0] + v.y * a[1] + v.z * a[2];
}

// The inverse of an affine matrix: Inverse(m) * m is the identity. A matrix
// whose 3x3 part is singular (or not finite) has no inverse and gives the
// identity.
Matrix3 Inverse(const Matrix3& m);

// Right-handed rotations by angle radians about one axis.
Matrix3 RotateXMatrix(float angle);
Matrix3 RotateYMatrix(float angle);
Matrix3 RotateZMatrix(float angle);
Matrix3 TransMatrix(const Point3& p);
Matrix3 ScaleMatrix(const Point3& s);

#endif
