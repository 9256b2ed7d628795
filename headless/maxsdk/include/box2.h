// Stand-in: the host's 2-D bounding box of floats. An empty box has its
// minimum corner at (1e30, 1e30) and its maximum at (-1e30, -1e30), so that
// adding the first point makes both corners that point.
#ifndef HEADLESS_BOX2_H
#define HEADLESS_BOX2_H

#include <point2.h>

#include <algorithm>

class FBox2 {
 public:
  Point2 pmin, pmax;

  FBox2() { SetEmpty(); }
  FBox2(const Point2& a, const Point2& b) : pmin(a), pmax(b) {}

  void SetEmpty() {
    pmin = Point2(1E30f, 1E30f);
    pmax = Point2(-1E30f, -1E30f);
  }
  // True while no point has been added (a minimum above the maximum).
  bool IsEmpty() const { return pmin.x > pmax.x || pmin.y > pmax.y; }
  // Sizes; 0 for an empty box.
  float Width() const { return IsEmpty() ? 0.0f : pmax.x - pmin.x; }
  float Height() const { return IsEmpty() ? 0.0f : pmax.y - pmin.y; }

  // Grows the box to contain p.
  FBox2& operator+=(const Point2& p) {
    pmin = Point2(std::min(pmin.x, p.x), std::min(pmin.y, p.y));
    pmax = Point2(std::max(pmax.x, p.x), std::max(pmax.y, p.y));
    return *this;
  }
  // Grows the box to contain b; an empty b changes nothing.
  FBox2& operator+=(const FBox2& b) {
    if (!b.IsEmpty()) {
      *this += b.pmin;
      *this += b.pmax;
    }
    return *this;
  }
};

#endif
