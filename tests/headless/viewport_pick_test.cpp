// The headless host's viewport: which node lies under the cursor, and the
// user's clicks, picks by name and right clicks.
#include <gtest/gtest.h>
#include <headless_host.h>
#include <standard_geometry.h>
#include <standard_objects.h>
#include <triobj.h>

#include <string>
#include <vector>

namespace {

// A flat square mesh from (x0, y0) to (x1, y1) in world space.
TriObject* Square(float x0, float y0, float x1, float y1) {
  TriObject* tri = CreateNewTriObject();
  tri->mesh.setNumVerts(4);
  tri->mesh.setVert(0, x0, y0, 0);
  tri->mesh.setVert(1, x1, y0, 0);
  tri->mesh.setVert(2, x1, y1, 0);
  tri->mesh.setVert(3, x0, y1, 0);
  return tri;
}

void MoveNode(INode* node, const Point3& to) {
  Point3 p = to;
  node->GetTMController()->GetPositionController()->SetValue(0, &p);
}

// A pick that asks the host for the node under the mouse through its own
// filter and takes the closest hit, as plug-ins do.
class NodePick : public PickModeCallback, public PickNodeCallback {
 public:
  BOOL HitTest(IObjParam* ip, HWND hWnd, ViewExp*, IPoint2 m, int) override {
    return ip->PickNode(hWnd, m, this) != nullptr;
  }
  BOOL Pick(IObjParam*, ViewExp* vpt) override {
    picked.push_back(vpt->GetClosestHit());
    return TRUE;
  }
  PickNodeCallback* GetFilter() override { return this; }
  BOOL Filter(INode* node) override {
    return node && node != refusedNode && node->GetName() != refused;
  }

  std::string refused = "none";
  INode* refusedNode = nullptr;
  std::vector<INode*> picked;
};

TEST(Viewport, NodeUnderAPointIsFoundFromAbove) {
  headless::Host host;
  // Window y runs down: world (0..10, 0..10) covers window (0..10, -10..0).
  INode* low = host.CreateNode(Square(0, 0, 10, 10), "low");
  INode* high = host.CreateNode(Square(5, 0, 20, 10), "high");
  INode* moved = host.CreateNode(Square(0, 0, 4, 4), "moved");
  MoveNode(moved, Point3(100, -50, 0));
  INode* offset = host.CreateNode(Square(0, 0, 4, 4), "offset");
  offset->SetObjOffsetPos(Point3(200, 0, 30));
  INode* box = host.CreateNode(new BoxObject(Point3(6, 6, 6)), "box");
  MoveNode(box, Point3(300, 0, 0));
  INode* camera = host.CreateNode(NewDefaultCamera(FREE_CAMERA), "camera");
  MoveNode(camera, Point3(400, 0, 0));
  host.CreateNode(nullptr, "empty");
  struct Case {
    int x, y;
    INode* expected;
  } cases[] = {
      {2, -5, low},     {7, -5, high},      {19, -9, high},     {-2, -5, low},  // pick box
      {-3, -5, nullptr}, {2, 3, nullptr},   {2, -13, nullptr},  {102, 52, moved},
      {102, -52, nullptr}, {202, -2, offset}, {2, -2, low},     {302, 2, box},
      {297, -3, box},   {306, 0, nullptr},  {401, 1, camera},   {404, 0, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    EXPECT_EQ(host.NodeAt(IPoint2(c.x, c.y)), c.expected);
  }
}

TEST(Viewport, PickNodeFiltersAndRecordsTheClosestHit) {
  headless::Host host;
  INode* low = host.CreateNode(Square(0, 0, 10, 10), "low");
  host.CreateNode(Square(0, 0, 10, 10), "high");
  NodePick filter;
  filter.refused = "high";
  EXPECT_EQ(host.PickNode(host.ViewportWindow(), IPoint2(5, -5), &filter), low);
  EXPECT_EQ(host.ActiveViewport().GetClosestHit(), low);
  EXPECT_EQ(host.PickNode(host.ViewportWindow(), IPoint2(50, 50)), nullptr);
  EXPECT_EQ(host.ActiveViewport().GetClosestHit(), nullptr);
  host.PickNode(host.ViewportWindow(), IPoint2(5, -5), &filter);
  host.DeleteNode(low);  // no hit left pointing at a deleted node
  EXPECT_EQ(host.ActiveViewport().GetClosestHit(), nullptr);
}

TEST(Viewport, ClickNodeFindsASpotWhereTheNodeIsOnTop) {
  headless::Host host;
  INode* under = host.CreateNode(Square(0, 0, 10, 10), "under");
  INode* partly = host.CreateNode(Square(0, 0, 6, 10), "partly");
  INode* hidden = host.CreateNode(Square(20, 0, 24, 4), "hidden");
  host.CreateNode(Square(18, -2, 26, 6), "cover");
  IPoint2 pt;
  ASSERT_TRUE(host.PointOver(under, &pt));
  EXPECT_EQ(host.NodeAt(pt), under);
  EXPECT_TRUE(host.ClickNode(partly));
  EXPECT_EQ(host.GetSelNode(0), partly);  // the move mode selects
  EXPECT_TRUE(host.ClickNode(under));
  EXPECT_EQ(host.GetSelNode(0), under);
  EXPECT_EQ(host.GetSelNodeCount(), 1);
  EXPECT_FALSE(host.ClickNode(hidden));
  EXPECT_FALSE(host.ClickNode(nullptr));
  host.ClickAt(IPoint2(500, 500));  // a click on nothing clears the selection
  EXPECT_EQ(host.GetSelNodeCount(), 0);
}

TEST(Viewport, PickModeHitsThroughItsFilter) {
  NodePick pick;
  headless::Host host;
  INode* low = host.CreateNode(Square(0, 0, 10, 10), "low");
  INode* high = host.CreateNode(Square(0, 0, 10, 10), "high");
  pick.refused = "high";
  host.SetPickMode(&pick);
  EXPECT_FALSE(host.ClickAt(IPoint2(50, 50)));  // nothing there: the pick goes on
  EXPECT_TRUE(host.PickModeActive());
  EXPECT_TRUE(host.ClickNode(high));  // the filter passes over it to the one below
  EXPECT_EQ(pick.picked, (std::vector<INode*>{low}));
  EXPECT_FALSE(host.PickModeActive());
  EXPECT_EQ(host.GetSelNodeCount(), 0);  // a pick selects nothing
}

TEST(Viewport, PickByNameListsWhatTheFilterAccepts) {
  NodePick pick;
  headless::Host host;
  EXPECT_TRUE(host.PickByNameList().empty());  // no pick mode
  INode* first = host.CreateNode(Square(0, 0, 1, 1), "a");
  host.CreateNode(Square(0, 0, 1, 1), "b");
  INode* second = host.CreateNode(Square(0, 0, 1, 1), "a");
  pick.refused = "b";
  host.SetPickMode(&pick);
  EXPECT_EQ(host.PickByNameList(), (std::vector<std::string>{"a", "a"}));
  EXPECT_FALSE(host.PickByName("b"));
  EXPECT_FALSE(host.PickByName("c"));
  EXPECT_TRUE(host.PickModeActive());
  EXPECT_TRUE(pick.picked.empty());
  // Of two nodes of one name, the first the filter accepts.
  pick.refusedNode = first;
  EXPECT_EQ(host.PickByNameList(), (std::vector<std::string>{"a"}));
  EXPECT_TRUE(host.PickByName("a"));
  EXPECT_EQ(pick.picked, (std::vector<INode*>{second}));
  EXPECT_EQ(host.ActiveViewport().GetClosestHit(), second);
  EXPECT_FALSE(host.PickModeActive());
  EXPECT_FALSE(host.PickByName("a"));  // the pick is over
}

TEST(Viewport, WindowLivesWithTheHost) {
  HWND view = nullptr;
  {
    headless::Host host;
    view = host.ViewportWindow();
    ASSERT_TRUE(IsWindow(view));
    EXPECT_EQ(host.ViewportWindow(), view);
    EXPECT_EQ(host.ActiveViewportWindow(), view);
    host.SetActiveViewport(view);
    EXPECT_EQ(host.ActiveViewportWindow(), view);
  }
  EXPECT_FALSE(IsWindow(view));
}

}  // namespace
