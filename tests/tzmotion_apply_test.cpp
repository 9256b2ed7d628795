// "Apply To Camera" pressed on the panel: the keys it writes, where it puts
// them in time, and the cases it refuses without changing anything.
#include <cmath>

#include "tzmotion_fixture.h"

namespace {

using motion_test::MotionPanelTest;
using motion_test::Sample;

const double kPi = 3.14159265358979323846;

// Row-vector rotations (p * M), right-handed, as the host's matrix builders
// work.
struct M3 {
  double m[3][3];
};
M3 Mul(const M3& a, const M3& b) {
  M3 r{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 3; ++k) r.m[i][j] += a.m[i][k] * b.m[k][j];
  return r;
}
M3 Turn(int axis, double degrees) {
  double a = degrees * kPi / 180, c = std::cos(a), s = std::sin(a);
  int u = (axis + 1) % 3, v = (axis + 2) % 3;
  M3 r{};
  r.m[axis][axis] = 1;
  r.m[u][u] = r.m[v][v] = c;
  r.m[u][v] = s;
  r.m[v][u] = -s;
  return r;
}

// The camera's expected orientation: the base turn, then tilt, roll and pan,
// each about the fixed axes. The keys hold left-handed angles (the base
// -90, the tilt negated, roll and pan as read), so each is a right-handed
// turn by the opposite angle.
M3 ExpectedTurn(float tilt, float roll, float pan) {
  return Mul(Mul(Mul(Turn(0, 90), Turn(0, tilt)), Turn(1, -roll)), Turn(2, -pan));
}

// The rotation part of the camera's node transform at t against expected.
::testing::AssertionResult NodeTurnedBy(INode* camera, TimeValue t, const M3& expected) {
  Matrix3 m = camera->GetNodeTM(t);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      if (std::fabs(m[i][j] - expected.m[i][j]) > 1e-5)
        return ::testing::AssertionFailure() << "row " << i << " column " << j << ": " << m[i][j]
                                             << " vs " << expected.m[i][j];
  return ::testing::AssertionSuccess();
}

Sample Values(float track, float ew, float ns, float pan, float tilt, float roll) {
  return {{99, track, ew, ns, pan, tilt, roll}};
}

using ApplyToCamera = MotionPanelTest;

TEST_F(ApplyToCamera, KeysEverySampleOnceAndResetsTheScale) {
  KeyCameraByHand();
  Load(WriteTake({Values(1, 2, 3, 4, 5, 6), Values(1, 2, 3, 4, 5, 6), Values(1, 2, 3, 4, 5, 6)}));
  int redraws = host->RedrawCount();
  host->SetTime(320);
  headless::ResetRecords();
  Apply();

  motion_test::TrackState s = Tracks();
  std::vector<TimeValue> positionTimes, rotationTimes;
  for (auto& k : s.positions) positionTimes.push_back(k.first);
  for (auto& k : s.rotations) rotationTimes.push_back(k.first);
  EXPECT_EQ(positionTimes, (std::vector<TimeValue>{0, 160, 320}));
  EXPECT_EQ(rotationTimes, positionTimes);
  EXPECT_TRUE(s.scaleKeys.empty());
  EXPECT_EQ(s.scale, Point3(1, 1, 1));
  EXPECT_EQ(host->RedrawCount(), redraws + 1);
  EXPECT_EQ(host->LastRedrawTime(), 320);
  EXPECT_TRUE(headless::MessageBoxes().empty());
  EXPECT_EQ(Shown(IDC_MOTION_STATUS), "<none>");
  EXPECT_EQ(Shown(IDC_MOTION_PERCENT), "0");
  std::vector<std::string> cursors;
  for (HCURSOR c : headless::CursorHistory()) cursors.push_back(headless::CursorName(c));
  EXPECT_EQ(cursors, (std::vector<std::string>{"wait", "arrow"}));
}

TEST_F(ApplyToCamera, EachAxisDrivesItsOwnChannel) {
  struct Case {
    const char* name;
    int onlyBox;  // the one check box left on; 0 for all on, -1 for all off
    Sample sample;
    Point3 position;
  };
  const Case cases[] = {
      {"track", IDC_MOTION_TRACK, Values(10, 5, 7, 30, 90, 20), Point3(0, -10, 0)},
      {"east-west", IDC_MOTION_EAST_WEST, Values(10, 5, 7, 30, 90, 20), Point3(5, 0, 0)},
      {"north-south", IDC_MOTION_NORTH_SOUTH, Values(10, 5, 7, 30, 90, 20), Point3(0, 0, 7)},
      {"tilt", IDC_MOTION_TILT, Values(10, 5, 7, 30, 90, 20), Point3()},
      {"roll", IDC_MOTION_ROLL, Values(10, 5, 7, 30, 90, 20), Point3()},
      {"pan", IDC_MOTION_PAN, Values(10, 5, 7, 30, 90, 20), Point3()},
      {"all", 0, Values(10, 5, 7, 30, 40, 20), Point3(5, -10, 7)},
      {"none", -1, Values(10, 5, 7, 30, 40, 20), Point3()},
  };
  const int boxes[] = {IDC_MOTION_EAST_WEST, IDC_MOTION_TRACK, IDC_MOTION_NORTH_SOUTH,
                       IDC_MOTION_TILT,      IDC_MOTION_ROLL,  IDC_MOTION_PAN};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Load(WriteTake({c.sample}));
    for (int box : boxes) {
      bool wanted = c.onlyBox == 0 || box == c.onlyBox;
      if ((headless::CheckState(panel, box) == BST_CHECKED) != wanted) headless::Click(panel, box);
    }
    Apply();
    motion_test::TrackState s = Tracks();
    ASSERT_EQ(s.positions.size(), 1u);
    EXPECT_TRUE(s.positions[0].second.Equals(c.position)) << s.positions[0].second.y;
    auto on = [&](int box) { return c.onlyBox == 0 || box == c.onlyBox; };
    float tilt = on(IDC_MOTION_TILT) ? c.sample[5] : 0;
    float roll = on(IDC_MOTION_ROLL) ? c.sample[6] : 0;
    float pan = on(IDC_MOTION_PAN) ? c.sample[4] : 0;
    EXPECT_TRUE(NodeTurnedBy(camera, 0, ExpectedTurn(tilt, roll, pan)));
  }
}

// The camera at rest looks down its local -Z with +Y up; where the keyed
// node's transform points those two is where the take says it looks.
TEST_F(ApplyToCamera, TheCameraLooksWhereTheTakeTurnsIt) {
  const double c20 = std::cos(20 * kPi / 180), s20 = std::sin(20 * kPi / 180);
  const double c15 = std::cos(15 * kPi / 180), s15 = std::sin(15 * kPi / 180);
  struct Case {
    const char* name;
    Sample sample;
    Point3 view, up;
  };
  const Case cases[] = {
      {"level and upright", Values(0, 0, 0, 0, 0, 0), Point3(0, 1, 0), Point3(0, 0, 1)},
      {"tilt up", Values(0, 0, 0, 0, 20, 0), Point3(0, c20, s20), Point3(0, -s20, c20)},
      {"pan toward +X", Values(0, 0, 0, 30, 0, 0), Point3(0.5f, std::sqrt(0.75f), 0), Point3(0, 0, 1)},
      {"roll", Values(0, 0, 0, 0, 0, 15), Point3(0, 1, 0), Point3(-s15, 0, c15)},
      {"straight up", Values(0, 0, 0, 0, 90, 0), Point3(0, 0, 1), Point3(0, -1, 0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Load(WriteTake({c.sample}));
    Apply();
    Matrix3 tm = camera->GetNodeTM(0);
    EXPECT_TRUE(VectorTransform(tm, Point3(0, 0, -1)).Equals(c.view, 1e-5f));
    EXPECT_TRUE(VectorTransform(tm, Point3(0, 1, 0)).Equals(c.up, 1e-5f));
  }
}

TEST_F(ApplyToCamera, TiltOfNinetyAloneIsAHalfTurnAboutX) {
  for (int box : {IDC_MOTION_EAST_WEST, IDC_MOTION_TRACK, IDC_MOTION_NORTH_SOUTH, IDC_MOTION_ROLL,
                  IDC_MOTION_PAN})
    headless::Click(panel, box);
  Load(WriteTake({Values(0, 0, 0, 0, 90, 0)}));
  Apply();
  Quat q = Tracks().rotations.at(0).second;
  EXPECT_TRUE(q.Equals(Quat(AngAxis(Point3(1, 0, 0), -kPi)), 1e-6f));
  float angle;
  Point3 axis;
  AngAxisFromQ(q, &angle, axis);
  EXPECT_NEAR(angle, kPi, 1e-5);
  EXPECT_NEAR(std::fabs(axis.x), 1.0, 1e-5);
  EXPECT_TRUE(VectorTransform(camera->GetNodeTM(0), Point3(0, 0, -1)).Equals(Point3(0, 0, 1), 1e-5f));
}

TEST_F(ApplyToCamera, EverySampleLandsOnItsOwnTickWithoutDrift) {
  Load(WriteTake(std::vector<Sample>(1001, Values(0, 0, 0, 0, 0, 0))));
  for (int fps : {24, 25, 29, 30, 7, 4800, 1}) {
    SCOPED_TRACE(fps);
    TypeRate(std::to_string(fps));
    Apply();
    motion_test::TrackState s = Tracks();
    ASSERT_EQ(s.positions.size(), 1001u);
    for (int i = 0; i < 1001; ++i) {
      long long expected = static_cast<long long>(i) * 4800 / fps;
      ASSERT_EQ(s.positions[i].first, expected) << "sample " << i;
      ASSERT_EQ(s.rotations[i].first, expected) << "sample " << i;
    }
  }
  EXPECT_EQ(Tracks().positions[1000].first, 4800000);  // 1 FPS: a second a sample
  TypeRate("29");
  Apply();
  EXPECT_EQ(Tracks().positions[1000].first, 165517);  // not 1000 x 165
}

TEST_F(ApplyToCamera, AWrongSelectionChangesNothing) {
  Load(WriteTake({Values(1, 2, 3, 4, 5, 6)}));
  KeyCameraByHand();
  INode* other = host->CreateNode(NewDefaultCamera(FREE_CAMERA), "Camera02");
  INode* target = host->CreateNode(NewDefaultCamera(TARGETED_CAMERA), "Camera03");
  INode* light = host->CreateNode(NewDefaultLight(OMNI_LIGHT), "Omni01");
  INode* empty = host->CreateNode(nullptr, "Point01");
  const struct {
    const char* name;
    std::vector<INode*> selection;
  } cases[] = {{"nothing", {}},         {"two cameras", {camera, other}}, {"target camera", {target}},
               {"light", {light}},      {"no object", {empty}}};
  motion_test::TrackState before = Tracks();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    headless::ResetRecords();
    host->ClearSelection();
    for (INode* n : c.selection) host->Select(n, true);
    AnimateOn();
    Apply();
    EXPECT_TRUE(Animating());
    AnimateOff();
    ASSERT_EQ(headless::MessageBoxes().size(), 1u);
    const headless::MessageBoxRecord& box = headless::MessageBoxes()[0];
    EXPECT_EQ(box.text, "Select a Free Camera to which you want to apply the motion control data.");
    EXPECT_EQ(box.caption, "TzMotionControl");
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(box.style, static_cast<UINT>(MB_OK));
    EXPECT_TRUE(Tracks() == before);
    EXPECT_TRUE(headless::CursorHistory().empty());
  }
}

TEST_F(ApplyToCamera, ARateThatCannotKeyTheTakeChangesNothing) {
  Load(WriteTake({Values(1, 2, 3, 4, 5, 6), Values(1, 2, 3, 4, 5, 6)}));
  KeyCameraByHand();
  motion_test::TrackState before = Tracks();
  for (const char* typed : {"0", "", "4801", "99999999999"}) {
    SCOPED_TRACE(typed);
    headless::ResetRecords();
    TypeRate(typed);
    Apply();
    ASSERT_EQ(headless::MessageBoxes().size(), 1u);
    EXPECT_EQ(headless::MessageBoxes()[0].caption, "TzMotionControl");
    EXPECT_NE(headless::MessageBoxes()[0].text.find("1 to 4800"), std::string::npos);
    EXPECT_TRUE(Tracks() == before);
  }
}

TEST_F(ApplyToCamera, ATakeLongerThanTheHostsTimeAtItsRateChangesNothing) {
  // At 1 FPS, sample 447,393 would lie past the last tick the host can hold.
  MotionData& data = Utility().motionData;
  ASSERT_TRUE(data.Grow(447394, false));
  data.count = 447394;
  KeyCameraByHand();
  motion_test::TrackState before = Tracks();
  TypeRate("1");
  Apply();
  ASSERT_EQ(headless::MessageBoxes().size(), 1u);
  EXPECT_EQ(headless::MessageBoxes()[0].caption, "TzMotionControl");
  EXPECT_TRUE(Tracks() == before);
}

TEST_F(ApplyToCamera, ATransformWithoutASubControllerChangesNothing) {
  Load(WriteTake({Values(1, 2, 3, 4, 5, 6)}));
  KeyCameraByHand();
  motion_test::TrackState before = Tracks();
  Control* tm = camera->GetTMController();
  tm->SetRotationController(nullptr);
  headless::ResetRecords();
  AnimateOn();
  Apply();
  EXPECT_TRUE(Animating());
  AnimateOff();
  ASSERT_EQ(headless::MessageBoxes().size(), 1u);
  EXPECT_EQ(headless::MessageBoxes()[0].caption, "TzMotionControl");
  EXPECT_EQ(tm->GetPositionController()->NumKeys(), static_cast<int>(before.positions.size()));
  EXPECT_EQ(tm->GetScaleController()->NumKeys(), static_cast<int>(before.scaleKeys.size()));
  EXPECT_TRUE(headless::CursorHistory().empty());
}

TEST_F(ApplyToCamera, ASecondApplyReplacesTheKeysAndAnimateModeIsRestored) {
  for (bool animating : {true, false}) {
    SCOPED_TRACE(animating);
    Load(WriteTake({Values(1, 0, 0, 0, 0, 0), Values(2, 0, 0, 0, 0, 0), Values(3, 0, 0, 0, 0, 0)}));
    Apply();
    Load(WriteTake({Values(7, 0, 0, 0, 0, 0), Values(8, 0, 0, 0, 0, 0)}));
    animating ? AnimateOn() : AnimateOff();
    Apply();
    EXPECT_EQ(static_cast<bool>(Animating()), animating);
    AnimateOff();
    motion_test::TrackState s = Tracks();
    ASSERT_EQ(s.positions.size(), 2u);
    EXPECT_EQ(s.positions[1], std::make_pair(TimeValue(160), Point3(0, -8, 0)));
    EXPECT_EQ(s.rotations.size(), 2u);
  }
}

TEST_F(ApplyToCamera, AnEmptyTakeClearsTheKeysAndResetsTheScale) {
  KeyCameraByHand();
  Load(WriteFile(motion_test::kHeader));
  Apply();
  motion_test::TrackState s = Tracks();
  EXPECT_TRUE(s.positions.empty());
  EXPECT_TRUE(s.rotations.empty());
  EXPECT_TRUE(s.scaleKeys.empty());
  EXPECT_EQ(s.scale, Point3(1, 1, 1));
}

}  // namespace
