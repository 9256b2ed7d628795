// The headless host's viewport: its window, which node lies under a point,
// and the user's clicks and picks in it.
#include <headless_host.h>
#include <object.h>

#include <algorithm>
#include <cmath>

#include "host_modes.h"

namespace headless {

namespace {

const char viewportClass[] = "StandinViewport";
// Half the side of the square around the cursor within which a click hits.
const float pickBox = 2.0f;

HWND MakeViewportWindow() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = viewportClass;
    registered = RegisterClassA(&wc) != 0;
  }
  // Stand-in: the view has no edge; a click anywhere lands in it.
  return CreateWindowExA(0, viewportClass, "Top", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 640, 480,
                         nullptr, nullptr, nullptr, nullptr);
}

// The top view: world x to the right, world y up the window.
Point2 OnWindow(const Point3& world) { return Point2(world.x, -world.y); }

// The evaluated object's points in world space (its origin when it has none).
std::vector<Point3> WorldPoints(INode* node, TimeValue t) {
  std::vector<Point3> points;
  Object* obj = node->GetObjectRef();
  if (!obj) return points;
  ObjectState os = obj->Eval(t);
  Matrix3 tm = node->GetObjectTM(t);
  if (os.GetTM()) tm = *os.GetTM() * tm;
  Object* shape = os.obj;
  if (shape && shape->NumPoints() == 0 && shape->CanConvertToType(defObjectClassID))
    shape = shape->ConvertToType(t, defObjectClassID);
  for (int i = 0; shape && i < shape->NumPoints(); ++i) points.push_back(shape->GetPoint(i) * tm);
  if (shape && shape != os.obj) shape->DeleteThis();
  if (points.empty()) points.push_back(Point3(0, 0, 0) * tm);
  return points;
}

bool Contains(const FBox2& box, IPoint2 pt) {
  float x = static_cast<float>(pt.x), y = static_cast<float>(pt.y);
  return x >= box.pmin.x && x <= box.pmax.x && y >= box.pmin.y && y <= box.pmax.y;
}

}  // namespace

HWND Host::ViewportWindow() const {
  if (!IsWindow(viewportWindow)) viewportWindow = MakeViewportWindow();
  return viewportWindow;
}

HWND Host::ActiveViewportWindow() const {
  return activeViewportWindow ? activeViewportWindow : ViewportWindow();
}

void Host::SetActiveViewport(HWND hwnd) { activeViewportWindow = hwnd; }

bool Host::NodeRect(INode* node, FBox2* rect) {
  if (std::find(nodes.begin(), nodes.end(), node) == nodes.end() || !node->GetObjectRef())
    return false;
  FBox2 box;
  for (const Point3& p : WorldPoints(node, time)) box += OnWindow(p);
  box.pmin = Point2(box.pmin.x - pickBox, box.pmin.y - pickBox);
  box.pmax = Point2(box.pmax.x + pickBox, box.pmax.y + pickBox);
  *rect = box;
  return true;
}

INode* Host::NodeAt(IPoint2 pt, PickNodeCallback* filt) {
  // A filter may change the scene: walk a copy, skipping nodes gone meanwhile.
  std::vector<INode*> topFirst(nodes.rbegin(), nodes.rend());
  for (INode* node : topFirst) {
    FBox2 rect;
    if (!NodeRect(node, &rect) || !Contains(rect, pt)) continue;
    if (!filt || filt->Filter(node)) return node;
  }
  return nullptr;
}

INode* Host::PickNode(HWND, IPoint2 pt, PickNodeCallback* filt) {
  INode* hit = NodeAt(pt, filt);
  viewport.PointAt(hit);
  return hit;
}

bool Host::PointOver(INode* node, IPoint2* pt) {
  FBox2 rect;
  if (!NodeRect(node, &rect)) return false;
  // The middle first, then across the box, for a spot no other node covers.
  const int steps = 8;
  std::vector<IPoint2> spots{IPoint2(static_cast<int>(std::lround((rect.pmin.x + rect.pmax.x) / 2)),
                                     static_cast<int>(std::lround((rect.pmin.y + rect.pmax.y) / 2)))};
  for (int i = 1; i < steps; ++i)
    for (int j = 1; j < steps; ++j)
      spots.emplace_back(static_cast<int>(std::lround(rect.pmin.x + rect.Width() * i / steps)),
                         static_cast<int>(std::lround(rect.pmin.y + rect.Height() * j / steps)));
  for (IPoint2 spot : spots) {
    if (NodeAt(spot) == node) {
      *pt = spot;
      return true;
    }
  }
  return false;
}

bool Host::ClickNode(INode* node) {
  IPoint2 pt;
  return PointOver(node, &pt) && ClickAt(pt);
}

bool Host::ClickAt(IPoint2 pt) {
  if (PickModeActive()) return ClickInPickMode(pt);
  return ClickInCommandMode(CurrentMode(), pt);
}

bool Host::ClickInPickMode(IPoint2 pt) {
  PickModeCallback* pc = modes->pick.callback;
  unsigned serial = modes->pick.serial;
  HWND hwnd = ActiveViewportWindow();
  viewport.PointAt(nullptr);
  if (!pc->HitTest(this, hwnd, &viewport, pt, 0)) return false;
  if (modes->pick.callback != pc || modes->pick.serial != serial) return true;
  if (pc->Pick(this, &viewport)) EndPickIfStill(pc, serial);
  return true;
}

bool Host::ClickInCommandMode(CommandMode* mode, IPoint2 pt) {
  int points = 1;
  MouseCallBack* proc = mode->MouseProc(&points);
  if (!proc) return false;
  HWND hwnd = ActiveViewportWindow();
  proc->proc(hwnd, MOUSE_FREEMOVE, 0, 0, pt);
  // A click is every point of the mode at one place, unless the procedure
  // stops or the mode changes on the way.
  for (int i = 0; i < points && CurrentMode() == mode; ++i)
    if (!proc->proc(hwnd, MOUSE_POINT, i, 0, pt)) break;
  return true;
}

std::vector<INode*> Host::PickableNodes() {
  std::vector<INode*> pickable;
  if (!PickModeActive()) return pickable;
  PickNodeCallback* filter = modes->pick.callback->GetFilter();
  std::vector<INode*> all = nodes;
  for (INode* node : all) {
    if (std::find(nodes.begin(), nodes.end(), node) == nodes.end()) continue;
    if (!filter || filter->Filter(node)) pickable.push_back(node);
  }
  return pickable;
}

std::vector<std::string> Host::PickByNameList() {
  std::vector<std::string> names;
  for (INode* node : PickableNodes()) names.push_back(node->GetName());
  return names;
}

bool Host::PickByName(const std::string& name) {
  std::vector<INode*> pickable = PickableNodes();
  auto it = std::find_if(pickable.begin(), pickable.end(),
                         [&](INode* n) { return name == n->GetName(); });
  // The filter may have ended the pick, or taken the node away.
  if (it == pickable.end() || !PickModeActive() ||
      std::find(nodes.begin(), nodes.end(), *it) == nodes.end())
    return false;
  PickModeCallback* pc = modes->pick.callback;
  unsigned serial = modes->pick.serial;
  viewport.PointAt(*it);
  if (pc->Pick(this, &viewport)) EndPickIfStill(pc, serial);
  return true;
}

void Host::RightClick() {
  if (!PickModeActive()) return;
  PickModeCallback* pc = modes->pick.callback;
  unsigned serial = modes->pick.serial;
  if (pc->RightClick(this, &viewport)) EndPickIfStill(pc, serial);
}

}  // namespace headless
