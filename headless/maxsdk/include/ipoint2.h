// Stand-in: integer screen point.
#ifndef HEADLESS_IPOINT2_H
#define HEADLESS_IPOINT2_H
class IPoint2 {
 public:
  int x = 0, y = 0;
  IPoint2() = default;
  IPoint2(int xx, int yy) : x(xx), y(yy) {}
  bool operator==(const IPoint2& p) const { return x == p.x && y == p.y; }
};
#endif
