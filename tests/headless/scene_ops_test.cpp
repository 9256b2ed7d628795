// Scene operations a plug-in's picking relies on: deleting nodes, selection
// messages, derived objects, clones, the dependency test, and notification
// while dependents let go.
#include <gtest/gtest.h>
#include <headless_host.h>
#include <standard_geometry.h>
#include <triobj.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

TriObject* Points(int n) {
  TriObject* tri = CreateNewTriObject();
  tri->mesh.setNumVerts(n);
  for (int i = 0; i < n; ++i) tri->mesh.setVert(i, static_cast<float>(i), 0, 0);
  return tri;
}

// Holds one target and hears of it; what it does on hearing is up to the test.
class Holder : public ReferenceTarget {
 public:
  explicit Holder(ReferenceTarget* t = nullptr) {
    if (t) MakeRefByID(FOREVER, 0, t);
  }
  ~Holder() override { DeleteAllRefsFromMe(); }
  int NumRefs() override { return 1; }
  RefTargetHandle GetReference(int) override { return target; }
  void SetReference(int, RefTargetHandle t) override { target = t; }
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage m) override {
    heard.push_back(m);
    if (onHear) onHear(m);
    return stop ? REF_STOP : REF_SUCCEED;
  }
  ReferenceTarget* target = nullptr;
  std::vector<RefMessage> heard;
  std::function<void(RefMessage)> onHear;
  bool stop = false;
};

// A mesh object that counts its deletions.
class CountedMesh : public TriObject {
 public:
  explicit CountedMesh(int* deletions) : deletions(deletions) {}
  ~CountedMesh() override { ++*deletions; }
  int* deletions;
};

TEST(SceneOps, DeletedNodeTellsItsDependentsWhileWhole) {
  headless::Host host;
  INode* node = host.CreateNode(Points(3), "face");
  std::string nameHeard;
  Holder holder(node);
  holder.onHear = [&](RefMessage m) {
    if (m == REFMSG_TARGET_DELETED) nameHeard = node->GetName();
  };
  host.DeleteNode(node);
  EXPECT_EQ(nameHeard, "face");
  EXPECT_EQ(holder.target, nullptr);
  EXPECT_TRUE(host.Nodes().empty());
  host.DeleteNode(node);  // gone already: nothing
}

TEST(SceneOps, DeletedNodesObjectLivesWhileReferenced) {
  int deletions = 0;
  headless::Host host;
  auto* shared = new CountedMesh(&deletions);
  shared->mesh.setNumVerts(5);
  INode* node = host.CreateNode(shared, "shared");
  Holder keeper(shared);
  host.DeleteNode(node);
  EXPECT_EQ(deletions, 0);
  EXPECT_EQ(static_cast<Object*>(keeper.target)->NumPoints(), 5);
  keeper.DeleteAllRefsFromMe();
  EXPECT_EQ(deletions, 1);
  host.DeleteNode(host.CreateNode(new CountedMesh(&deletions), "alone"));
  EXPECT_EQ(deletions, 2);
}

TEST(SceneOps, SelectionMessagesReachOnlyNodesThatChanged) {
  struct Case {
    const char* name;
    std::vector<int> before;  // selected node indices
    std::function<void(headless::Host&, const std::vector<INode*>&)> act;
    std::vector<int> heard;  // nodes whose dependents heard 0x80
    std::vector<int> after;
  } cases[] = {
      {"select one", {}, [](headless::Host& h, auto& n) { h.Select(n[1]); }, {1}, {1}},
      {"replace", {0, 1}, [](headless::Host& h, auto& n) { h.Select(n[2]); }, {0, 1, 2}, {2}},
      {"reselect alone", {0, 1}, [](headless::Host& h, auto& n) { h.Select(n[1]); }, {0}, {1}},
      {"same again", {1}, [](headless::Host& h, auto& n) { h.Select(n[1]); }, {}, {1}},
      {"add", {0}, [](headless::Host& h, auto& n) { h.Select(n[2], true); }, {2}, {0, 2}},
      {"add selected", {0}, [](headless::Host& h, auto& n) { h.Select(n[0], true); }, {}, {0}},
      {"clear", {0, 2}, [](headless::Host& h, auto&) { h.ClearSelection(); }, {0, 2}, {}},
      {"select none", {1}, [](headless::Host& h, auto&) { h.Select(nullptr); }, {1}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    headless::Host host;
    std::vector<INode*> nodes;
    std::vector<std::unique_ptr<Holder>> holders;
    for (int i = 0; i < 3; ++i) {
      nodes.push_back(host.CreateNode(Points(1), std::to_string(i).c_str()));
      holders.push_back(std::make_unique<Holder>(nodes.back()));
    }
    for (int i : c.before) host.Select(nodes[static_cast<size_t>(i)], true);
    for (auto& h : holders) h->heard.clear();
    c.act(host, nodes);
    std::vector<int> heard, after;
    for (int i = 0; i < 3; ++i) {
      const auto& msgs = holders[static_cast<size_t>(i)]->heard;
      EXPECT_LE(msgs.size(), 1u);
      if (!msgs.empty() && msgs[0] == REFMSG_TARGET_SELECTIONCHANGE) heard.push_back(i);
      if (nodes[static_cast<size_t>(i)]->Selected()) after.push_back(i);
    }
    EXPECT_EQ(heard, c.heard);
    EXPECT_EQ(after, c.after);
    EXPECT_EQ(host.GetSelNodeCount(), static_cast<int>(c.after.size()));
  }
}

TEST(SceneOps, DerivedObjectEvaluatesThroughItsBaseAndPassesChangesOn) {
  headless::Host host;
  TriObject* base = Points(4);
  INode* node = host.CreateNode(base, "base");
  Object* derived = MakeObjectDerivedObject(base);
  Holder listener(derived);
  base->SetPoint(3, Point3(9, 9, 9));
  base->NotifyDependents(FOREVER, PART_GEOM, REFMSG_CHANGE);
  EXPECT_EQ(listener.heard, std::vector<RefMessage>{REFMSG_CHANGE});
  EXPECT_EQ(derived->Eval(0).obj, base);
  EXPECT_EQ(derived->GetPoint(3), Point3(9, 9, 9));
  host.DeleteNode(node);  // the base lives on in the derived object
  EXPECT_EQ(derived->NumPoints(), 4);
}

TEST(SceneOps, ClonesWithNoRemapDoNotFollowLaterEdits) {
  TriObject* source = Points(3);
  struct Case {
    const char* name;
    Object* original;
    std::function<void(Object*)> edit;
  } cases[] = {
      {"mesh", Points(3), [](Object* o) { o->SetPoint(1, Point3(7, 7, 7)); }},
      {"shallow mesh copy", source->MakeShallowCopy(GEOM_CHANNEL | TOPO_CHANNEL),
       [](Object* o) {
         o->ReadyChannelsForMod(GEOM_CHANNEL);
         o->SetPoint(1, Point3(7, 7, 7));
       }},
      {"spray", new SprayObject(3), [](Object* o) { o->SetPoint(1, Point3(7, 7, 7)); }},
      {"box", new BoxObject(Point3(1, 1, 1)),
       [](Object* o) { static_cast<BoxObject*>(o)->SetSize(Point3(7, 7, 7)); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto* copy = static_cast<Object*>(c.original->Clone(NoRemap()));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->ClassID(), c.original->ClassID());
    auto pointsOf = [](Object* o) {
      Object* mesh = o->NumPoints() ? o : o->ConvertToType(0, defObjectClassID);
      std::vector<Point3> points;
      for (int i = 0; i < mesh->NumPoints(); ++i) points.push_back(mesh->GetPoint(i));
      if (mesh != o) mesh->DeleteThis();
      return points;
    };
    std::vector<Point3> before = pointsOf(copy);
    c.edit(c.original);
    EXPECT_NE(pointsOf(c.original), before);
    EXPECT_EQ(pointsOf(copy), before);
    copy->DeleteThis();
    c.original->DeleteThis();
  }
  source->DeleteThis();
}

TEST(SceneOps, DependencyTestReachesRealDependentsOnly) {
  headless::Host host;
  // The sender: a pipeline on a mesh, shown by a node.
  TriObject* base = Points(3);
  Object* sender = MakeObjectDerivedObject(base);
  INode* senderNode = host.CreateNode(sender, "sender");
  Object* onSender = MakeObjectDerivedObject(sender);
  INode* pipelineNode = host.CreateNode(onSender, "pipeline");
  Holder onPipelineNode(pipelineNode);
  // Held by what depends on them, which deletes them when it goes.
  auto* direct = new Holder(sender);
  Holder throughDirect(direct);
  auto* stopper = new Holder(sender);
  stopper->stop = true;
  Holder behindStopper(stopper);
  TriObject* other = Points(2);
  INode* otherNode = host.CreateNode(other, "other");
  Holder otherHolder(MakeObjectDerivedObject(other));

  struct Case {
    const char* name;
    ReferenceTarget* candidate;
    bool reached;
  } cases[] = {
      {"the sender itself", sender, true},
      {"its node", senderNode, true},
      {"a derived object on it", onSender, true},
      {"that object's node", pipelineNode, true},
      {"what holds that node", &onPipelineNode, true},
      {"a direct dependent", direct, true},
      {"a dependent's dependent", &throughDirect, true},
      {"a dependent that stops the message", stopper, true},
      {"what lies behind it", &behindStopper, false},
      {"the sender's own base", base, false},
      {"an unrelated mesh", other, false},
      {"its node", otherNode, false},
      {"a derived object on it", otherHolder.target, false},
      {"what holds that", &otherHolder, false},
  };
  for (const Case& c : cases) c.candidate->BeginDependencyTest();
  sender->NotifyDependents(FOREVER, 0, REFMSG_TEST_DEPENDENCY, NOTIFY_ALL, TRUE);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.candidate->EndDependencyTest(), c.reached ? TRUE : FALSE);
  }
  // A fresh test forgets the last one.
  sender->BeginDependencyTest();
  other->NotifyDependents(FOREVER, 0, REFMSG_TEST_DEPENDENCY, NOTIFY_ALL, TRUE);
  EXPECT_FALSE(sender->EndDependencyTest());
}

TEST(SceneOps, DependentsMayLetGoWhileTheyHear) {
  // One dependent deletes another while hearing: the other is not called.
  {
    auto* target = new Holder;
    Holder keeper(target);
    auto* second = new Holder(target);
    Holder first(target);
    bool secondHeard = false;
    second->onHear = [&](RefMessage) { secondHeard = true; };
    keeper.onHear = [&](RefMessage) {
      delete second;
      second = nullptr;
    };
    target->NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
    EXPECT_FALSE(secondHeard);
    EXPECT_EQ(first.heard.size(), 1u);
  }
  // A dependent drops the last reference, deleting the target itself.
  {
    int deletions = 0;
    auto* target = new CountedMesh(&deletions);
    Holder later(nullptr);
    Holder dropper(target);
    later.MakeRefByID(FOREVER, 0, target);
    dropper.onHear = [&](RefMessage) {
      later.DeleteAllRefsFromMe();
      dropper.DeleteAllRefsFromMe();
    };
    target->NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
    EXPECT_EQ(deletions, 1);
    EXPECT_TRUE(later.heard.empty());
  }
  // A dependent that let go passes nothing on.
  {
    auto* target = new Holder;
    Holder keeper(target);
    auto* middle = new Holder(target);
    Holder top(middle);
    middle->onHear = [&](RefMessage) { middle->DeleteAllRefsFromMe(); };
    target->NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
    EXPECT_EQ(middle->heard.size(), 1u);
    EXPECT_TRUE(top.heard.empty());
    top.DeleteAllRefsFromMe();
    keeper.DeleteAllRefsFromMe();
  }
}

}  // namespace

namespace {

// The bar shown on a terminal is one line, rewritten only when its
// percentage changes; the record keeps every update.
TEST(HostProgress, TheLineChangesOnlyWithItsPercentage) {
  headless::Host host;
  std::FILE* shown = std::tmpfile();
  ASSERT_NE(shown, nullptr);
  host.ShowProgressOn(shown);
  const std::vector<int> updates = {0, 0, 1, 1, 1, 2, 100};
  for (int pass = 0; pass < 2; ++pass) {
    host.ProgressStart(_T("Reading"), TRUE, nullptr, nullptr);
    for (int pct : updates) host.ProgressUpdate(pct);
    host.ProgressEnd();
  }
  const std::string line = "\rReading   0%\rReading   1%\rReading   2%\rReading 100%\rReading done\n";
  std::string text(256, '\0');
  std::rewind(shown);
  text.resize(std::fread(&text[0], 1, text.size(), shown));
  std::fclose(shown);
  EXPECT_EQ(text, line + line);
  ASSERT_EQ(host.Progress().size(), 2u);
  EXPECT_EQ(host.Progress()[1].updates, updates);
}

}  // namespace
