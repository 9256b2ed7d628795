// Creating the expression object from a selected mesh, and picking its
// targets from the scene with the Face Targets buttons: what is accepted,
// what each pick method does to the scene, how picking ends, and what a
// saved scene keeps.
#include <headless_scene.h>
#include <standard_geometry.h>

#include <algorithm>

#include "expression_panel.h"
#include "scene_classes.h"

namespace {

using namespace expression_panel;

using PickTest = ExpressionPanelTest;

const int kCreateModeId = static_cast<int>(0x8F525AB2);

bool InScene(headless::Host& host, INode* node) {
  return std::find(host.Nodes().begin(), host.Nodes().end(), node) != host.Nodes().end();
}

TEST_F(PickTest, CreationMakesTheSelectedMeshTheNeutral) {
  INode* node = MeshNode(4, "Face");
  node->SetObjOffsetPos(Point3(0, 0, 5));
  Object* mesh = node->GetObjectRef();
  ExpressionObject* obj = Create(node);
  ASSERT_NE(obj, nullptr);
  EXPECT_TRUE(host.Creating());
  EXPECT_EQ(host.GetCommandMode()->ID(), kCreateModeId);
  EXPECT_EQ(obj->targets[TARGET_NEUTRAL].object, mesh);
  EXPECT_EQ(obj->targets[TARGET_NEUTRAL].offsetTM.GetTrans(), Point3(0, 0, 5));
  EXPECT_EQ(obj->pickTargetIndex, TARGET_NEUTRAL);
  // The face shows the Neutral where the node showed it, its offset included.
  std::vector<Point3> shown = Points(mesh);
  for (Point3& p : shown) p = p + Point3(0, 0, 5);
  EXPECT_EQ(Points(obj), shown);
  // The mouse over a viewport while creating shows the arrow.
  const size_t cursors = headless::CursorHistory().size();
  ASSERT_TRUE(host.ClickAt(IPoint2(300, 300)));
  ASSERT_GT(headless::CursorHistory().size(), cursors);
  EXPECT_EQ(headless::CursorName(headless::CursorHistory()[cursors]), "arrow");
  EXPECT_TRUE(host.Creating());
  host.LeaveCreatePanel();
  EXPECT_FALSE(host.Creating());
  EXPECT_TRUE(InScene(host, node)) << "ending creation leaves the node in the scene";
  EXPECT_EQ(node->GetObjectRef(), obj);
}

TEST_F(PickTest, CreationEndsWhenItsNodeGoesOrTheSelectionChanges) {
  const struct {
    const char* name;
    void (*act)(headless::Host&, INode* face, INode* other);
  } cases[] = {
      {"node deleted", [](headless::Host& h, INode* face, INode*) { h.DeleteNode(face); }},
      {"another node selected", [](headless::Host& h, INode*, INode* other) { h.Select(other); }},
      {"selection cleared", [](headless::Host& h, INode*, INode*) { h.ClearSelection(); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    INode* face = MeshNode(4, "Face");
    INode* other = MeshNode(4, "Other");
    ASSERT_NE(Create(face), nullptr);
    c.act(host, face, other);
    EXPECT_FALSE(host.Creating());
    EXPECT_TRUE(host.RollupPages().empty());
    EXPECT_EQ(createMode.obj, nullptr);
    EXPECT_EQ(createMode.node, nullptr);
  }
}

TEST_F(PickTest, PickedNodeBecomesTheTargetAndTheButtonSaysSo) {
  ExpressionObject* obj = Create(MeshNode(4, "Face"));
  INode* open = MeshNode(4, "Open", 2.0f);
  PressButton(TARGET_OPEN);
  EXPECT_TRUE(host.PickModeActive());
  EXPECT_EQ(host.GetCommandMode()->ID(), CID_STDPICK);
  EXPECT_TRUE(ButtonChecked(TARGET_OPEN));
  EXPECT_EQ(obj->pickButtonId, IDC_TARGET_OPEN);
  EXPECT_EQ(obj->pickTargetIndex, TARGET_OPEN);
  ASSERT_TRUE(host.ClickNode(open));
  EXPECT_FALSE(host.PickModeActive());
  EXPECT_FALSE(ButtonChecked(TARGET_OPEN));
  EXPECT_EQ(ButtonText(TARGET_OPEN), "Assigned");
  EXPECT_EQ(obj->targets[TARGET_OPEN].object, open->GetObjectRef());
  EXPECT_EQ(host.GetCommandMode()->ID(), kCreateModeId) << "back to creation";

  // Re-picking the slot replaces its target; the button still reads Assigned.
  INode* wider = MeshNode(4, "Wider", 3.0f);
  wider->SetObjOffsetPos(Point3(1, 0, 0));
  host.SetTime(480);
  PickInto(TARGET_OPEN, wider);
  EXPECT_EQ(obj->targets[TARGET_OPEN].object, wider->GetObjectRef());
  EXPECT_EQ(obj->targets[TARGET_OPEN].offsetTM.GetTrans(), Point3(1, 0, 0));
  EXPECT_EQ(ButtonText(TARGET_OPEN), "Assigned");
}

TEST_F(PickTest, RefusedCandidatesLeaveThePickRunning) {
  const struct {
    const char* name;
    int slot;
    // Makes the node the user clicks; obj is the object being edited.
    INode* (*make)(headless::Host&, ExpressionObject* obj);
  } cases[] = {
      {"particle system", TARGET_NEUTRAL,
       [](headless::Host& h, ExpressionObject*) { return h.CreateNode(new SprayObject(4), "Spray"); }},
      {"particle system for a target", TARGET_FROWN,
       [](headless::Host& h, ExpressionObject*) { return h.CreateNode(new SprayObject(4), "Spray"); }},
      {"built on the object itself", TARGET_NEUTRAL,
       [](headless::Host& h, ExpressionObject* obj) { return h.CreateNode(MakeObjectDerivedObject(obj), "Loop"); }},
      {"fewer points than the Neutral", TARGET_OPEN,
       [](headless::Host& h, ExpressionObject*) { return h.CreateNode(NewMesh(3), "Short"); }},
      {"a box of 8 points for a 4-point face", TARGET_LEFT_CHEEK,
       [](headless::Host& h, ExpressionObject*) { return h.CreateNode(new BoxObject, "Box"); }},
  };
  INode* face = MeshNode(4, "Face");
  ExpressionObject* obj = Create(face);
  ASSERT_NE(obj, nullptr);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    INode* node = c.make(host, obj);
    Object* neutral = obj->targets[TARGET_NEUTRAL].object;
    Object* before = obj->targets[c.slot].object;
    PressButton(c.slot);
    host.ClickNode(node);
    EXPECT_TRUE(host.PickModeActive());
    EXPECT_TRUE(ButtonChecked(c.slot));
    EXPECT_EQ(obj->targets[c.slot].object, before);
    EXPECT_EQ(obj->targets[TARGET_NEUTRAL].object, neutral);
    const std::vector<std::string> listed = host.PickByNameList();
    EXPECT_EQ(std::count(listed.begin(), listed.end(), node->GetName()), 0);
    EXPECT_FALSE(host.PickByName(node->GetName()));
    host.RightClick();
    EXPECT_FALSE(host.PickModeActive());
    EXPECT_FALSE(ButtonChecked(c.slot));
  }
}

// A box has no points of its own but converts to a mesh: as the Neutral it
// sets the point count the other targets must have.
TEST_F(PickTest, ConvertibleObjectsAreMeasuredAfterConversion) {
  ExpressionObject* obj = Create(MeshNode(4, "Face"));
  INode* box = host.CreateNode(new BoxObject, "Box");
  INode* eight = MeshNode(8, "Eight");
  PickInto(TARGET_NEUTRAL, box);
  ASSERT_EQ(obj->targets[TARGET_NEUTRAL].object, box->GetObjectRef());
  PressButton(TARGET_OPEN);
  EXPECT_TRUE(host.PickByName("Eight"));
  EXPECT_EQ(obj->targets[TARGET_OPEN].object, eight->GetObjectRef());
}

TEST_F(PickTest, NonNeutralSlotsWaitForANeutral) {
  ExpressionObject* created = Create(MeshNode(4, "Face"));
  host.LeaveCreatePanel();
  // A copy of the object has no targets at all.
  auto* copy = static_cast<ExpressionObject*>(created->Clone(NoRemap()));
  INode* copyNode = host.CreateNode(copy, "Copy");
  INode* shape = MeshNode(4, "Shape");
  Modify(copy);
  for (int slot = 0; slot < 12; ++slot) EXPECT_EQ(ButtonText(slot), "<none>") << slot;
  PressButton(TARGET_OPEN);
  EXPECT_TRUE(host.PickByNameList().empty());
  host.ClickNode(shape);
  EXPECT_EQ(copy->targets[TARGET_OPEN].object, nullptr);
  host.RightClick();
  PickInto(TARGET_NEUTRAL, shape);
  EXPECT_EQ(ButtonText(TARGET_NEUTRAL), "Assigned");
  PressButton(TARGET_OPEN);
  EXPECT_TRUE(host.PickByName("Shape"));
  EXPECT_EQ(ButtonText(TARGET_OPEN), "Assigned");
  (void)copyNode;
}

// A second button pressed while a pick runs ends that pick, whatever the
// panel; the slot it names is the one the next pick fills.
TEST_F(PickTest, SecondButtonEndsThePickButRecordsItsSlot) {
  const struct {
    const char* name;
    bool creating;
    int modeAfter;
  } cases[] = {{"while creating", true, kCreateModeId}, {"in the modify panel", false, CID_OBJMOVE}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    INode* face = MeshNode(4, "Face");
    ExpressionObject* obj = Create(face);
    ASSERT_NE(obj, nullptr);
    if (!c.creating) {
      host.LeaveCreatePanel();
      Modify(obj);
    }
    INode* lid = MeshNode(4, "Lid", -1.0f);
    PressButton(TARGET_OPEN);
    PressButton(TARGET_LEFT_EYELID);
    EXPECT_FALSE(host.PickModeActive());
    EXPECT_EQ(host.GetCommandMode()->ID(), c.modeAfter);
    for (int slot = 0; slot < 12; ++slot) EXPECT_FALSE(ButtonChecked(slot)) << slot;
    EXPECT_EQ(obj->pickButtonId, IDC_TARGET_LEFT_EYELID);
    EXPECT_EQ(obj->pickTargetIndex, TARGET_LEFT_EYELID);
    EXPECT_EQ(PageTitles().size(), 5u);

    PickInto(TARGET_LEFT_EYELID, lid);
    EXPECT_EQ(obj->targets[TARGET_LEFT_EYELID].object, lid->GetObjectRef());
    EXPECT_EQ(obj->targets[TARGET_OPEN].object, nullptr);
    if (c.creating) host.LeaveCreatePanel();
    CloseModify();
  }
}

TEST_F(PickTest, RightClickOrClosingThePanelEndsPickingUnchanged) {
  const struct {
    const char* name;
    bool rightClick;
  } cases[] = {{"right click", true}, {"panel closed", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ExpressionObject* obj = Create(MeshNode(4, "Face"));
    host.LeaveCreatePanel();
    Modify(obj);
    PressButton(TARGET_RIGHT_SQUINT);
    ASSERT_TRUE(ButtonChecked(TARGET_RIGHT_SQUINT));
    if (c.rightClick) host.RightClick();
    else obj->EndEditParams(&host, 0, nullptr);
    EXPECT_FALSE(host.PickModeActive());
    EXPECT_FALSE(ButtonChecked(TARGET_RIGHT_SQUINT));
    EXPECT_EQ(obj->targets[TARGET_RIGHT_SQUINT].object, nullptr);
    if (!c.rightClick) obj->BeginEditParams(&host, 0, nullptr);
    CloseModify();
  }
}

// Edits the mesh of a node: every point moves by dz.
void Reshape(INode* node, float dz) {
  auto* tri = static_cast<TriObject*>(node->GetObjectRef());
  for (int i = 0; i < tri->mesh.getNumVerts(); ++i) tri->mesh.setVert(i, tri->mesh.getVert(i) + Point3(0, 0, dz));
  tri->NotifyDependents(FOREVER, PART_GEOM, REFMSG_CHANGE);
}

TEST_F(PickTest, EachPickMethodTreatsTheSceneItsOwnWay) {
  const struct {
    int radio;
    bool nodeStays, shared, followsEdits;
  } cases[] = {{IDC_PICK_INSTANCE, true, true, true},
               {IDC_PICK_COPY, true, false, false},
               {IDC_PICK_REFERENCE, true, false, true},
               {IDC_PICK_MOVE, false, true, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.radio);
    INode* face = MeshNode(4, "Face");
    ExpressionObject* obj = Create(face);
    ASSERT_NE(obj, nullptr);
    obj->pblock->SetValue(PB_MOUTH_VERTICAL, 0, 1.0f);
    INode* open = MeshNode(4, "Open", 0.0f);
    Reshape(open, 2.0f);
    Object* shape = open->GetObjectRef();
    headless::Click(Targets(), c.radio);
    PickInto(TARGET_OPEN, open);
    ASSERT_NE(obj->targets[TARGET_OPEN].object, nullptr);
    EXPECT_EQ(InScene(host, open), c.nodeStays);
    EXPECT_EQ(obj->targets[TARGET_OPEN].object == shape, c.shared);
    EXPECT_FLOAT_EQ(Points(face->GetObjectRef()).at(2).z, 2.0f);
    if (c.nodeStays) {
      Reshape(open, 1.0f);
      EXPECT_FLOAT_EQ(Points(face->GetObjectRef()).at(2).z, c.followsEdits ? 3.0f : 2.0f);
    }
    host.LeaveCreatePanel();
    host.DeleteNode(face);
    if (c.nodeStays) host.DeleteNode(open);
  }
}

// Targets picked by each method survive a save and a load: the face
// evaluates the same, every slot keeps its shape.
TEST_F(PickTest, SavedSceneKeepsTargetsOfEveryMethod) {
  scene_classes::RegisterExpressionObject();
  INode* face = MeshNode(4, "Face");
  ExpressionObject* obj = Create(face);
  ASSERT_NE(obj, nullptr);
  const struct {
    int radio, slot;
    float z;
  } picks[] = {{IDC_PICK_INSTANCE, TARGET_OPEN, 1.0f},
               {IDC_PICK_COPY, TARGET_FROWN, 2.0f},
               {IDC_PICK_REFERENCE, TARGET_LEFT_CHEEK, 3.0f},
               {IDC_PICK_MOVE, TARGET_RIGHT_SQUINT, 4.0f}};
  for (const auto& p : picks) {
    INode* node = MeshNode(4, "Shape");
    Reshape(node, p.z);
    headless::Click(Targets(), p.radio);
    PickInto(p.slot, node);
    ASSERT_NE(obj->targets[p.slot].object, nullptr) << p.slot;
  }
  host.LeaveCreatePanel();
  for (int i = 0; i < NUM_CHANNEL_PARAMS; ++i) obj->pblock->SetValue(i, 0, 0.5f);
  const std::vector<Point3> before = Points(face->GetObjectRef());
  const std::string saved = headless::SceneText(host);

  headless::Host loaded;
  std::string error;
  ASSERT_TRUE(headless::LoadSceneText(loaded, saved, &error)) << error;
  INode* again = nullptr;
  for (INode* node : loaded.Nodes())
    if (std::string(node->GetName()) == "Face") again = node;
  ASSERT_NE(again, nullptr);
  ASSERT_EQ(again->GetObjectRef()->ClassID(), EXPRESSION_OBJECT_CLASS_ID);
  auto* reloaded = static_cast<ExpressionObject*>(again->GetObjectRef());
  EXPECT_EQ(Points(reloaded), before);
  for (const auto& p : picks) {
    SCOPED_TRACE(p.slot);
    ASSERT_NE(reloaded->targets[p.slot].object, nullptr);
    EXPECT_EQ(Points(reloaded->targets[p.slot].object), Points(obj->targets[p.slot].object));
  }
  EXPECT_EQ(loaded.Nodes().size(), host.Nodes().size());
}

}  // namespace
