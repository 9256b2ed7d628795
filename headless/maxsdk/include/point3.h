// Stand-in: the host's 3-D point or vector of floats. Dot product is
// DotProd or %, cross product CrossProd or ^ (right-handed: X ^ Y == Z).
#ifndef HEADLESS_POINT3_H
#define HEADLESS_POINT3_H

#include <cmath>

namespace headless::detail {
// Stops the program naming the type and the bad index (geom.cpp).
[[noreturn]] void IndexOutOfRange(const char* type, int index);
}  // namespace headless::detail

class Point3 {
 public:
  float x = 0.0f, y = 0.0f, z = 0.0f;

  Point3() = default;  // Stand-in: zero, where the host leaves it uninitialised.
  Point3(float xx, float yy, float zz) : x(xx), y(yy), z(zz) {}

  static const Point3 Origin;
  static const Point3 XAxis;
  static const Point3 YAxis;
  static const Point3 ZAxis;

  // Components by index 0..2; any other index stops the program.
  float& operator[](int i) {
    if (i == 0) return x;
    if (i == 1) return y;
    if (i == 2) return z;
    headless::detail::IndexOutOfRange("Point3", i);
  }
  const float& operator[](int i) const { return const_cast<Point3&>(*this)[i]; }

  float LengthSquared() const { return x * x + y * y + z * z; }
  float Length() const { return std::sqrt(LengthSquared()); }
  float FLength() const { return Length(); }
  // A copy scaled to length 1; the zero vector stays zero.
  Point3 Normalize() const {
    float len = Length();
    return len == 0.0f ? Point3() : Point3(x / len, y / len, z / len);
  }
  // True when every component is within epsilon of p's.
  bool Equals(const Point3& p, float epsilon = 1E-6f) const {
    return std::fabs(x - p.x) <= epsilon && std::fabs(y - p.y) <= epsilon &&
           std::fabs(z - p.z) <= epsilon;
  }

  Point3 operator-() const { return Point3(-x, -y, -z); }
  Point3 operator+(const Point3& p) const { return Point3(x + p.x, y + p.y, z + p.z); }
  Point3 operator-(const Point3& p) const { return Point3(x - p.x, y - p.y, z - p.z); }
  Point3 operator*(float f) const { return Point3(x * f, y * f, z * f); }
  Point3 operator/(float f) const { return Point3(x / f, y / f, z / f); }
  Point3& operator+=(const Point3& p) { return *this = *this + p; }
  Point3& operator-=(const Point3& p) { return *this = *this - p; }
  Point3& operator*=(float f) { return *this = *this * f; }
  Point3& operator/=(float f) { return *this = *this / f; }
  bool operator==(const Point3& p) const { return x == p.x && y == p.y && z == p.z; }
  bool operator!=(const Point3& p) const { return !(*this == p); }

  float operator%(const Point3& p) const { return x * p.x + y * p.y + z * p.z; }
  Point3 operator^(const Point3& p) const {
    return Point3(y * p.z - z * p.y, z * p.x - x * p.z, x * p.y - y * p.x);
  }
};

inline const Point3 Point3::Origin(0.0f, 0.0f, 0.0f);
inline const Point3 Point3::XAxis(1.0f, 0.0f, 0.0f);
inline const Point3 Point3::YAxis(0.0f, 1.0f, 0.0f);
inline const Point3 Point3::ZAxis(0.0f, 0.0f, 1.0f);

inline Point3 operator*(float f, const Point3& p) { return p * f; }
inline float Length(const Point3& p) { return p.Length(); }
inline Point3 Normalize(const Point3& p) { return p.Normalize(); }
inline float DotProd(const Point3& a, const Point3& b) { return a % b; }
inline Point3 CrossProd(const Point3& a, const Point3& b) { return a ^ b; }

#endif
