// The host's math value types: what is not inline in point2.h, point3.h,
// matrix3.h and quat.h.
#include <matrix3.h>
#include <point3.h>
#include <quat.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace headless::detail {

void IndexOutOfRange(const char* type, int index) {
  std::fprintf(stderr, "%s: index %d out of range\n", type, index);
  std::abort();
}

}  // namespace headless::detail

namespace {

Point3 MulEach(const Point3& a, const Point3& b) { return Point3(a.x * b.x, a.y * b.y, a.z * b.z); }

// The Hamilton product a b. With the left-hand rule this is a, then b.
Quat Hamilton(const Quat& a, const Quat& b) {
  Point3 av(a.x, a.y, a.z), bv(b.x, b.y, b.z);
  Point3 v = a.w * bv + b.w * av + (av ^ bv);
  return Quat(v.x, v.y, v.z, a.w * b.w - av % bv);
}

// The right-handed rotation by angle that turns axis i toward axis j.
Matrix3 PlaneRotation(float angle, int i, int j) {
  float c = std::cos(angle), s = std::sin(angle);
  Matrix3 m(1);
  m[i][i] = c;
  m[i][j] = s;
  m[j][i] = -s;
  m[j][j] = c;
  return m;
}

}  // namespace

// ---- Matrix3

Matrix3 Matrix3::operator*(const Matrix3& b) const {
  return Matrix3(VectorTransform(b, m[0]), VectorTransform(b, m[1]), VectorTransform(b, m[2]),
                 m[3] * b);
}

void Matrix3::RotateX(float angle) { *this *= RotateXMatrix(angle); }
void Matrix3::RotateY(float angle) { *this *= RotateYMatrix(angle); }
void Matrix3::RotateZ(float angle) { *this *= RotateZMatrix(angle); }

void Matrix3::Scale(const Point3& s, bool trans) {
  for (int i = 0; i < 3; ++i) m[i] = MulEach(m[i], s);
  if (trans) m[3] = MulEach(m[3], s);
}

void Matrix3::Invert() { *this = ::Inverse(*this); }

Matrix3 Inverse(const Matrix3& m) {
  // Double precision keeps the inverse of a poorly scaled matrix usable.
  double a[3][3];
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) a[i][j] = m[i][j];
  auto cross = [&](int r, int s, int k) {  // component k of row r ^ row s
    int k1 = (k + 1) % 3, k2 = (k + 2) % 3;
    return a[r][k1] * a[s][k2] - a[r][k2] * a[s][k1];
  };
  double det = a[0][0] * cross(1, 2, 0) + a[0][1] * cross(1, 2, 1) + a[0][2] * cross(1, 2, 2);
  if (det == 0.0 || !std::isfinite(det)) return Matrix3(1);
  // The inverse's columns are the cross products of pairs of rows over det.
  Matrix3 inv;
  for (int k = 0; k < 3; ++k) {
    inv[k][0] = static_cast<float>(cross(1, 2, k) / det);
    inv[k][1] = static_cast<float>(cross(2, 0, k) / det);
    inv[k][2] = static_cast<float>(cross(0, 1, k) / det);
  }
  inv.SetTrans(-VectorTransform(inv, m.GetTrans()));
  return inv;
}

Matrix3 RotateXMatrix(float angle) { return PlaneRotation(angle, 1, 2); }
Matrix3 RotateYMatrix(float angle) { return PlaneRotation(angle, 2, 0); }
Matrix3 RotateZMatrix(float angle) { return PlaneRotation(angle, 0, 1); }

Matrix3 TransMatrix(const Point3& p) {
  Matrix3 m(1);
  m.SetTrans(p);
  return m;
}

Matrix3 ScaleMatrix(const Point3& s) {
  return Matrix3(Point3(s.x, 0, 0), Point3(0, s.y, 0), Point3(0, 0, s.z), Point3());
}

// ---- Quat and AngAxis

Quat::Quat(const AngAxis& aa) {
  Point3 axis = aa.axis.Normalize();
  if (axis == Point3()) return;
  float s = std::sin(aa.angle / 2);
  *this = Quat(axis.x * s, axis.y * s, axis.z * s, std::cos(aa.angle / 2));
}

Quat::Quat(const Matrix3& m) {
  // Under the left-hand rule m's row-vector 3x3 is the usual column-vector
  // matrix of the quaternion itself, so the textbook conversion applies as is.
  Point3 rows[3] = {m[0].Normalize(), m[1].Normalize(), m[2].Normalize()};
  auto r = [&](int i, int j) { return rows[i][j]; };
  float trace = r(0, 0) + r(1, 1) + r(2, 2);
  // Divide by the largest of the four components for accuracy near a half
  // turn, where w is small.
  if (trace > 0) {
    float s = 2 * std::sqrt(1 + trace);
    *this = Quat((r(2, 1) - r(1, 2)) / s, (r(0, 2) - r(2, 0)) / s, (r(1, 0) - r(0, 1)) / s, s / 4);
  } else if (r(0, 0) >= r(1, 1) && r(0, 0) >= r(2, 2)) {
    float s = 2 * std::sqrt(1 + r(0, 0) - r(1, 1) - r(2, 2));
    *this = Quat(s / 4, (r(0, 1) + r(1, 0)) / s, (r(0, 2) + r(2, 0)) / s, (r(2, 1) - r(1, 2)) / s);
  } else if (r(1, 1) >= r(2, 2)) {
    float s = 2 * std::sqrt(1 + r(1, 1) - r(0, 0) - r(2, 2));
    *this = Quat((r(0, 1) + r(1, 0)) / s, s / 4, (r(1, 2) + r(2, 1)) / s, (r(0, 2) - r(2, 0)) / s);
  } else {
    float s = 2 * std::sqrt(1 + r(2, 2) - r(0, 0) - r(1, 1));
    *this = Quat((r(0, 2) + r(2, 0)) / s, (r(1, 2) + r(2, 1)) / s, s / 4, (r(1, 0) - r(0, 1)) / s);
  }
  Normalize();
}

Quat& Quat::Normalize() {
  float len = std::sqrt(x * x + y * y + z * z + w * w);
  if (len == 0.0f) return *this = Quat();
  x /= len;
  y /= len;
  z /= len;
  w /= len;
  return *this;
}

Quat Quat::Inverse() const {
  float n = x * x + y * y + z * z + w * w;
  if (n == 0.0f) return Quat();
  return Quat(-x / n, -y / n, -z / n, w / n);
}

Quat Quat::operator*(const Quat& q) const { return Hamilton(*this, q); }

bool Quat::Equals(const Quat& q, float epsilon) const {
  auto near = [epsilon](const Quat& a, const Quat& b) {
    return std::fabs(a.x - b.x) <= epsilon && std::fabs(a.y - b.y) <= epsilon &&
           std::fabs(a.z - b.z) <= epsilon && std::fabs(a.w - b.w) <= epsilon;
  };
  return near(*this, q) || near(*this, Quat(-q.x, -q.y, -q.z, -q.w));
}

void Quat::MakeMatrix(Matrix3& mat) const {
  float n = x * x + y * y + z * z + w * w;
  if (n == 0.0f) {
    mat.IdentityMatrix();
    return;
  }
  // 2/n rather than 2 keeps a quaternion that is not quite unit a rotation.
  float s = 2 / n;
  float xx = s * x * x, yy = s * y * y, zz = s * z * z;
  float xy = s * x * y, xz = s * x * z, yz = s * y * z;
  float wx = s * w * x, wy = s * w * y, wz = s * w * z;
  // The left-hand rule makes the row-vector matrix the textbook column-vector
  // one (a right-handed turn by -angle is the transpose).
  mat = Matrix3(Point3(1 - (yy + zz), xy - wz, xz + wy), Point3(xy + wz, 1 - (xx + zz), yz - wx),
                Point3(xz - wy, yz + wx, 1 - (xx + yy)), Point3());
}

Quat QFromAngAxis(float angle, const Point3& axis) { return Quat(AngAxis(axis, angle)); }

void AngAxisFromQ(const Quat& q, float* angle, Point3& axis) {
  Quat u = q;
  u.Normalize();
  if (u.w < 0) u = Quat(-u.x, -u.y, -u.z, -u.w);
  Point3 v(u.x, u.y, u.z);
  float sinHalf = v.Length();
  if (sinHalf == 0.0f) {
    *angle = 0.0f;
    axis = Point3::XAxis;
    return;
  }
  // atan2 stays accurate for small angles, where acos(w) does not.
  *angle = 2 * std::atan2(sinHalf, u.w);
  axis = v / sinHalf;
}

AngAxis::AngAxis(const Quat& q) { AngAxisFromQ(q, &angle, axis); }
