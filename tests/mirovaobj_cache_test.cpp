// The arrays evaluation keeps between calls: every change of what they were
// made from shows at the next evaluation, they are made only for targets in
// use and read again only after such a change, their memory is bounded and
// given back, and the blend equals the formula read afresh from the targets.
#include <gtest/gtest.h>
#include <headless.h>
#include <headless_host.h>
#include <headless_scene.h>
#include <standard_geometry.h>
#include <triobj.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <vector>

#include "mirovaobj.h"
#include "scene_classes.h"

namespace {

using Points = std::vector<Point3>;

// The blend as evaluation defines it, in the same float arithmetic, read
// afresh from the object's slots at t: what any kept array must reproduce.
Points Reference(ExpressionObject* obj, TimeValue t = 0) {
  Object* neutral = obj->targets[TARGET_NEUTRAL].object->Eval(t).obj;
  const int n = neutral->NumPoints();
  const Matrix3 m0 = obj->targets[TARGET_NEUTRAL].offsetTM;
  float w[NUM_CHANNELS];
  obj->ChannelWeights(t, w);
  Points out;
  for (int k = 0; k < n; ++k) out.push_back(neutral->GetPoint(k) * m0);
  for (int c = 0; c < NUM_CHANNELS; ++c) {
    Object* target = obj->targets[c + 1].object;
    if (w[c] == 0.0f || std::isnan(w[c]) || !target || target->NumPoints() < n) continue;
    const Matrix3& mj = obj->targets[c + 1].offsetTM;
    for (int k = 0; k < n; ++k) out[k] += (target->GetPoint(k) * mj - neutral->GetPoint(k) * m0) * w[c];
  }
  return out;
}

Points PointsOf(Object* obj) {
  Points points;
  for (int i = 0; i < obj->NumPoints(); ++i) points.push_back(obj->GetPoint(i));
  return points;
}

// Within 1e-6 of each expected point's size (at least 1).
::testing::AssertionResult Close(const Points& actual, const Points& expected) {
  if (actual.size() != expected.size())
    return ::testing::AssertionFailure() << actual.size() << " points, expected " << expected.size();
  for (size_t k = 0; k < actual.size(); ++k) {
    const float tolerance = 1e-6f * std::max(1.0f, expected[k].Length());
    if (!actual[k].Equals(expected[k], tolerance))
      return ::testing::AssertionFailure() << "point " << k << ": (" << actual[k].x << ", " << actual[k].y << ", "
                                           << actual[k].z << ") vs (" << expected[k].x << ", " << expected[k].y
                                           << ", " << expected[k].z << ")";
  }
  return ::testing::AssertionSuccess();
}

Points RandomPoints(std::mt19937& rng, int n) {
  std::uniform_real_distribution<float> coordinate(-50.0f, 50.0f);
  Points p(static_cast<size_t>(n));
  for (Point3& q : p) q = Point3(coordinate(rng), coordinate(rng), coordinate(rng));
  return p;
}

Matrix3 RandomTransform(std::mt19937& rng) {
  std::uniform_real_distribution<float> angle(-3.0f, 3.0f), size(0.5f, 2.0f), move(-10.0f, 10.0f);
  return ScaleMatrix(Point3(size(rng), size(rng), size(rng))) * RotateXMatrix(angle(rng)) *
         RotateZMatrix(angle(rng)) * TransMatrix(Point3(move(rng), move(rng), move(rng)));
}

TriObject* MeshOf(const Points& points) {
  TriObject* tri = CreateNewTriObject();
  tri->mesh.setNumVerts(static_cast<int>(points.size()));
  std::copy(points.begin(), points.end(), tri->mesh.verts);
  return tri;
}

SprayObject* SprayOf(const Points& points) {
  auto* spray = new SprayObject(static_cast<int>(points.size()));
  for (size_t i = 0; i < points.size(); ++i) spray->SetPoint(static_cast<int>(i), points[i]);
  return spray;
}

// Particles that count how often their points are read.
class CountingSpray : public SprayObject {
 public:
  explicit CountingSpray(const Points& points) : SprayObject(static_cast<int>(points.size())) {
    for (size_t i = 0; i < points.size(); ++i) SprayObject::SetPoint(static_cast<int>(i), points[i]);
  }
  Point3 GetPoint(int i) override {
    ++reads;
    return SprayObject::GetPoint(i);
  }
  int reads = 0;
};

// A mesh whose evaluated points slide along X with time, valid one instant
// at a time, as an animated face would be.
class SlidingMesh : public TriObject {
 public:
  explicit SlidingMesh(const Points& rest) : rest(rest) {
    mesh.setNumVerts(static_cast<int>(rest.size()));
    std::copy(rest.begin(), rest.end(), mesh.verts);
  }
  ObjectState Eval(TimeValue t) override {
    for (size_t k = 0; k < rest.size(); ++k) mesh.verts[k] = rest[k] + Point3(0.25f * t, 0.0f, 0.0f);
    SetChannelValidity(GEOM_CHAN_NUM, Interval(t, t));
    return ObjectState(this);
  }

 private:
  Points rest;
};

// Bytes of `arrays` arrays of n points.
size_t ArrayBytes(int arrays, int n) { return static_cast<size_t>(arrays) * n * sizeof(Point3); }

// Public: the cases' functions act on the fixture.
class CacheTest : public testing::Test {
 public:
  void SetUp() override { obj = new ExpressionObject; }
  void TearDown() override {
    if (obj) obj->DeleteThis();
  }

  TriObject* Mesh(int slot) { return static_cast<TriObject*>(obj->targets[slot].object); }
  void Assign(int slot, Object* shape) { obj->ReplaceReference(slot + 1, shape); }
  void Set(int param, float value) { obj->pblock->SetValue(param, 0, value); }
  Points EvalPoints(TimeValue t = 0) { return PointsOf(obj->Eval(t).obj); }

  // A face of n random points with eleven random targets, random offsets and
  // every weight non-zero.
  void MakeFace(int n) {
    for (int j = 0; j < NUM_FACE_TARGETS; ++j) {
      Assign(j, MeshOf(RandomPoints(rng, n)));
      obj->targets[j].offsetTM = RandomTransform(rng);
    }
    for (int c = 0; c < NUM_CHANNELS; ++c) Set(expressionChannels[c].percentIndex, 0.2f + 0.05f * c);
  }
  // Every point of mesh moved at random; announced as an edit would be.
  void Move(TriObject* mesh, bool announce = true) {
    std::uniform_real_distribution<float> step(-1.0f, 1.0f);
    for (int k = 0; k < mesh->mesh.getNumVerts(); ++k) mesh->mesh.verts[k] += Point3(step(rng), step(rng), step(rng));
    if (announce) mesh->NotifyDependents(FOREVER, PART_GEOM, REFMSG_CHANGE);
  }
  // mesh with n points, new ones random, unannounced.
  void Resize(TriObject* mesh, int n) {
    const int had = mesh->mesh.getNumVerts();
    mesh->mesh.setNumVerts(n, TRUE);
    Points more = RandomPoints(rng, n);
    for (int k = had; k < n; ++k) mesh->mesh.verts[k] = more[k];
  }

  headless::Host host;
  ExpressionObject* obj = nullptr;
  std::mt19937 rng{7};
  TriObject* source = nullptr;  // what a referencing target was made on
};

TEST_F(CacheTest, ChangedGeometryShowsAtTheNextEvaluation) {
  const int n = 40;
  const struct Case {
    const char* name;
    std::function<void(CacheTest&)> prepare, change;
  } cases[] = {
      {"an expression target's points move", nullptr, [](CacheTest& f) { f.Move(f.Mesh(TARGET_OPEN)); }},
      {"the Neutral's points move", nullptr, [](CacheTest& f) { f.Move(f.Mesh(TARGET_NEUTRAL)); }},
      {"a target at zero weight moves, then its weight returns", nullptr,
       [](CacheTest& f) {
         f.Set(PB_LEFT_CHEEK, 0.0f);
         f.obj->Eval(0);
         f.Move(f.Mesh(TARGET_LEFT_CHEEK));
         f.Set(PB_LEFT_CHEEK, 0.4f);
       }},
      {"the source of a target picked as a reference moves",
       [](CacheTest& f) {
         f.source = MeshOf(RandomPoints(f.rng, n));
         f.Assign(TARGET_FROWN, MakeObjectDerivedObject(f.source));
       },
       [](CacheTest& f) { f.Move(f.source); }},
      {"one mesh filling two slots moves",
       [](CacheTest& f) { f.Assign(TARGET_RIGHT_CHEEK, f.Mesh(TARGET_LEFT_CHEEK)); },
       [](CacheTest& f) { f.Move(f.Mesh(TARGET_LEFT_CHEEK)); }},
      {"an expression target is replaced", nullptr,
       [](CacheTest& f) { f.Assign(TARGET_OPEN, MeshOf(RandomPoints(f.rng, n))); }},
      {"a target swapped out, edited and swapped back", nullptr,
       [](CacheTest& f) {
         TriObject* shape = f.Mesh(TARGET_OPEN);
         f.Assign(TARGET_RIGHT_SQUINT, shape);  // keeps it alive meanwhile
         f.Assign(TARGET_OPEN, MeshOf(RandomPoints(f.rng, n)));
         f.Move(shape);
         f.Assign(TARGET_OPEN, shape);
       }},
      {"the Neutral is replaced by one of as many points", nullptr,
       [](CacheTest& f) { f.Assign(TARGET_NEUTRAL, MeshOf(RandomPoints(f.rng, n))); }},
      {"an expression target's offset transform is set", nullptr,
       [](CacheTest& f) { f.obj->targets[TARGET_PUCKERED].offsetTM = RandomTransform(f.rng); }},
      {"the Neutral's offset transform is set", nullptr,
       [](CacheTest& f) { f.obj->targets[TARGET_NEUTRAL].offsetTM = RandomTransform(f.rng); }},
      {"the host clears a target", nullptr, [](CacheTest& f) { f.obj->DeleteReference(TARGET_OPEN + 1); }},
      {"every shape gains points, unannounced", nullptr,
       [](CacheTest& f) {
         for (int j = 0; j < NUM_FACE_TARGETS; ++j) f.Resize(f.Mesh(j), n + 7);
       }},
      {"the Neutral alone gains points, unannounced", nullptr,
       [](CacheTest& f) { f.Resize(f.Mesh(TARGET_NEUTRAL), n + 3); }},
      {"the Neutral alone loses points, unannounced", nullptr,
       [](CacheTest& f) { f.Resize(f.Mesh(TARGET_NEUTRAL), n - 5); }},
      {"a target loses points, unannounced", nullptr, [](CacheTest& f) { f.Resize(f.Mesh(TARGET_OPEN), n - 1); }},
      {"a target is remade with more points, unannounced", nullptr,
       [](CacheTest& f) {
         f.Resize(f.Mesh(TARGET_OPEN), n + 2);
         f.Move(f.Mesh(TARGET_OPEN), false);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    obj->DeleteThis();
    obj = new ExpressionObject;
    MakeFace(n);
    if (c.prepare) c.prepare(*this);
    const Points before = EvalPoints();
    ASSERT_TRUE(Close(before, Reference(obj)));
    ASSERT_TRUE(Close(EvalPoints(), before)) << "a second evaluation";
    c.change(*this);
    const Points after = EvalPoints();
    EXPECT_TRUE(Close(after, Reference(obj)));
    EXPECT_FALSE(Close(after, before)) << "the change must show";
  }
}

TEST_F(CacheTest, AnimatedNeutralIsBlendedAsItIsAtEachTime) {
  const Points rest = RandomPoints(rng, 30);
  MakeFace(30);
  Assign(TARGET_NEUTRAL, new SlidingMesh(rest));
  for (TimeValue t : {0, 40, 40, 0, 1}) {
    SCOPED_TRACE(t);
    const Points result = EvalPoints(t);
    EXPECT_TRUE(Close(result, Reference(obj, t)));
  }
  EXPECT_FALSE(Close(EvalPoints(0), EvalPoints(40)));
}

// A target's points are read when its array is made, and again only after
// something it was made from changed.
TEST_F(CacheTest, TargetIsReadOnFirstUseAndAfterEachChangeOnly) {
  const int n = 25;
  MakeFace(n);
  auto* spray = new CountingSpray(RandomPoints(rng, n));
  Assign(TARGET_OPEN, spray);
  for (int i = 0; i < NUM_CHANNEL_PARAMS; ++i) Set(i, ChannelCreationValue(i));
  const struct Step {
    const char* name;
    std::function<void(CacheTest&, CountingSpray*)> act;
    bool read;
    TimeValue t;
  } steps[] = {
      {"every weight zero", nullptr, false, 0},
      {"its weight set", [](CacheTest& f, CountingSpray*) { f.Set(PB_MOUTH_VERTICAL, 0.6f); }, true, 0},
      {"evaluated again", nullptr, false, 0},
      {"evaluated at another time", nullptr, false, 320},
      {"weights changed", [](CacheTest& f, CountingSpray*) { f.Set(PB_MOUTH_VERTICAL, 0.9f); }, false, 0},
      {"another target's weight set", [](CacheTest& f, CountingSpray*) { f.Set(PB_FROWN, 1.0f); }, false, 0},
      {"another target changed", [](CacheTest& f, CountingSpray*) { f.Move(f.Mesh(TARGET_FROWN)); }, false, 0},
      {"its offset set to what it was",
       [](CacheTest& f, CountingSpray*) {
         f.obj->targets[TARGET_OPEN].offsetTM = Matrix3(f.obj->targets[TARGET_OPEN].offsetTM);
       },
       false, 0},
      {"its change message",
       [](CacheTest&, CountingSpray* s) { s->NotifyDependents(FOREVER, PART_GEOM, REFMSG_CHANGE); }, true, 0},
      {"its offset set",
       [](CacheTest& f, CountingSpray*) { f.obj->targets[TARGET_OPEN].offsetTM = TransMatrix(Point3(1, 2, 3)); },
       true, 0},
      {"the Neutral changed", [](CacheTest& f, CountingSpray*) { f.Move(f.Mesh(TARGET_NEUTRAL)); }, true, 0},
      {"the Neutral's offset set",
       [](CacheTest& f, CountingSpray*) { f.obj->targets[TARGET_NEUTRAL].offsetTM = Matrix3(1); }, true, 0},
      {"its weight zero", [](CacheTest& f, CountingSpray*) { f.Set(PB_MOUTH_VERTICAL, 0.0f); }, false, 0},
      {"its weight back", [](CacheTest& f, CountingSpray*) { f.Set(PB_MOUTH_VERTICAL, 0.5f); }, false, 0},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    if (s.act) s.act(*this, spray);
    spray->reads = 0;
    const Points result = EvalPoints(s.t);
    EXPECT_EQ(spray->reads, s.read ? n : 0);
    EXPECT_TRUE(Close(result, Reference(obj, s.t)));
  }
}

TEST_F(CacheTest, MemoryFollowsTheTargetsInUseAndIsGivenBack) {
  const int n = 100;
  MakeFace(n);
  for (int i = 0; i < NUM_CHANNEL_PARAMS; ++i) Set(i, ChannelCreationValue(i));
  EXPECT_EQ(obj->BlendCacheBytes(), 0u);
  obj->Eval(0);
  EXPECT_EQ(obj->BlendCacheBytes(), 0u) << "nothing is kept while every weight is zero";
  // Each channel switched on adds one array; the first also the Neutral's.
  for (int c = 0; c < NUM_CHANNELS; ++c) {
    SCOPED_TRACE(expressionChannels[c].name);
    Set(expressionChannels[c].percentIndex, expressionChannels[c].inverted ? 0.5f : 0.7f);
    obj->Eval(0);
    EXPECT_EQ(obj->BlendCacheBytes(), ArrayBytes(c + 2, n));
  }
  // Changes and re-made arrays never hold more than one per slot.
  Move(Mesh(TARGET_NEUTRAL));
  obj->targets[TARGET_OPEN].offsetTM = TransMatrix(Point3(0, 0, 1));
  for (int j = 0; j < NUM_FACE_TARGETS; ++j) Resize(Mesh(j), n + 10);
  for (int i = 0; i < 3; ++i) obj->Eval(i);
  EXPECT_EQ(obj->BlendCacheBytes(), ArrayBytes(NUM_FACE_TARGETS, n + 10));
  // A target that falls short is left out and its array goes.
  Resize(Mesh(TARGET_FROWN), n);
  obj->Eval(0);
  EXPECT_EQ(obj->BlendCacheBytes(), ArrayBytes(NUM_FACE_TARGETS - 1, n + 10));
  // Emptied slots give their memory back; the Neutral's takes all with it.
  obj->DeleteReference(TARGET_OPEN + 1);
  EXPECT_EQ(obj->BlendCacheBytes(), ArrayBytes(NUM_FACE_TARGETS - 2, n + 10));
  obj->DeleteReference(TARGET_NEUTRAL + 1);
  EXPECT_EQ(obj->BlendCacheBytes(), 0u);
}

TEST_F(CacheTest, EveryWeightZeroGivesTheMovedNeutralAndKeepsNothing) {
  const int n = 2100;  // more than one block of the blend
  MakeFace(n);
  const Points neutral = PointsOf(Mesh(TARGET_NEUTRAL));
  Points moved;
  for (const Point3& p : neutral) moved.push_back(p * obj->targets[TARGET_NEUTRAL].offsetTM);
  for (int i = 0; i < NUM_CHANNEL_PARAMS; ++i) Set(i, ChannelCreationValue(i));
  EXPECT_EQ(EvalPoints(), moved);
  EXPECT_EQ(obj->BlendCacheBytes(), 0u);
  Set(PB_LEFT_SQUINT, 1.0f);
  EXPECT_TRUE(Close(EvalPoints(), Reference(obj)));
  EXPECT_GT(obj->BlendCacheBytes(), 0u);
  Set(PB_LEFT_SQUINT, 0.0f);
  EXPECT_EQ(EvalPoints(), moved) << "with arrays kept";
  // With the identity the result is the Neutral's own points.
  obj->targets[TARGET_NEUTRAL].offsetTM = Matrix3(1);
  EXPECT_EQ(EvalPoints(), neutral);
}

TEST_F(CacheTest, MatchesTheFormulaOnRandomFaces) {
  const struct Case {
    unsigned seed;
    int points;
    bool meshes;        // shapes as meshes, or particles read point by point
    unsigned assigned;  // bit j: slot j filled
  } cases[] = {
      {1, 1, true, 0xfff},    {2, 7, true, 0xfff},    {3, 1024, true, 0xfff}, {4, 1025, true, 0x5a5},
      {5, 3001, true, 0xfff}, {6, 333, false, 0xfff}, {7, 50, false, 0x0a3},  {8, 2049, true, 0x003},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "seed " << c.seed);
    obj->DeleteThis();
    obj = new ExpressionObject;
    rng.seed(c.seed);
    for (int j = 0; j < NUM_FACE_TARGETS; ++j) {
      obj->targets[j].offsetTM = RandomTransform(rng);
      if (!(c.assigned & (1u << j))) continue;
      const Points points = RandomPoints(rng, c.points);
      Assign(j, c.meshes ? static_cast<Object*>(MeshOf(points)) : SprayOf(points));
    }
    // New weights each round, the arrays kept: negative, above 100 %,
    // exactly zero and not a number among them.
    std::uniform_real_distribution<float> factor(-1.5f, 2.5f);
    for (int round = 0; round < 4; ++round) {
      SCOPED_TRACE(round);
      for (int i = 0; i < NUM_CHANNEL_PARAMS; ++i) Set(i, (i + round) % 7 == 3 ? 0.0f : factor(rng));
      if (round == 2) Set(PB_FROWN, std::nanf(""));
      EXPECT_TRUE(Close(EvalPoints(), Reference(obj)));
    }
  }
}

// A scene loaded over the face makes new objects from the file: they blend
// their own targets, and keep up with them.
TEST_F(CacheTest, FaceLoadedFromASceneBlendsItsOwnTargets) {
  scene_classes::RegisterExpressionObject();
  MakeFace(20);
  ExpressionObject* face = obj;
  obj = nullptr;  // the scene's from now on
  host.CreateNode(face, "Face");
  const Points saved = PointsOf(face->Eval(0).obj);
  const std::string text = headless::SceneText(host);
  std::string error;
  ASSERT_TRUE(headless::LoadSceneText(host, text, &error)) << error;
  ASSERT_EQ(host.Nodes().size(), 1u);
  Object* loaded = host.Nodes()[0]->GetObjectRef();
  ASSERT_EQ(loaded->ClassID(), EXPRESSION_OBJECT_CLASS_ID);
  face = static_cast<ExpressionObject*>(loaded);
  EXPECT_TRUE(Close(PointsOf(face->Eval(0).obj), saved));
  Move(static_cast<TriObject*>(face->targets[TARGET_OPEN].object));
  EXPECT_TRUE(Close(PointsOf(face->Eval(0).obj), Reference(face)));
}

}  // namespace
