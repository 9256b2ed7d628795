// The expression object: its descriptor, parameter block, references, the
// host's questions it answers, cloning, conversion and creation.
#include "change_listener.h"
#include "mirovaobj.h"

#include <gtest/gtest.h>
#include <headless.h>
#include <headless_host.h>
#include <headless_viewport.h>
#include <mouseman.h>
#include <standard_geometry.h>
#include <triobj.h>

#include <memory>

namespace {

// A solid that neither deforms nor converts.
class Lump : public GeomObject {
 public:
  Class_ID ClassID() override { return Class_ID(0x4c55, 0x4d50); }
  CreateMouseCallBack* GetCreateMouseCallBack() override { return nullptr; }
  ObjectState Eval(TimeValue) override { return ObjectState(this); }
};

TriObject* Mesh(int points) {
  TriObject* tri = CreateNewTriObject();
  tri->mesh.setNumVerts(points);
  for (int i = 0; i < points; ++i) tri->mesh.setVert(i, static_cast<float>(i), 1.0f, 2.0f);
  return tri;
}

float Param(ExpressionObject* obj, int i, TimeValue t = 0) {
  float v = -99.0f;
  Interval valid = FOREVER;
  obj->pblock->GetValue(i, t, v, valid);
  return v;
}

// Deletes an object through the host's protocol when a test ends.
struct Deleter {
  void operator()(Animatable* a) const { a->DeleteThis(); }
};
using ObjectPtr = std::unique_ptr<ExpressionObject, Deleter>;

class ExpressionObjectTest : public testing::Test {
 protected:
  void TearDown() override { AnimateOff(); }
  headless::Host host;
};

TEST_F(ExpressionObjectTest, DescriptorAnswersTheHost) {
  ClassDesc* cd = GetExpressionObjectDesc();
  EXPECT_EQ(cd, GetExpressionObjectDesc());
  EXPECT_EQ(cd->IsPublic(), 1);
  EXPECT_STREQ(cd->ClassName(), "Mirova");
  EXPECT_STREQ(cd->Category(), "Compound Objects");
  EXPECT_EQ(cd->SuperClassID(), 0x10u);
  EXPECT_EQ(cd->ClassID(), Class_ID(0x5FF304C1, 0x3C372967));
  EXPECT_FALSE(cd->HasClassParams());
  pickMethod = PICK_MOVE;
  cd->ResetClassParams();
  EXPECT_EQ(pickMethod, PICK_INSTANCE);

  ObjectPtr made(static_cast<ExpressionObject*>(cd->Create(FALSE)));
  ObjectPtr loading(static_cast<ExpressionObject*>(cd->Create(TRUE)));
  EXPECT_NE(made->pblock, nullptr);
  EXPECT_EQ(loading->pblock, nullptr);
}

TEST_F(ExpressionObjectTest, NewObjectShowsItsParametersAndReferences) {
  ObjectPtr obj(new ExpressionObject);
  TSTR name;
  obj->GetClassName(name);
  EXPECT_STREQ(name.data(), "MirovaObject");
  EXPECT_EQ(obj->SuperClassID(), 0x10u);
  EXPECT_STREQ(obj->GetObjectName(), "Mirova");
  obj->InitNodeName(name);
  EXPECT_STREQ(name.data(), "Mirova");
  EXPECT_EQ(obj->NumRefs(), 13);
  EXPECT_EQ(obj->GetReference(0), obj->pblock);
  for (int i = 1; i <= 12; ++i) EXPECT_EQ(obj->GetReference(i), nullptr);
  EXPECT_EQ(obj->NumSubs(), 1);
  EXPECT_EQ(obj->SubAnim(0), obj->pblock);
  EXPECT_STREQ(obj->SubAnimName(0).data(), "Parameters");
  EXPECT_EQ(obj->pickButtonId, -1);
  EXPECT_EQ(obj->pickTargetIndex, -1);
  EXPECT_EQ(obj->pblock->GetVersion(), 1u);

  // What the track view lists under "Parameters": the names in index order,
  // all in percent, at the creation values.
  const char* names[] = {"Mouth Vertical", "Mouth Horizontal", "Left Eyelid", "Left Eyebrow", "Left Cheek",
                         "Frown", "Left Squint", "Scale: Mouth Vertical", "Scale: Mouth Horizontal",
                         "Scale: Left Eyelid", "Scale: Left Eyebrow", "Scale: Left Cheek", "Scale: Frown",
                         "Scale: Left Squint", "Right Eyelid", "Right Eyebrow", "Right Cheek", "Right Squint",
                         "Scale: Right Eyelid", "Scale: Right Eyebrow", "Scale: Right Cheek",
                         "Scale: Right Squint"};
  const float values[] = {0, 1, 1, 0, 0, 0, 0, 1, 1, 1, 1, 1, 0.5f, 0.5f, 1, 0, 0, 0, 1, 1, 1, 0.5f};
  ASSERT_EQ(obj->pblock->NumSubs(), 22);
  for (int i = 0; i < 22; ++i) {
    SCOPED_TRACE(names[i]);
    EXPECT_STREQ(obj->pblock->SubAnimName(i).data(), names[i]);
    EXPECT_EQ(obj->pblock->GetParamDimension(i), stdPercentDim);
    EXPECT_EQ(Param(obj.get(), i), values[i]);
    EXPECT_EQ(obj->pblock->GetController(i), nullptr);
  }
}

TEST_F(ExpressionObjectTest, CreatedInAnimateModeKeysEveryParameterAtZero) {
  AnimateOn();
  ObjectPtr obj(new ExpressionObject);
  for (int i = 0; i < 22; ++i) {
    SCOPED_TRACE(i);
    Control* c = obj->pblock->GetController(i);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->NumKeys(), 1);
    EXPECT_EQ(c->GetKeyTime(0), 0);
    EXPECT_EQ(Param(obj.get(), i, 4800), ChannelCreationValue(i));
  }
}

TEST_F(ExpressionObjectTest, QuestionsOutsideTheTableChangeNothingAndStop) {
  ObjectPtr obj(new ExpressionObject);
  for (int index : {22, 23, -1, 1000}) {
    SCOPED_TRACE(index);
    TSTR name("unchanged");
    GetParamName nameQuestion(name, index);
    PartID part = reinterpret_cast<PartID>(&nameQuestion);
    EXPECT_EQ(obj->NotifyRefChanged(FOREVER, obj->pblock, part, REFMSG_GET_PARAM_NAME), REF_STOP);
    EXPECT_STREQ(name.data(), "unchanged");
    GetParamDim dimQuestion(index);
    part = reinterpret_cast<PartID>(&dimQuestion);
    EXPECT_EQ(obj->NotifyRefChanged(FOREVER, obj->pblock, part, REFMSG_GET_PARAM_DIM), REF_STOP);
    EXPECT_EQ(dimQuestion.dim, defaultDim);
  }
  PartID part = PART_ALL;
  EXPECT_EQ(obj->NotifyRefChanged(FOREVER, obj->pblock, part, REFMSG_CHANGE), REF_SUCCEED);
}

using Listener = ChangeListener;  // hears what the object passes on

TEST_F(ExpressionObjectTest, ChangesOfParametersAndTargetsReachDependents) {
  auto* obj = new ExpressionObject;
  Listener listener(obj);
  obj->pblock->SetValue(PB_FROWN, 0, 0.5f);
  EXPECT_EQ(listener.changes, 1);
  auto* target = new BoxObject;
  obj->ReplaceReference(1 + TARGET_FROWN, target);
  target->SetSize(Point3(1, 1, 1));
  EXPECT_EQ(listener.changes, 2);
}

TEST_F(ExpressionObjectTest, CloneKeepsParametersAndAnimationButNoTargets) {
  ObjectPtr obj(new ExpressionObject);
  for (int i = 0; i < NUM_FACE_TARGETS; ++i) {
    obj->ReplaceReference(i + 1, Mesh(4));
    obj->targets[i].offsetTM = TransMatrix(Point3(1, 2, 3));
  }
  obj->pickButtonId = 1041;
  obj->pickTargetIndex = 1;
  obj->pblock->SetValue(PB_SCALE_RIGHT_CHEEK, 0, 2.0f);
  AnimateOn();
  obj->pblock->SetValue(PB_LEFT_CHEEK, 0, 0.0f);
  obj->pblock->SetValue(PB_LEFT_CHEEK, 160, 1.0f);
  AnimateOff();

  ObjectPtr copy(static_cast<ExpressionObject*>(obj->Clone(NoRemap())));
  ASSERT_NE(copy->pblock, nullptr);
  EXPECT_NE(copy->pblock, obj->pblock);
  for (int i = 0; i < 22; ++i) EXPECT_EQ(Param(copy.get(), i, 80), Param(obj.get(), i, 80)) << i;
  Control* c = copy->pblock->GetController(PB_LEFT_CHEEK);
  ASSERT_NE(c, nullptr);
  EXPECT_NE(c, obj->pblock->GetController(PB_LEFT_CHEEK));
  EXPECT_EQ(c->NumKeys(), 2);
  for (const TargetSlot& slot : copy->targets) {
    EXPECT_EQ(slot.object, nullptr);
    EXPECT_TRUE(slot.offsetTM.IsIdentity());
  }
  EXPECT_EQ(copy->pickButtonId, -1);
  EXPECT_EQ(copy->pickTargetIndex, -1);
  // Animating the copy leaves the original alone.
  copy->pblock->SetValue(PB_LEFT_CHEEK, 0, 0.25f);
  EXPECT_EQ(Param(obj.get(), PB_LEFT_CHEEK, 0), 0.0f);
}

TEST_F(ExpressionObjectTest, OkToCreateWantsOneFaceThatIsOrBecomesAMesh) {
  ClassDesc* cd = GetExpressionObjectDesc();
  INode* mesh = host.CreateNode(Mesh(3), "mesh");
  INode* box = host.CreateNode(new BoxObject, "box");
  INode* spray = host.CreateNode(new SprayObject(5), "spray");
  INode* lump = host.CreateNode(new Lump, "lump");
  INode* empty = host.CreateNode(nullptr, "empty");
  struct Case {
    const char* name;
    std::vector<INode*> selected;
    BOOL ok;
  } cases[] = {
      {"nothing selected", {}, FALSE},   {"two nodes", {mesh, box}, FALSE}, {"a mesh", {mesh}, TRUE},
      {"a box", {box}, TRUE},            {"particles", {spray}, FALSE},     {"a lump", {lump}, FALSE},
      {"a node without object", {empty}, FALSE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host.ClearSelection();
    for (INode* node : c.selected) host.Select(node, true);
    EXPECT_EQ(cd->OkToCreate(&host), c.ok);
  }
  host.Select(mesh);
  EXPECT_TRUE(cd->BeginCreate(&host));
  EXPECT_TRUE(cd->EndCreate(&host));
  EXPECT_TRUE(headless::AssertReports().empty());
}

TEST_F(ExpressionObjectTest, ConversionEvaluatesAndHandsOutNewObjects) {
  ObjectPtr obj(new ExpressionObject);
  obj->ReplaceReference(1, Mesh(3));
  host.SetTime(960);
  EXPECT_TRUE(obj->CanConvertToType(triObjectClassID));
  // It asked the result made for time 0.
  EXPECT_EQ(obj->cache.obj->ChannelValidity(960, GEOM_CHAN_NUM), Interval(0, 0));
  EXPECT_FALSE(obj->CanConvertToType(Class_ID(BOXOBJ_CLASS_ID, 0)));

  Object* first = obj->ConvertToType(320, triObjectClassID);
  Object* second = obj->ConvertToType(320, triObjectClassID);
  ASSERT_NE(first, nullptr);
  EXPECT_NE(first, second);
  EXPECT_NE(first, obj->cache.obj);
  EXPECT_EQ(first->NumPoints(), 3);
  EXPECT_EQ(first->GetPoint(2), Point3(2, 1, 2));
  first->DeleteThis();
  second->DeleteThis();
  EXPECT_EQ(obj->ConvertToType(0, Class_ID(BOXOBJ_CLASS_ID, 0)), nullptr);
}

TEST_F(ExpressionObjectTest, CreationCallbackPlacesTheNodeOnTheConstructionPlane) {
  ObjectPtr obj(new ExpressionObject);
  CreateMouseCallBack* cb = obj->GetCreateMouseCallBack();
  ASSERT_NE(cb, nullptr);
  headless::Viewport vpt;
  struct Case {
    int msg, point;
    int result;
    bool moves;
  } cases[] = {
      {MOUSE_POINT, 0, CREATE_CONTINUE, true}, {MOUSE_MOVE, 0, CREATE_CONTINUE, true},
      {MOUSE_MOVE, 1, CREATE_CONTINUE, true},  {MOUSE_POINT, 1, CREATE_STOP, true},
      {MOUSE_POINT, 2, CREATE_CONTINUE, false}, {MOUSE_FREEMOVE, 0, CREATE_CONTINUE, false},
      {MOUSE_ABORT, 0, CREATE_ABORT, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "msg " << c.msg << " point " << c.point);
    Matrix3 mat(1);
    EXPECT_EQ(cb->proc(&vpt, c.msg, c.point, 0, IPoint2(30, 40), mat), c.result);
    EXPECT_EQ(mat.GetTrans(), c.moves ? Point3(30, -40, 0) : Point3());
  }
}

}  // namespace
