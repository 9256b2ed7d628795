// The Face Tracker rollup as the user works it: opening recordings, what the
// page shows, and the tracker view window it opens.
#include <gtest/gtest.h>
#include <headless.h>
#include <headless_host.h>

#include <cstdio>
#include <string>
#include <vector>

#include "expression_panel.h"
#include "facetracker.h"
#include "tracker_text.h"

namespace {

using expression_panel::ExpressionPanelTest;
using tracker_text::FilePosition;
using tracker_text::Row;

// A recording of the nose bridge and one more marker at the given seconds.
std::string RecordingAt(const std::vector<float>& seconds) {
  std::vector<Row> rows;
  for (float s : seconds) rows.push_back({s, {FilePosition{0.4f, 0.5f}, FilePosition{0.3f + s / 100, 0.6f}}});
  return tracker_text::Recording({"nose_bridge", "lip_upper"}, rows);
}

std::vector<float> TenTo03() {
  std::vector<float> seconds;
  for (int i = 0; i < 9; ++i) seconds.push_back(i * 0.0333f);
  seconds.push_back(0.3f);
  return seconds;
}

HWND TopLevelOf(HWND window) {
  while (GetParent(window)) window = GetParent(window);
  return window;
}

class TrackerRollupTest : public ExpressionPanelTest {
 protected:
  void SetUp() override {
    ExpressionPanelTest::SetUp();
    displayedFileName = "<None>";
    displayedFrames = 0;
    obj = Create(MeshNode(4, "face"));
    ASSERT_NE(obj, nullptr);
    Modify(obj);
  }
  void TearDown() override {
    headless::OnOpenDialog(nullptr);
    ExpressionPanelTest::TearDown();
  }

  std::string Write(const std::string& name, const std::string& text) {
    std::string path = testing::TempDir() + name;
    FILE* f = std::fopen(path.c_str(), "w");
    std::fputs(text.c_str(), f);
    std::fclose(f);
    return path;
  }
  HWND Rollup() const { return Page("Face Tracker"); }
  void OpenFile(const std::string& path) {
    headless::AnswerNextOpenDialog(path);
    ASSERT_TRUE(headless::Click(Rollup(), IDC_TRACKER_OPEN));
  }
  std::string Name() const { return headless::Text(Rollup(), IDC_TRACKER_NAME); }
  std::string Frames() const { return headless::Text(Rollup(), IDC_TRACKER_FRAMES); }

  ExpressionObject* obj = nullptr;
};

TEST_F(TrackerRollupTest, FramesAreTheLastSampleTimeInWholeFrames) {
  struct Case {
    const char* what;
    int fps;
    std::vector<float> seconds;
    const char* frames;
  } cases[] = {
      {"last sample at 10 s, 30 fps", 30, {0.0f, 5.0f, 10.0f}, "300"},
      {"ten samples to 0.3 s", 30, TenTo03(), "9"},
      {"same file at 25 fps", 25, {0.0f, 5.0f, 10.0f}, "250"},
      {"one sample at 0", 30, {0.0f}, "0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    host.SetFrameRate(c.fps);
    OpenFile(Write("take.trc", RecordingAt(c.seconds)));
    EXPECT_EQ(Frames(), c.frames);
    EXPECT_EQ(obj->trackerInput.data.SampleCount(), static_cast<int>(c.seconds.size()));
  }
  host.SetFrameRate(30);
}

TEST_F(TrackerRollupTest, OpenShowsFileNameWithoutFolderAndStabilises) {
  EXPECT_EQ(Name(), "<None>");
  EXPECT_EQ(Frames(), "0");
  std::string path = Write("take1.trc", RecordingAt({0.0f, 0.5f}));
  OpenFile(path);
  EXPECT_EQ(Name(), "take1.trc");
  EXPECT_EQ(std::string(obj->trackerInput.path), path);
  EXPECT_FLOAT_EQ(obj->trackerInput.data.Position(1, 0).x, 0.5f);
  const auto& dialog = headless::OpenDialogs().back();
  EXPECT_EQ(dialog.title, "Load FastTracker File");
  EXPECT_EQ(dialog.filter, (std::vector<std::string>{"FastTracker", "*.trc"}));
  EXPECT_EQ(dialog.defaultExtension, "trc");
  EXPECT_EQ(dialog.maxFile, 256u);
  EXPECT_EQ(dialog.owner, Rollup());
}

TEST_F(TrackerRollupTest, CancelKeepsNameFramesAndRecording) {
  std::string path = Write("take1.trc", RecordingAt({0.0f, 1.0f}));
  OpenFile(path);
  headless::CancelNextOpenDialog();
  ASSERT_TRUE(headless::Click(Rollup(), IDC_TRACKER_OPEN));
  EXPECT_EQ(headless::OpenDialogs().back().initialFile, path);
  EXPECT_EQ(Name(), "take1.trc");
  EXPECT_EQ(Frames(), "30");
  EXPECT_EQ(obj->trackerInput.data.SampleCount(), 2);
  EXPECT_EQ(std::string(obj->trackerInput.path), path);
}

TEST_F(TrackerRollupTest, FileThatCannotBeOpenedClearsEverything) {
  OpenFile(Write("take1.trc", RecordingAt({0.0f, 1.0f})));
  std::string gone = Write("gone.trc", RecordingAt({0.0f}));
  // The file goes between the dialog and the reading.
  headless::OnOpenDialog([gone](const headless::OpenDialogRecord&) { std::remove(gone.c_str()); });
  OpenFile(gone);
  ASSERT_FALSE(headless::MessageBoxes().empty());
  const auto& box = headless::MessageBoxes().back();
  EXPECT_EQ(box.text, "Unable to loaded file");
  EXPECT_FALSE(box.hasCaption);
  EXPECT_EQ(box.owner, Rollup());
  EXPECT_EQ(box.style, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
  EXPECT_EQ(Name(), "<None>");
  EXPECT_EQ(Frames(), "0");
  EXPECT_EQ(obj->trackerInput.data.SampleCount(), 0);
  EXPECT_STREQ(obj->trackerInput.path, "");
}

TEST_F(TrackerRollupTest, SecondObjectShowsFirstOnesFileButHoldsNoRecording) {
  OpenFile(Write("take1.trc", RecordingAt({0.0f, 2.0f})));
  ExpressionObject* second = Create(MeshNode(4, "other"));
  ASSERT_NE(second, nullptr);
  Modify(second);
  EXPECT_EQ(Name(), "take1.trc");
  EXPECT_EQ(Frames(), "60");
  EXPECT_EQ(second->trackerInput.data.SampleCount(), 0);
}

TEST_F(TrackerRollupTest, DisplayTwiceLeavesOneWindowOwnedByThePage) {
  OpenFile(Write("take1.trc", RecordingAt({0.0f, 1.0f})));
  ASSERT_TRUE(headless::Click(Rollup(), IDC_TRACKER_DISPLAY));
  HWND view = obj->trackerInput.view.hWnd;
  ASSERT_NE(view, nullptr);
  EXPECT_TRUE(IsWindowVisible(view));
  // A page is a child window: Windows makes the panel holding it the owner.
  EXPECT_EQ(GetWindow(view, GW_OWNER), TopLevelOf(Rollup()));
  EXPECT_EQ(obj->trackerInput.view.data, &obj->trackerInput.data);
  ASSERT_TRUE(headless::Click(Rollup(), IDC_TRACKER_DISPLAY));
  EXPECT_EQ(obj->trackerInput.view.hWnd, view);
}

TEST_F(TrackerRollupTest, ClosingTheViewKeepsObjectAndSwitches) {
  OpenFile(Write("take1.trc", RecordingAt({0.0f, 1.0f})));
  FTView& view = obj->trackerInput.view;
  headless::Click(Rollup(), IDC_TRACKER_DISPLAY);
  headless::ChooseMenuItem(view.hWnd, ID_VIEW_NAMES);
  DestroyWindow(view.hWnd);
  EXPECT_EQ(view.hWnd, nullptr);
  EXPECT_EQ(view.timeCallback, nullptr);
  EXPECT_TRUE(view.showNames);
  headless::Click(Rollup(), IDC_TRACKER_DISPLAY);
  ASSERT_NE(view.hWnd, nullptr);
  EXPECT_TRUE(view.showNames);
}

TEST_F(TrackerRollupTest, ViewDestroyedWithItsOwnerLeavesNoHandleOrCallback) {
  OpenFile(Write("take1.trc", RecordingAt({0.0f, 1.0f})));
  headless::Click(Rollup(), IDC_TRACKER_DISPLAY);
  FTView& view = obj->trackerInput.view;
  HWND window = view.hWnd;
  HWND owner = GetWindow(window, GW_OWNER);
  CloseModify();
  DestroyWindow(owner);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(view.hWnd, nullptr);
  EXPECT_EQ(view.timeCallback, nullptr);
  host.SetTime(160);  // no callback of the gone view is left to call
}

TEST(TrackerInputTest, DestroyingTheObjectDestroysTheViewAndItsCallback) {
  headless::Host host;
  auto* obj = new ExpressionObject;
  obj->trackerInput.data.Allocate(2, 1);
  FTView& view = obj->trackerInput.view;
  view.data = &obj->trackerInput.data;
  ASSERT_TRUE(view.OpenWindow(nullptr));
  HWND window = view.hWnd;
  ASSERT_NE(view.timeCallback, nullptr);
  obj->DeleteThis();
  EXPECT_FALSE(IsWindow(window));
  host.SetTime(320);  // would reach a freed callback if it were still registered
}

}  // namespace
