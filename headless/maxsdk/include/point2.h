// Stand-in: the host's 2-D point of floats (screen or normalised image
// positions).
#ifndef HEADLESS_POINT2_H
#define HEADLESS_POINT2_H

namespace headless::detail {
// Stops the program naming the type and the bad index (geom.cpp).
[[noreturn]] void IndexOutOfRange(const char* type, int index);
}  // namespace headless::detail

class Point2 {
 public:
  float x = 0.0f, y = 0.0f;

  Point2() = default;  // Stand-in: zero, where the host leaves it uninitialised.
  Point2(float xx, float yy) : x(xx), y(yy) {}

  // Components by index: 0 is x, 1 is y; any other index stops the program.
  float& operator[](int i) {
    if (i == 0) return x;
    if (i == 1) return y;
    headless::detail::IndexOutOfRange("Point2", i);
  }
  const float& operator[](int i) const { return const_cast<Point2&>(*this)[i]; }

  Point2 operator+(const Point2& p) const { return Point2(x + p.x, y + p.y); }
  Point2 operator-(const Point2& p) const { return Point2(x - p.x, y - p.y); }
  Point2 operator-() const { return Point2(-x, -y); }
  Point2 operator*(float f) const { return Point2(x * f, y * f); }
  Point2& operator+=(const Point2& p) {
    x += p.x;
    y += p.y;
    return *this;
  }
  Point2& operator-=(const Point2& p) {
    x -= p.x;
    y -= p.y;
    return *this;
  }
  bool operator==(const Point2& p) const { return x == p.x && y == p.y; }
  bool operator!=(const Point2& p) const { return !(*this == p); }
};

inline Point2 operator*(float f, const Point2& p) { return p * f; }

#endif
