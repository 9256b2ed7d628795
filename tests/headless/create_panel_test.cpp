// The headless host's create panel: a class's own creation through its
// descriptor, and its end however it comes.
#include <gtest/gtest.h>
#include <headless_host.h>
#include <mouseman.h>
#include <triobj.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// A creation that holds the selected node, as a plug-in's creation mode
// does, and stops when the node goes or the selection changes.
class HoldingCreation : public CommandMode, public ReferenceMaker {
 public:
  int Class() override { return CREATE_COMMAND; }
  int ID() override { return 0x5100; }
  MouseCallBack* MouseProc(int* numPoints) override {
    *numPoints = 1;
    return &mouse;
  }
  ChangeForegroundCallback* ChangeFGProc() override { return CHANGE_FG_SELECTED; }
  BOOL ChangeFG(CommandMode*) override { return TRUE; }
  void EnterMode() override {}
  void ExitMode() override {}

  int NumRefs() override { return 1; }
  RefTargetHandle GetReference(int) override { return node; }
  void SetReference(int, RefTargetHandle t) override { node = static_cast<INode*>(t); }
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage m) override {
    if ((m == REFMSG_TARGET_DELETED || m == REFMSG_TARGET_SELECTIONCHANGE) && ip) ip->StopCreating();
    return REF_SUCCEED;
  }

  INode* node = nullptr;
  Interface* ip = nullptr;
  MouseCallBack mouse;
};

class HoldingClass : public ClassDesc {
 public:
  int IsPublic() override { return 1; }
  void* Create(BOOL) override { return nullptr; }
  const TCHAR* ClassName() override { return "Holder"; }
  SClass_ID SuperClassID() override { return GEOMOBJECT_CLASS_ID; }
  Class_ID ClassID() override { return Class_ID(0x5100, 1); }
  const TCHAR* Category() override { return "Test"; }
  BOOL OkToCreate(Interface* ip) override { return ip->GetSelNodeCount() == 1; }
  int BeginCreate(Interface* ip) override {
    log.push_back("begin");
    mode.ip = ip;
    mode.MakeRefByID(FOREVER, 0, ip->GetSelNode(0));
    ip->PushCommandMode(&mode);
    return TRUE;
  }
  int EndCreate(Interface* ip) override {
    log.push_back("end");
    mode.DeleteAllRefsFromMe();
    mode.ip = nullptr;
    ip->RemoveMode(&mode);
    return TRUE;
  }
  HoldingCreation mode;
  std::vector<std::string> log;
};

TEST(CreatePanel, PressingTheButtonAgainEndsTheCreationAndStartsAnother) {
  HoldingClass cd;
  headless::Host host;
  host.Select(host.CreateNode(CreateNewTriObject(), "node"));
  ASSERT_TRUE(host.CreateFromPanel(&cd));
  ASSERT_TRUE(host.CreateFromPanel(&cd));
  EXPECT_TRUE(host.Creating());
  EXPECT_EQ(cd.log, (std::vector<std::string>{"begin", "end", "begin"}));
  host.LeaveCreatePanel();
  EXPECT_EQ(cd.log, (std::vector<std::string>{"begin", "end", "begin", "end"}));
}

TEST(CreatePanel, CreationEndsOnceHoweverItEnds) {
  struct Case {
    const char* name;
    std::function<void(headless::Host&, INode*, INode*)> end;
    bool nodeLives;
  } cases[] = {
      {"leave the panel", [](headless::Host& h, INode*, INode*) { h.LeaveCreatePanel(); }, true},
      {"stop creating", [](headless::Host& h, INode*, INode*) { h.StopCreating(); }, true},
      {"delete the node", [](headless::Host& h, INode* n, INode*) { h.DeleteNode(n); }, false},
      {"select another", [](headless::Host& h, INode*, INode* o) { h.Select(o); }, true},
      {"clear the selection", [](headless::Host& h, INode*, INode*) { h.ClearSelection(); }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HoldingClass cd;
    headless::Host host;
    INode* node = host.CreateNode(CreateNewTriObject(), "node");
    INode* other = host.CreateNode(CreateNewTriObject(), "other");
    host.Select(node);
    ASSERT_TRUE(host.CreateFromPanel(&cd));
    EXPECT_TRUE(host.Creating());
    EXPECT_EQ(host.GetCommandMode(), &cd.mode);
    c.end(host, node, other);
    EXPECT_FALSE(host.Creating());
    EXPECT_EQ(cd.log, (std::vector<std::string>{"begin", "end"}));
    EXPECT_EQ(host.GetCommandMode()->ID(), CID_OBJMOVE);
    EXPECT_EQ(cd.mode.node, nullptr);
    EXPECT_EQ(host.Nodes().size(), c.nodeLives ? 2u : 1u);
    if (c.nodeLives) {
      EXPECT_STREQ(host.Nodes()[0]->GetName(), "node");
    }
  }
}

TEST(CreatePanel, RefusedOrFailedCreationDoesNotStart) {
  HoldingClass cd;
  headless::Host host;
  EXPECT_FALSE(host.CreateFromPanel(&cd));  // nothing selected
  EXPECT_TRUE(cd.log.empty());
  EXPECT_FALSE(host.CreateFromPanel(nullptr));
  struct NoOwnCreation : HoldingClass {
    int BeginCreate(Interface*) override { return 0; }
  } plain;
  host.Select(host.CreateNode(CreateNewTriObject(), "n"));
  EXPECT_FALSE(host.CreateFromPanel(&plain));
  EXPECT_FALSE(host.Creating());
  host.LeaveCreatePanel();  // nothing to end
  EXPECT_TRUE(plain.log.empty());
}

}  // namespace
