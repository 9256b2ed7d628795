// Stand-in: a viewport as plug-ins see it.
// Stand-in: the host declares ViewExp in maxapi.h; here it has its own
// header and only what the library uses.
#ifndef HEADLESS_VIEWEXP_H
#define HEADLESS_VIEWEXP_H
#include <ipoint2.h>
#include <point3.h>

class INode;

class ViewExp {
 public:
  // The point of the construction plane under the window position ps.
  virtual Point3 GetPointOnCP(const IPoint2& ps) = 0;
  // The node of the closest hit of the last hit test; null when none.
  virtual INode* GetClosestHit() = 0;

 protected:
  ~ViewExp() = default;
};

#endif
