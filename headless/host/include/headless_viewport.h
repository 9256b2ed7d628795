// A headless viewport: a top view whose construction plane is the world's XY
// plane, one unit to a pixel, with window y growing downward.
#ifndef HEADLESS_HEADLESS_VIEWPORT_H
#define HEADLESS_HEADLESS_VIEWPORT_H
#include <viewexp.h>

namespace headless {

class Viewport : public ViewExp {
 public:
  Point3 GetPointOnCP(const IPoint2& ps) override {
    return Point3(static_cast<float>(ps.x), static_cast<float>(-ps.y), 0.0f);
  }
  INode* GetClosestHit() override { return closestHit; }

  // The headless user points at a node: it is the closest hit from now on.
  void PointAt(INode* node) { closestHit = node; }

 private:
  INode* closestHit = nullptr;
};

}  // namespace headless

#endif
