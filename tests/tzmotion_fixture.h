// A headless scene with one selected free camera and the motion-control
// utility's panel, worked as a user does: takes are chosen through the open
// dialog, the rate typed, boxes clicked.
#ifndef MIROVA_TESTS_TZMOTION_FIXTURE_H
#define MIROVA_TESTS_TZMOTION_FIXTURE_H
#include <gtest/gtest.h>
#include <headless.h>
#include <headless_host.h>
#include <standard_objects.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "resource.h"
#include "tzmotion.h"

namespace motion_test {

// One sample's seven values in the file's column order below.
using Sample = std::array<float, 7>;
const char kHeader[] = "Axes = FOCUS VTrack VEW VNS VPan VTilt VRoll\n";

inline std::string TakeText(const std::vector<Sample>& samples) {
  std::string text = kHeader;
  for (const Sample& s : samples) {
    for (float v : s) text += std::to_string(v) + " ";
    text += "\n";
  }
  return text;
}

// A camera's tracks as they stand: every key, and the values without keys.
struct TrackState {
  std::vector<std::pair<TimeValue, Point3>> positions;
  std::vector<std::pair<TimeValue, Quat>> rotations;
  std::vector<TimeValue> scaleKeys;
  Point3 scale;
  bool operator==(const TrackState& o) const {
    return positions == o.positions && rotations == o.rotations && scaleKeys == o.scaleKeys &&
           scale == o.scale;
  }
};

// The utility's panel open on a selected free camera, the utility coming
// from MotionControlClass(): the library linked into the test, or a module
// the test loaded.
class MotionPanelFixture : public testing::Test {
 protected:
  virtual ClassDesc* MotionControlClass() = 0;

  void SetUp() override {
    ResetUtility();
    host = std::make_unique<headless::Host>();
    camera = host->CreateNode(NewDefaultCamera(FREE_CAMERA), "Camera01");
    host->Select(camera);
    OpenPanel();
  }
  void TearDown() override {
    host.reset();
    for (const std::string& f : files) std::remove(f.c_str());
  }

  // The class descriptor hands out the one utility object.
  MotionControlUtility& Utility() { return *static_cast<MotionControlUtility*>(MotionControlClass()->Create(FALSE)); }
  // The utility is a static: every test starts it from its load-time state.
  void ResetUtility() {
    MotionControlUtility& mc = Utility();
    mc.fileName[0] = '\0';
    mc.fps = 30;
    mc.motionData.Clear();
    mc.useEastWest = mc.useTrack = mc.useNorthSouth = 1;
    mc.useTilt = mc.useRoll = mc.usePan = 1;
  }

  void OpenPanel() {
    ASSERT_TRUE(host->OpenUtility(MotionControlClass()));
    panel = Utility().hPanel;
    ASSERT_TRUE(IsWindow(panel));
  }
  void ClosePanel() { host->CloseUtility(); }

  std::string WriteFile(const std::string& text, const std::string& name = "take.asc") {
    std::string path = testing::TempDir() + name;
    std::ofstream(path, std::ios::binary) << text;
    files.push_back(path);
    return path;
  }
  std::string WriteTake(const std::vector<Sample>& samples) { return WriteFile(TakeText(samples)); }

  // "Open..." with path chosen in the dialog.
  void Load(const std::string& path) {
    headless::AnswerNextOpenDialog(path);
    ASSERT_TRUE(headless::Click(panel, IDC_MOTION_OPEN));
  }
  void TypeRate(const std::string& text) { ASSERT_TRUE(headless::Type(panel, IDC_MOTION_FPS, text)); }
  void Apply() { ASSERT_TRUE(headless::Click(panel, IDC_MOTION_APPLY)); }
  std::string Shown(int id) const { return headless::Text(panel, id); }

  Control* Track(int which) const {
    Control* tm = camera->GetTMController();
    return which == 0 ? tm->GetPositionController()
                      : which == 1 ? tm->GetRotationController() : tm->GetScaleController();
  }
  TrackState Tracks() const {
    TrackState s;
    Interval valid = FOREVER;
    for (int i = 0; i < Track(0)->NumKeys(); ++i) {
      TimeValue t = Track(0)->GetKeyTime(i);
      Point3 p;
      Track(0)->GetValue(t, &p, valid, CTRL_ABSOLUTE);
      s.positions.push_back({t, p});
    }
    for (int i = 0; i < Track(1)->NumKeys(); ++i) {
      TimeValue t = Track(1)->GetKeyTime(i);
      Quat q;
      Track(1)->GetValue(t, &q, valid, CTRL_ABSOLUTE);
      s.rotations.push_back({t, q});
    }
    for (int i = 0; i < Track(2)->NumKeys(); ++i) s.scaleKeys.push_back(Track(2)->GetKeyTime(i));
    ScaleValue sv;
    Track(2)->GetValue(0, &sv, valid, CTRL_ABSOLUTE);
    s.scale = sv.s;
    return s;
  }
  // Keys the camera had before the apply under test.
  void KeyCameraByHand() {
    AnimateOn();
    Point3 p(1, 2, 3);
    Quat q(AngAxis(Point3(0, 0, 1), 0.5f));
    ScaleValue sv(Point3(2, 2, 2));
    Track(0)->SetValue(480, &p);
    Track(1)->SetValue(480, &q);
    Track(2)->SetValue(480, &sv);
    AnimateOff();
  }

  std::unique_ptr<headless::Host> host;
  INode* camera = nullptr;
  HWND panel = nullptr;
  std::vector<std::string> files;
};

// The utility of the library linked into the test program.
class MotionPanelTest : public MotionPanelFixture {
 protected:
  ClassDesc* MotionControlClass() override { return GetMotionControlDesc(); }
};

}  // namespace motion_test

#endif
