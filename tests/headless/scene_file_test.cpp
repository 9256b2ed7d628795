// Saving and loading the headless scene: round trips, the rebuild order,
// files that must be refused, and the expression object's saved state.
#include <gtest/gtest.h>
#include <headless_host.h>
#include <headless_scene.h>
#include <iparamb.h>
#include <standard_geometry.h>
#include <standard_objects.h>
#include <triobj.h>

#include <cstdio>
#include <string>
#include <vector>

#include "mirovaobj.h"
#include "scene_classes.h"

namespace {

std::vector<std::string> callbackLog;

class LoggingCallback : public PostLoadCallback {
 public:
  LoggingCallback(std::string name, int priority, ReferenceMaker* owner)
      : name(std::move(name)), priority(priority), owner(owner) {}
  void proc(ILoad*) override {
    callbackLog.push_back(name + (owner->GetReference(0) ? " with block" : " without block"));
  }
  int Priority() override { return priority; }
  std::string name;
  int priority;
  ReferenceMaker* owner;
};

ParamBlockDescID widgetParams[] = {{TYPE_FLOAT, nullptr, TRUE, 0}, {TYPE_FLOAT, nullptr, FALSE, 4}};

// An object with a parameter block (reference 0), another object
// (reference 1) and nested chunks of its own.
class Widget : public GeomObject {
 public:
  IParamBlock* block = nullptr;
  Object* other = nullptr;
  std::string label;

  ~Widget() override { DeleteAllRefsFromMe(); }
  Class_ID ClassID() override { return Class_ID(0x1234, 0x5678); }
  CreateMouseCallBack* GetCreateMouseCallBack() override { return nullptr; }
  ObjectState Eval(TimeValue) override { return ObjectState(this); }
  int NumRefs() override { return 2; }
  RefTargetHandle GetReference(int i) override { return i == 0 ? static_cast<RefTargetHandle>(block) : other; }
  void SetReference(int i, RefTargetHandle t) override {
    if (i == 0) block = static_cast<IParamBlock*>(t);
    if (i == 1) other = static_cast<Object*>(t);
  }
  IOResult Save(ISave* isave) override {
    isave->BeginChunk(0x10);
    isave->BeginChunk(0x11);
    isave->WriteCString(label.c_str());
    isave->EndChunk();
    isave->EndChunk();
    return IO_OK;
  }
  IOResult Load(ILoad* iload) override {
    iload->RegisterPostLoadCallback(new LoggingCallback("late", 7, this));
    iload->RegisterPostLoadCallback(new LoggingCallback("early", 1, this));
    while (iload->OpenChunk() == IO_OK) {
      if (iload->CurChunkID() == 0x10 && iload->OpenChunk() == IO_OK) {
        char* text = nullptr;
        if (iload->CurChunkID() == 0x11 && iload->ReadCStringChunk(&text) == IO_OK) label = text;
        iload->CloseChunk();
      }
      iload->CloseChunk();
    }
    return IO_OK;
  }
};

// The widget's block may be of any version.
bool WidgetAccepts(int i, ReferenceTarget* target) {
  return i == 0 ? target->SuperClassID() == PARAMETER_BLOCK_CLASS_ID : headless::IsSceneObject(target);
}

class WidgetDesc : public ClassDesc {
 public:
  int IsPublic() override { return 0; }
  void* Create(BOOL) override { return new Widget; }
  const TCHAR* ClassName() override { return "Widget"; }
  SClass_ID SuperClassID() override { return GEOMOBJECT_CLASS_ID; }
  Class_ID ClassID() override { return Class_ID(0x1234, 0x5678); }
  const TCHAR* Category() override { return ""; }
} widgetDesc;

TriObject* Triangle(float z) {
  TriObject* tri = CreateNewTriObject();
  tri->mesh.setNumVerts(3);
  tri->mesh.setVert(0, 0, 0, z);
  tri->mesh.setVert(1, 1, 0, z);
  tri->mesh.setVert(2, 0, 1, z);
  tri->mesh.setNumFaces(1);
  tri->mesh.faces[0].setVerts(0, 1, 2);
  return tri;
}

float ParamAt(IParamBlock* block, int i, TimeValue t) {
  float v = 0.0f;
  Interval valid = FOREVER;
  block->GetValue(i, t, v, valid);
  return v;
}

class SceneFileTest : public testing::Test {
 protected:
  // The file is refused with an error saying so, and the scene is as it was.
  static void ExpectRefused(const std::string& text, const char* expected) {
    headless::Host host;
    INode* kept = host.CreateNode(Triangle(0), "kept");
    std::string error;
    EXPECT_FALSE(headless::LoadSceneText(host, text, &error));
    EXPECT_NE(error.find(expected), std::string::npos) << error;
    ASSERT_EQ(host.Nodes().size(), 1u);
    EXPECT_EQ(host.Nodes()[0], kept);
  }
  void SetUp() override {
    headless::RegisterClassDesc(&widgetDesc, WidgetAccepts);
    scene_classes::RegisterExpressionObject();
    callbackLog.clear();
  }
  void TearDown() override { AnimateOff(); }

  // Builds a scene of every kind of record.
  void BuildScene(headless::Host& host) {
    host.SetFrameRate(25);
    TriObject* shared = Triangle(2.0f);
    INode* face = host.CreateNode(shared, "Face \"A\"\\1");
    AnimateOn();
    Point3 p(1, 2, 3);
    face->GetTMController()->GetPositionController()->SetValue(0, &p);
    p = Point3(4, 5, 6);
    face->GetTMController()->GetPositionController()->SetValue(320, &p);
    AnimateOff();
    face->SetObjOffsetPos(Point3(0.5f, 0, 0));
    face->SetObjOffsetRot(Quat(AngAxis(Point3(0, 0, 1), 0.3f)));
    face->SetObjOffsetScale(ScaleValue(Point3(1, 2, 3)));
    host.CreateNode(MakeObjectDerivedObject(shared), "derived");
    host.CreateNode(new BoxObject(Point3(1, 2, 3)), "box");

    auto* widget = new Widget;
    widget->label = "hello";
    widget->MakeRefByID(FOREVER, 0, CreateParameterBlock(widgetParams, 2, 3));
    widget->MakeRefByID(FOREVER, 1, new SprayObject(2));
    widget->block->SetValue(1, 0, 0.125f);
    AnimateOn();
    widget->block->SetValue(0, 0, 1.0f);
    widget->block->SetValue(0, 100, 3.0f);
    AnimateOff();
    host.Select(host.CreateNode(widget, "widget"));
    host.SetTime(320);
  }
};

TEST_F(SceneFileTest, RoundTripRebuildsTheSameScene) {
  std::string saved;
  {
    headless::Host host;
    BuildScene(host);
    saved = headless::SceneText(host);
  }
  headless::Host host;
  std::string error;
  ASSERT_TRUE(headless::LoadSceneText(host, saved, &error)) << error;
  EXPECT_EQ(headless::SceneText(host), saved);

  ASSERT_EQ(host.Nodes().size(), 4u);
  INode* face = host.Nodes()[0];
  EXPECT_STREQ(face->GetName(), "Face \"A\"\\1");
  EXPECT_EQ(host.FrameRate(), 25);
  EXPECT_EQ(host.GetTime(), 320);
  EXPECT_TRUE(face->GetNodeTM(160).GetTrans().Equals(Point3(2.5f, 3.5f, 4.5f)));
  EXPECT_EQ(face->GetObjOffsetPos(), Point3(0.5f, 0, 0));
  // One object referenced twice stays one object.
  Object* derived = host.Nodes()[1]->GetObjectRef();
  EXPECT_EQ(derived->GetReference(0), face->GetObjectRef());
  EXPECT_EQ(derived->NumPoints(), 3);
  auto* tri = static_cast<TriObject*>(face->GetObjectRef());
  EXPECT_EQ(tri->mesh.getVert(2), Point3(0, 1, 2));
  EXPECT_EQ(tri->mesh.faces[0], tri->mesh.faces[0]);
  EXPECT_EQ(tri->mesh.faces[0].getVert(1), 1u);
  EXPECT_EQ(static_cast<BoxObject*>(host.Nodes()[2]->GetObjectRef())->GetSize(), Point3(1, 2, 3));

  INode* widgetNode = host.Nodes()[3];
  EXPECT_EQ(host.GetSelNodeCount(), 1);
  EXPECT_EQ(host.GetSelNode(0), widgetNode);
  auto* widget = static_cast<Widget*>(widgetNode->GetObjectRef());
  EXPECT_EQ(widget->label, "hello");
  EXPECT_EQ(widget->block->GetVersion(), 3u);
  EXPECT_EQ(widget->block->GetDesc(1).id, 4u);
  EXPECT_FALSE(widget->block->GetDesc(1).animatable);
  EXPECT_EQ(widget->block->GetController(0)->NumKeys(), 2);
  EXPECT_FLOAT_EQ(ParamAt(widget->block, 0, 50), 2.0f);
  EXPECT_EQ(ParamAt(widget->block, 1, 0), 0.125f);
  EXPECT_EQ(widget->other->NumPoints(), 2);
  EXPECT_EQ(callbackLog, (std::vector<std::string>{"early with block", "late with block"}));
}

TEST_F(SceneFileTest, SaveAndLoadThroughAFile) {
  std::string path = testing::TempDir() + "scene_file_test.scene";
  std::string saved;
  {
    headless::Host host;
    BuildScene(host);
    saved = headless::SceneText(host);
    ASSERT_TRUE(headless::SaveScene(host, path));
  }
  headless::Host host;
  host.CreateNode(Triangle(0), "replaced");
  ASSERT_TRUE(headless::LoadScene(host, path));
  EXPECT_EQ(headless::SceneText(host), saved);
  std::remove(path.c_str());
  std::string error;
  EXPECT_FALSE(headless::LoadScene(host, path, &error));
  EXPECT_NE(error.find("cannot read"), std::string::npos);
}

TEST_F(SceneFileTest, RefusedFileLeavesTheSceneAsItWas) {
  const std::string head = "mirova-scene 1\n";
  struct Case {
    const char* name;
    std::string text;
    const char* error;
  } cases[] = {
      {"empty", "", "not a scene file"},
      {"later version", "mirova-scene 2\n", "version 2"},
      {"unknown line", head + "colour red\n", "line 2: unexpected colour"},
      {"record without end", head + "object 1 0x10 0x9 0x0\n", "record without end"},
      {"missing record", head + "node 1 \"n\"\n ref 1 2\nend\n", "missing record 2"},
      {"unknown class", head + "object 1 0x10 0x77 0x0\nend\n", "no class"},
      {"bad hex", head + "object 1 0x10 0x9 0x0\n chunk 0x914 0g\nend\n", "bad chunk"},
      {"node's object is a controller",
       head + "control 1 0x9003 0x2007 0x0\n value 1\nend\nnode 2 \"n\"\n ref 1 1\nend\n",
       "a node references"},
      {"value of the wrong size", head + "control 1 0x9003 0x2007 0x0\n value 1 2\nend\n", "expected 1"},
      {"parameters out of order",
       head + "paramblock 1 version 0\n param 1 float id 0 animatable 1 value 0\nend\n", "out of order"},
      {"reference the maker lacks", head + "object 1 0x10 0x10 0x0\n ref 3 2\nend\nobject 2 0x10 0x10 0x0\nend\n",
       "no reference 3"},
      {"face beyond the points",
       head + "object 1 0x10 0x9 0x0\n chunk 0x916 0100000002000000030000000000000000000000\nend\n",
       "does not load"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectRefused(c.text, c.error);
  }
}

const char expression[] = " 0x10 0x5ff304c1 0x3c372967\n";

// A parameter block record of count float parameters with ids from 0.
std::string Block(int id, int version, int count, const std::string& refs = "") {
  std::string text = "paramblock " + std::to_string(id) + " version " + std::to_string(version) + "\n";
  for (int i = 0; i < count; ++i)
    text += " param " + std::to_string(i) + " float id " + std::to_string(i) + " animatable 1 value 0\n";
  return text + refs + "end\n";
}

// A node showing record 2, then pipelines 2, 3 ... each on the next, the
// last on a mesh: a chain of references records long.
std::string Chain(int records) {
  std::string text = "mirova-scene 1\nnode 1 \"n\"\n ref 1 2\nend\n";
  for (int id = 2; id < records; ++id)
    text += "object " + std::to_string(id) + " 0x2 0xe00 0x0\n ref 0 " + std::to_string(id + 1) + "\nend\n";
  return text + "object " + std::to_string(records) + " 0x10 0x9 0x0\nend\n";
}

// An expression object on a node whose first chunk holds depth chunks, each
// inside the one before.
std::string NestedChunks(int depth) {
  std::string text = "mirova-scene 1\nnode 1 \"n\"\n ref 1 2\nend\nobject 2" + std::string(expression);
  for (int i = 0; i < depth; ++i) text += "chunk 0x7 - {\n";
  for (int i = 0; i < depth; ++i) text += "}\n";
  return text + "end\n";
}

// Each of these would load, replace the scene and then crash or misbehave
// when evaluated, or exhaust the stack while being read.
TEST_F(SceneFileTest, DamagedReferencesAndNestingAreRefusedBeforeAnythingChanges) {
  const std::string head = "mirova-scene 1\n";
  const std::string face = head + "node 1 \"n\"\n ref 1 2\nend\nobject 2" + expression;
  const std::string mesh = "object 9 0x10 0x9 0x0\nend\n";
  struct Case {
    const char* name;
    std::string text;
    const char* error;
  } cases[] = {
      {"expression block pointed at a mesh", face + " ref 0 9\nend\n" + mesh, "line 5: reference 0 cannot hold record 9"},
      {"expression target pointed at a block", face + " ref 1 3\nend\n" + Block(3, 1, 22),
       "reference 1 cannot hold record 3"},
      {"expression block of a version it does not know", face + " ref 0 3\nend\n" + Block(3, 2, 22),
       "reference 0 cannot hold record 3"},
      {"expression block short of parameters", face + " ref 0 3\nend\n" + Block(3, 1, 3),
       "reference 0 cannot hold record 3"},
      {"parameter at a position controller",
       face + " ref 0 3\nend\n" + Block(3, 1, 22, " ref 4 4\n") + "control 4 0x900b 0x2002 0x0\n value 1 2 3\nend\n",
       "reference 4 cannot hold record 4"},
      {"rotation at a scale controller",
       head + "control 1 0x9008 0x2005 0x0\n ref 1 2\nend\ncontrol 2 0x900d 0x2004 0x0\n value 1 1 1 0 0 0 1\nend\n",
       "reference 1 cannot hold record 2"},
      {"node transform at a float controller",
       head + "node 1 \"n\"\n ref 0 2\nend\ncontrol 2 0x9003 0x2007 0x0\n value 1\nend\n", "a node references"},
      {"node reference past its two", head + "node 1 \"n\"\n ref 2 9\nend\n" + mesh, "a node references"},
      {"controller at itself", head + "control 1 0x9008 0x2005 0x0\n ref 0 1\nend\n",
       "line 2: record 1 references itself through a cycle"},
      {"expression target at itself", face + " ref 1 2\nend\n", "record 2 references itself through a cycle"},
      {"pipelines on each other, below a node",
       head + "node 1 \"n\"\n ref 1 2\nend\nobject 2 0x2 0xe00 0x0\n ref 0 3\nend\n"
              "object 3 0x2 0xe00 0x0\n ref 0 4\nend\nobject 4 0x2 0xe00 0x0\n ref 0 3\nend\n",
       "references itself through a cycle"},
      {"offset transforms cut short", face + " chunk 0x100 0000803f0000803f\nend\n", "line 5: the object's data does not load"},
      {"a frame rate of less than a tick a frame", head + "frame-rate 4801\n", "line 2: a frame rate of 4801"},
      {"references nested too deep", Chain(101), "references nest more than 100 deep"},
      {"chunks nested too deep", NestedChunks(33), "line 38: chunks nest more than 32 deep"},
      {"chunks nested deeper than a stack could follow", NestedChunks(300000), "chunks nest more than 32 deep"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectRefused(c.text, c.error);
  }
}

TEST_F(SceneFileTest, NestingUpToTheLimitsLoads) {
  for (const std::string& text : {Chain(100), NestedChunks(32)}) {
    headless::Host host;
    std::string error;
    EXPECT_TRUE(headless::LoadSceneText(host, text, &error)) << error;
    EXPECT_EQ(host.Nodes().size(), 1u);
  }
}

TEST_F(SceneFileTest, RecordsNoNodeReachesAreDropped) {
  // A lone mesh and a lone controller: nothing leaks (the sanitizer build checks).
  headless::Host host;
  ASSERT_TRUE(headless::LoadSceneText(
      host, "mirova-scene 1\n# nothing but comments and orphans\n\nobject 5 0x10 0x9 0x0\nend\n"
            "control 6 0x9003 0x2007 0x0\n key 0 1\nend\n"));
  EXPECT_TRUE(host.Nodes().empty());
}

// An expression object as an older version of the library saved it: a
// version-0 block of 14 parameters, some animated, and no offset transforms.
std::string VersionZeroScene() {
  std::string text = "mirova-scene 1\nnode 1 \"face\"\n ref 1 2\nend\n";
  text += "object 2 0x10 0x5ff304c1 0x3c372967\n ref 0 3\n ref 1 4\nend\n";
  text += "paramblock 3 version 0\n";
  for (int i = 0; i < 14; ++i)
    text += " param " + std::to_string(i) + " float id " + std::to_string(i) + " animatable 1 value 0.5\n";
  for (int i = 0; i < 14; i += 3) text += " ref " + std::to_string(i) + " " + std::to_string(10 + i) + "\n";
  text += "end\n";
  for (int i = 0; i < 14; i += 3)
    text += "control " + std::to_string(10 + i) + " 0x9003 0x2007 0x0\n key 0 0\n key 480 " +
            std::to_string(i) + "\nend\n";
  text += "object 4 0x10 0x9 0x0\nend\n";
  return text;
}

TEST_F(SceneFileTest, VersionZeroBlockLoadsAsTwentyTwoParametersKeepingItsAnimation) {
  headless::Host host;
  std::string error;
  ASSERT_TRUE(headless::LoadSceneText(host, VersionZeroScene(), &error)) << error;
  auto* obj = static_cast<ExpressionObject*>(host.Nodes()[0]->GetObjectRef());
  ASSERT_NE(obj->pblock, nullptr);
  EXPECT_EQ(obj->pblock->GetVersion(), 1u);
  ASSERT_EQ(obj->pblock->NumParams(), 22);
  for (int i = 0; i < 22; ++i) {
    SCOPED_TRACE(i);
    bool animated = i < 14 && i % 3 == 0;
    Control* c = obj->pblock->GetController(i);
    EXPECT_EQ(c != nullptr, animated);
    if (animated) {
      EXPECT_EQ(c->NumKeys(), 2);
    }
    float expected = animated ? i / 2.0f : (i < 14 ? 0.5f : 0.0f);
    EXPECT_FLOAT_EQ(ParamAt(obj->pblock, i, 240), expected);
  }
  for (const TargetSlot& slot : obj->targets) EXPECT_TRUE(slot.offsetTM.IsIdentity());
  EXPECT_NE(obj->targets[0].object, nullptr);
  // Saved again, it is a version-1 block.
  EXPECT_NE(headless::SceneText(host).find(" version 1\n"), std::string::npos);
}

TEST_F(SceneFileTest, ExpressionObjectKeepsTargetsAndOffsetTransforms) {
  std::string saved;
  Matrix3 offsets[NUM_FACE_TARGETS];
  {
    headless::Host host;
    auto* obj = new ExpressionObject;
    for (int i = 0; i < NUM_FACE_TARGETS; i += 2) {
      obj->ReplaceReference(i + 1, Triangle(static_cast<float>(i)));
      offsets[i] = RotateZMatrix(0.1f * i) * TransMatrix(Point3(1.0f * i, -2.0f, 0.5f));
      obj->targets[i].offsetTM = offsets[i];
    }
    for (int i = 1; i < NUM_FACE_TARGETS; i += 2) offsets[i] = Matrix3(1);
    AnimateOn();
    obj->pblock->SetValue(PB_FROWN, 160, 0.75f);
    AnimateOff();
    host.CreateNode(obj, "face");
    saved = headless::SceneText(host);
  }
  headless::Host host;
  ASSERT_TRUE(headless::LoadSceneText(host, saved));
  auto* obj = static_cast<ExpressionObject*>(host.Nodes()[0]->GetObjectRef());
  for (int i = 0; i < NUM_FACE_TARGETS; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(obj->targets[i].object != nullptr, i % 2 == 0);
    EXPECT_EQ(obj->targets[i].offsetTM, offsets[i]);
  }
  EXPECT_FLOAT_EQ(ParamAt(obj->pblock, PB_FROWN, 160), 0.75f);
  EXPECT_FLOAT_EQ(ParamAt(obj->pblock, PB_SCALE_FROWN, 160), 0.5f);
  EXPECT_EQ(headless::SceneText(host), saved);
}

}  // namespace

namespace {

// A keyed camera and a light come back from a saved scene as the same kinds
// of object with the same keys.
TEST(SceneFileCameras, KeyedCameraAndLightSurviveARoundTrip) {
  headless::Host host;
  INode* camera = host.CreateNode(NewDefaultCamera(FREE_CAMERA), "camera");
  host.CreateNode(NewDefaultCamera(TARGETED_CAMERA), "target camera");
  host.CreateNode(NewDefaultLight(OMNI_LIGHT), "light");
  AnimateOn();
  Point3 p(1, 2, 3);
  camera->GetTMController()->GetPositionController()->SetValue(160, &p);
  AnimateOff();

  std::string saved = headless::SceneText(host);
  headless::Host loaded;
  std::string error;
  ASSERT_TRUE(headless::LoadSceneText(loaded, saved, &error)) << error;
  ASSERT_EQ(loaded.Nodes().size(), 3u);
  EXPECT_EQ(loaded.Nodes()[0]->GetObjectRef()->ClassID(), Class_ID(SIMPLE_CAM_CLASS_ID, 0));
  EXPECT_EQ(loaded.Nodes()[1]->GetObjectRef()->ClassID(), Class_ID(LOOKAT_CAM_CLASS_ID, 0));
  EXPECT_EQ(loaded.Nodes()[2]->GetObjectRef()->SuperClassID(), static_cast<SClass_ID>(LIGHT_CLASS_ID));
  Control* position = loaded.Nodes()[0]->GetTMController()->GetPositionController();
  ASSERT_EQ(position->NumKeys(), 1);
  EXPECT_EQ(position->GetKeyTime(0), 160);
  EXPECT_EQ(headless::SceneText(loaded), saved);
}

}  // namespace
