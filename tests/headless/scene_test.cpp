// The headless host's scene: nodes, selection and animate mode.
#include <gtest/gtest.h>
#include <headless_host.h>

namespace {

class Watcher : public ReferenceTarget {
 public:
  explicit Watcher(INode* node) { MakeRefByID(FOREVER, 0, node); }
  ~Watcher() override { DeleteAllRefsFromMe(); }
  int NumRefs() override { return 1; }
  RefTargetHandle GetReference(int) override { return node; }
  void SetReference(int, RefTargetHandle t) override { node = static_cast<INode*>(t); }
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage m) override {
    heard.push_back(m);
    return REF_SUCCEED;
  }
  INode* node = nullptr;
  std::vector<RefMessage> heard;
};

TEST(Scene, SelectionAndDeletionReachDependents) {
  headless::Host host;
  INode* a = host.CreateNode(nullptr, "a");
  INode* b = host.CreateNode(nullptr, "b");
  Watcher watcher(a);
  host.Select(a);
  host.Select(b, true);
  EXPECT_EQ(host.GetSelNodeCount(), 2);
  EXPECT_EQ(host.GetSelNode(1), b);
  EXPECT_EQ(host.GetSelNode(2), nullptr);
  host.Select(b);  // replaces the selection
  EXPECT_EQ(host.GetSelNodeCount(), 1);
  EXPECT_EQ(watcher.heard, (std::vector<RefMessage>{REFMSG_TARGET_SELECTIONCHANGE,
                                                    REFMSG_TARGET_SELECTIONCHANGE}));
  host.DeleteNode(a);
  EXPECT_EQ(watcher.node, nullptr);
  EXPECT_EQ(watcher.heard.back(), static_cast<RefMessage>(REFMSG_TARGET_DELETED));
  EXPECT_EQ(host.Nodes().size(), 1u);
}

TEST(Scene, ObjectOffsetComesBeforeTheNodeTransform) {
  headless::Host host;
  INode* node = host.CreateNode(nullptr, "n");
  Point3 p(10, 0, 0);
  node->GetTMController()->GetPositionController()->SetValue(0, &p);
  node->SetObjOffsetPos(Point3(0, 1, 0));
  node->SetObjOffsetRot(Quat(AngAxis(Point3(0, 0, 1), -1.5707964f)));  // +X onto +Y
  Matrix3 offset = node->GetObjectTM(0) * Inverse(node->GetNodeTM(0));
  Point3 x = Point3(1, 0, 0) * offset;  // turned onto +Y, then offset by +Y
  EXPECT_NEAR(x.x, 0.0f, 1e-5f);
  EXPECT_NEAR(x.y, 2.0f, 1e-5f);
  Point3 world = Point3(0, 0, 0) * node->GetObjectTM(0);
  EXPECT_NEAR(world.x, 10.0f, 1e-5f);
  EXPECT_NEAR(world.y, 1.0f, 1e-5f);
}

TEST(Scene, SuspendedAnimateModeIsRestored) {
  AnimateOn();
  SuspendAnimate();
  EXPECT_FALSE(Animating());
  AnimateOn();
  ResumeAnimate();
  EXPECT_TRUE(Animating());
  AnimateOff();
  SuspendAnimate();
  ResumeAnimate();
  EXPECT_FALSE(Animating());
}

}  // namespace
