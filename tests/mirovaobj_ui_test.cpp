// The expression object's rollups, worked as a user works them: the five
// pages, the pick-method radios, the target buttons' captions, the spinners
// and the pages kept from one edited object to the next.
#include "expression_panel.h"

namespace {

using namespace expression_panel;

using RollupTest = ExpressionPanelTest;

TEST_F(RollupTest, CreationShowsFivePagesInOrderAboutAndScalesRolledUp) {
  ExpressionObject* obj = Create(MeshNode(4, "Face"));
  ASSERT_NE(obj, nullptr);
  EXPECT_EQ(PageTitles(),
            (std::vector<std::string>{"About", "Percentages", "Scales", "Face Targets", "Face Tracker"}));
  const struct {
    const char* title;
    bool open, registered;
  } pages[] = {{"About", false, true},
               {"Percentages", true, false},
               {"Scales", false, false},
               {"Face Targets", true, true},
               {"Face Tracker", true, true}};
  for (const auto& page : pages) {
    SCOPED_TRACE(page.title);
    HWND hwnd = Page(page.title);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(host.IsRollupOpen(hwnd), page.open);
    if (page.registered) {
      EXPECT_TRUE(host.IsDlgWndRegistered(hwnd));
    }
  }
  EXPECT_EQ(hTargetsRollup, Targets());
  EXPECT_EQ(hTrackerRollup, Page("Face Tracker"));
  // A fresh library shows Instance; a new object has only its Neutral.
  EXPECT_EQ(CheckedRadio(), IDC_PICK_INSTANCE);
  for (int slot = 0; slot < 12; ++slot) EXPECT_EQ(ButtonText(slot), slot == 0 ? "Assigned" : "<none>") << slot;

  HWND about = Page("About"), targets = Targets();
  host.LeaveCreatePanel();
  EXPECT_TRUE(host.RollupPages().empty());
  EXPECT_FALSE(host.IsDlgWndRegistered(about));
  EXPECT_FALSE(host.IsDlgWndRegistered(targets));
  EXPECT_EQ(hTargetsRollup, nullptr);
  EXPECT_EQ(percentMap, nullptr);
}

TEST_F(RollupTest, PickMethodIsRememberedBetweenEditsAndResetWithTheClass) {
  const struct {
    int radio;
    TargetPickMethod method;
  } cases[] = {{IDC_PICK_REFERENCE, PICK_REFERENCE},
               {IDC_PICK_COPY, PICK_COPY},
               {IDC_PICK_MOVE, PICK_MOVE},
               {IDC_PICK_INSTANCE, PICK_INSTANCE}};
  ExpressionObject* obj = Create(MeshNode(4, "Face"));
  ASSERT_NE(obj, nullptr);
  host.LeaveCreatePanel();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.radio);
    Modify(obj);
    ASSERT_TRUE(headless::Click(Targets(), c.radio));
    EXPECT_EQ(obj->ReadPickMethod(), c.method);
    CloseModify();
    EXPECT_EQ(pickMethod, c.method);
    Modify(obj);
    EXPECT_EQ(CheckedRadio(), c.radio);
    CloseModify();
  }
  Modify(obj);
  headless::Click(Targets(), IDC_PICK_MOVE);
  CloseModify();
  GetExpressionObjectDesc()->ResetClassParams();
  Modify(obj);
  EXPECT_EQ(CheckedRadio(), IDC_PICK_INSTANCE);
  // No radio shown checked reads as instance.
  obj->ShowPickMethod(9);
  EXPECT_EQ(CheckedRadio(), 0);
  headless::Click(Targets(), IDC_PICK_COPY);
  obj->ShowPickMethod(9);
  CloseModify();
  EXPECT_EQ(pickMethod, PICK_INSTANCE);
}

TEST_F(RollupTest, SecondObjectTakesOverTheKeptPages) {
  INode* first = MeshNode(4, "First");
  INode* second = MeshNode(4, "Second");
  ExpressionObject* a = Create(first);
  host.LeaveCreatePanel();
  ExpressionObject* b = Create(second);
  host.LeaveCreatePanel();
  ASSERT_TRUE(a && b);
  a->pblock->SetValue(PB_MOUTH_VERTICAL, 0, 0.25f);
  b->pblock->SetValue(PB_MOUTH_VERTICAL, 0, 0.75f);
  b->pblock->SetValue(PB_SCALE_FROWN, 0, 2.0f);
  b->ReplaceReference(TARGET_FROWN + 1, NewMesh(4));

  Modify(a);
  headless::Click(Targets(), IDC_PICK_COPY);
  const std::vector<HWND> pages = {Page("About"), Page("Percentages"), Page("Scales"), Targets(),
                                   Page("Face Tracker")};
  EXPECT_FLOAT_EQ(SpinnerValue("Percentages", IDC_PCT_MOUTH_VERTICAL_SPIN), 25.0f);
  EXPECT_EQ(ButtonText(TARGET_FROWN), "<none>");

  Modify(b);  // the host moves the modify panel to the second object
  EXPECT_EQ((std::vector<HWND>{Page("About"), Page("Percentages"), Page("Scales"), Targets(), Page("Face Tracker")}),
            pages);
  EXPECT_EQ(host.RollupPages().size(), 5u);
  EXPECT_FLOAT_EQ(SpinnerValue("Percentages", IDC_PCT_MOUTH_VERTICAL_SPIN), 75.0f);
  EXPECT_FLOAT_EQ(SpinnerValue("Scales", IDC_SCALE_FROWN_SPIN), 200.0f);
  EXPECT_EQ(ButtonText(TARGET_FROWN), "Assigned");
  EXPECT_EQ(CheckedRadio(), IDC_PICK_COPY);
  for (HWND page : {Page("About"), Targets(), Page("Face Tracker")})
    EXPECT_EQ(GetWindowLongPtrA(page, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(b));

  // Typing now edits the second object only.
  ASSERT_TRUE(headless::TypeInCustEdit(Page("Percentages"), IDC_PCT_MOUTH_VERTICAL_EDIT, "10"));
  EXPECT_FLOAT_EQ(Param(b, PB_MOUTH_VERTICAL), 0.1f);
  EXPECT_FLOAT_EQ(Param(a, PB_MOUTH_VERTICAL), 0.25f);
}

TEST_F(RollupTest, DetachedPagesIgnoreTheUser) {
  ExpressionObject* obj = Create(MeshNode(4, "Face"));
  host.LeaveCreatePanel();
  Modify(obj);
  obj->EndEditParams(&host, 0, nullptr);
  edited = nullptr;
  ASSERT_EQ(host.RollupPages().size(), 5u);
  for (HWND page : {Page("About"), Targets(), Page("Face Tracker")})
    EXPECT_EQ(GetWindowLongPtrA(page, GWLP_USERDATA), 0);
  const size_t mouse = host.RollupMouseMessages().size();
  PressButton(TARGET_OPEN);
  SendMessageA(Targets(), WM_LBUTTONDOWN, 0, 0);
  EXPECT_FALSE(host.PickModeActive());
  EXPECT_EQ(obj->pickButtonId, -1);
  EXPECT_EQ(host.RollupMouseMessages().size(), mouse);
  obj->BeginEditParams(&host, 0, nullptr);
  edited = obj;
}

TEST_F(RollupTest, PagesPassTheMouseToThePanel) {
  ASSERT_NE(Create(MeshNode(4, "Face")), nullptr);
  for (const char* title : {"Face Targets", "Face Tracker"}) {
    for (UINT msg : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_ERASEBKGND}) {
      SCOPED_TRACE(std::string(title) + " " + std::to_string(msg));
      const size_t before = host.RollupMouseMessages().size();
      SendMessageA(Page(title), msg, 1, MAKELPARAM(3, 4));
      if (msg == WM_ERASEBKGND) {
        EXPECT_EQ(host.RollupMouseMessages().size(), before);
        continue;
      }
      ASSERT_EQ(host.RollupMouseMessages().size(), before + 1);
      const headless::RollupMouseRecord& r = host.RollupMouseMessages().back();
      EXPECT_EQ(r.dlg, Page(title));
      EXPECT_EQ(r.message, msg);
      EXPECT_EQ(r.lParam, MAKELPARAM(3, 4));
    }
  }
}

// Every spinner edits the parameter the host lists under its label's name,
// in percent, within its rollup's range.
TEST_F(RollupTest, EachSpinnerEditsItsOwnParameter) {
  ExpressionObject* obj = Create(MeshNode(4, "Face"));
  ASSERT_NE(obj, nullptr);
  host.SetRollupOpen(Page("Scales"), true);
  for (int k = 0; k < 2 * NUM_CHANNELS; ++k) {
    const bool percent = k < NUM_CHANNELS;
    const ParamUIDesc& desc = percent ? percentDescs[k] : scaleDescs[k - NUM_CHANNELS];
    const char* page = percent ? "Percentages" : "Scales";
    SCOPED_TRACE(obj->pblock->SubAnimName(desc.index).data());
    EXPECT_EQ(desc.index, ParamInRollupOrder(k));
    EXPECT_EQ(obj->pblock->GetParamDimension(desc.index), stdPercentDim);
    std::vector<float> before;
    for (int i = 0; i < NUM_CHANNEL_PARAMS; ++i) before.push_back(Param(obj, i));
    ASSERT_TRUE(headless::TypeInCustEdit(Page(page), desc.idEdit, "37"));
    for (int i = 0; i < NUM_CHANNEL_PARAMS; ++i)
      EXPECT_FLOAT_EQ(Param(obj, i), i == desc.index ? 0.37f : before[static_cast<size_t>(i)]) << i;
    // Past the range, the spinner keeps to it.
    ASSERT_TRUE(headless::TypeInCustEdit(Page(page), desc.idEdit, percent ? "150" : "250000"));
    EXPECT_FLOAT_EQ(Param(obj, desc.index), percent ? 1.0f : 999.99f);
    EXPECT_FLOAT_EQ(SpinnerValue(page, desc.idSpin), percent ? 100.0f : 99999.0f);
  }
}

TEST_F(RollupTest, SpinnerEditInAnimateModeKeysTheCurrentTime) {
  INode* node = MeshNode(4, "Face");
  ExpressionObject* obj = Create(node);
  ASSERT_NE(obj, nullptr);
  obj->ReplaceReference(TARGET_OPEN + 1, NewMesh(4, 2.0f));
  AnimateOn();
  host.SetTime(320);
  ASSERT_TRUE(headless::TypeInCustEdit(Page("Percentages"), IDC_PCT_MOUTH_VERTICAL_EDIT, "40"));
  Control* c = obj->pblock->GetController(PB_MOUTH_VERTICAL);
  ASSERT_NE(c, nullptr);
  ASSERT_EQ(c->NumKeys(), 1);
  EXPECT_EQ(c->GetKeyTime(0), 320);
  EXPECT_FLOAT_EQ(Param(obj, PB_MOUTH_VERTICAL, 320), 0.4f);
  // The face the host evaluates at that time moves 40 % of the way.
  EXPECT_FLOAT_EQ(Points(node->GetObjectRef(), 320).at(1).y, 0.8f);
}

// A deleted object leaves nothing on the panel pointing at it.
TEST_F(RollupTest, DeletedObjectIsLetGoByThePages) {
  INode* node = MeshNode(4, "Face");
  ExpressionObject* obj = Create(node);
  host.LeaveCreatePanel();
  Modify(obj);
  PressButton(TARGET_OPEN);
  ASSERT_TRUE(host.PickModeActive());
  host.DeleteNode(node);  // the object goes with its only node
  edited = nullptr;
  EXPECT_FALSE(host.PickModeActive());
  EXPECT_FALSE(ButtonChecked(TARGET_OPEN));
  for (HWND page : {Page("About"), Targets(), Page("Face Tracker")})
    if (page) {
      EXPECT_EQ(GetWindowLongPtrA(page, GWLP_USERDATA), 0);
    }
  PressButton(TARGET_NEUTRAL);
  EXPECT_FALSE(host.PickModeActive());
  if (Page("Percentages")) headless::TypeInCustEdit(Page("Percentages"), IDC_PCT_FROWN_EDIT, "20");
  // A later object takes the pages over as usual.
  ExpressionObject* next = Create(MeshNode(4, "Next"));
  ASSERT_NE(next, nullptr);
  EXPECT_FLOAT_EQ(SpinnerValue("Percentages", IDC_PCT_MOUTH_HORIZONTAL_SPIN), 100.0f);
}

}  // namespace
