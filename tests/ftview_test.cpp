// What the tracker view draws: its layers in order, marker colours, markers
// without samples, the sample chosen for a time, and the caption.
#include "ftview.h"

#include <gtest/gtest.h>
#include <headless.h>
#include <headless_gdi.h>
#include <headless_host.h>

#include <string>
#include <vector>

#include "resource.h"

namespace {

struct Drawn {
  std::string layer;  // frame, trajectory, marker, name, extent, caption
  headless::GdiCall call;
};

std::string LayerOf(const headless::GdiCall& c) {
  if (c.op == "LineTo") return "trajectory";
  if (c.op == "TextOutA") return c.text.rfind("Sample:", 0) == 0 ? "caption" : "name";
  if (c.op != "Rectangle") return "";
  if (c.args == std::vector<int>{250, 5, 650, 405}) return "frame";
  return c.nullBrush ? "extent" : "marker";
}

class ViewTest : public testing::Test {
 protected:
  // A recording of n samples, one frame apart, whose marker m sits at
  // (0.1 + 0.04 m + 0.01 s, 0.2 + 0.01 s); markers listed in invalid have no sample.
  void Record(int n, int markers, const std::vector<int>& invalid = {}) {
    ASSERT_TRUE(data.Allocate(n, markers));
    for (int m = 0; m < markers; ++m) {
      data.Marker(m).name = ("m" + std::to_string(m)).c_str();
      data.Marker(m).validCount = n;
      for (int s = 0; s < n; ++s) data.Position(s, m) = Point2(0.1f + 0.04f * m + 0.01f * s, 0.2f + 0.01f * s);
    }
    for (int m : invalid) data.Marker(m).validCount = 0;
    for (int s = 0; s < n; ++s) data.sampleTimes[s] = s * 160;
  }

  std::vector<Drawn> DrawAt(TimeValue t) {
    if (!view.hWnd) view.OpenWindow(nullptr);
    headless::ClearDisplayList(view.hWnd);
    view.Draw(t);
    std::vector<Drawn> drawn;
    for (const auto& c : headless::DisplayList(view.hWnd)) {
      std::string layer = LayerOf(c);
      if (!layer.empty()) drawn.push_back({layer, c});
    }
    return drawn;
  }

  std::vector<Drawn> Only(const std::vector<Drawn>& drawn, const std::string& layer) {
    std::vector<Drawn> picked;
    for (const auto& d : drawn)
      if (d.layer == layer) picked.push_back(d);
    return picked;
  }

  std::string Caption(TimeValue t) {
    auto captions = Only(DrawAt(t), "caption");
    return captions.size() == 1 ? captions[0].call.text : "";
  }

  headless::KeepGdiCalls kept;
  headless::Host host;
  TrackerData data;
  FTView view;
  void SetUp() override { view.data = &data; }
};

TEST_F(ViewTest, LayersComeInOrderAndOnlyWhenSwitchedOn) {
  Record(3, 2);
  struct Case {
    bool trajectories, names, extents;
    std::vector<std::string> layers;
  } cases[] = {
      {false, false, false, {"frame", "marker", "marker", "caption"}},
      {true, false, false, {"frame", "trajectory", "marker", "marker", "caption"}},
      {false, true, false, {"frame", "marker", "name", "marker", "name", "caption"}},
      {true, true, true, {"frame", "trajectory", "marker", "name", "marker", "name", "extent", "caption"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.trajectories << c.names << c.extents);
    view.showTrajectories = c.trajectories;
    view.showNames = c.names;
    view.showExtents = c.extents;
    std::vector<std::string> layers;
    for (const auto& d : DrawAt(0))
      if (layers.empty() || layers.back() != d.layer || d.layer == "marker" || d.layer == "name")
        layers.push_back(d.layer);
    EXPECT_EQ(layers, c.layers);
  }
}

TEST_F(ViewTest, FrameIsGreySquareWithBlackOutline) {
  Record(1, 1);
  auto frame = Only(DrawAt(0), "frame");
  ASSERT_EQ(frame.size(), 1u);
  EXPECT_EQ(frame[0].call.pen, RGB(0, 0, 0));
  EXPECT_EQ(frame[0].call.brush, RGB(192, 192, 192));
}

TEST_F(ViewTest, EveryLayerColoursMarkerByIndexModulo16) {
  Record(2, 18);
  view.showTrajectories = view.showExtents = true;
  auto drawn = DrawAt(0);
  auto markers = Only(drawn, "marker"), points = Only(drawn, "trajectory"), boxes = Only(drawn, "extent");
  ASSERT_EQ(markers.size(), 18u);
  ASSERT_EQ(points.size(), 36u);
  ASSERT_EQ(boxes.size(), 18u);
  for (int m = 0; m < 18; ++m) {
    SCOPED_TRACE(m);
    EXPECT_EQ(markers[m].call.brush, markerColours[m % 16]);
    EXPECT_EQ(markers[m].call.pen, RGB(0, 0, 0));
    EXPECT_EQ(points[2 * m].call.pen, markerColours[m % 16]);
    EXPECT_EQ(boxes[m].call.pen, markerColours[m % 16]);
  }
  EXPECT_EQ(markers[16].call.brush, RGB(255, 255, 255));
}

TEST_F(ViewTest, MarkersWithoutSamplesAreDrawnNowhere) {
  Record(4, 3, {1});
  view.showTrajectories = view.showNames = view.showExtents = true;
  auto drawn = DrawAt(0);
  EXPECT_EQ(Only(drawn, "marker").size(), 2u);
  EXPECT_EQ(Only(drawn, "trajectory").size(), 8u);
  EXPECT_EQ(Only(drawn, "extent").size(), 2u);
  for (const auto& name : Only(drawn, "name")) EXPECT_NE(name.call.text, "m1");
  for (const auto& point : Only(drawn, "trajectory")) EXPECT_NE(point.call.pen, markerColours[1]);
}

TEST_F(ViewTest, PositionsMapOntoThePlot) {
  struct Case {
    Point2 p;
    int x, y;
  } cases[] = {{{0.5f, 0.5f}, 450, 205}, {{0, 0}, 250, 5}, {{1, 1}, 650, 405}, {{-0.626f, -0.0126f}, 0, 0},
               {{-0.75f, 0.25f}, -50, 105}, {{1e30f, -1e30f}, 1000000, -1000000}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.p.x << "," << c.p.y);
    PixelPoint px = ToPixel(c.p);
    EXPECT_EQ(px.x, c.x);
    EXPECT_EQ(px.y, c.y);
  }
}

TEST_F(ViewTest, MarkerIsFourPixelSquareAtItsPixelWithNameAtTopLeft) {
  Record(1, 1);
  data.Position(0, 0) = Point2(0.5f, 0.5f);
  view.showNames = true;
  auto drawn = DrawAt(0);
  auto marker = Only(drawn, "marker");
  ASSERT_EQ(marker.size(), 1u);
  EXPECT_EQ(marker[0].call.args, (std::vector<int>{448, 203, 452, 207}));
  auto name = Only(drawn, "name");
  ASSERT_EQ(name.size(), 1u);
  EXPECT_EQ(name[0].call.args, (std::vector<int>{450, 205}));
  EXPECT_EQ(name[0].call.bkMode, TRANSPARENT);
}

TEST_F(ViewTest, ExtentSpansEveryPositionOfTheMarker) {
  Record(3, 1);
  data.Position(0, 0) = Point2(0.1f, 0.6f);
  data.Position(1, 0) = Point2(0.3f, 0.2f);
  data.Position(2, 0) = Point2(0.2f, 0.4f);
  view.showExtents = true;
  auto boxes = Only(DrawAt(0), "extent");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].call.args, (std::vector<int>{ToPixel({0.1f, 0.2f}).x, ToPixel({0.1f, 0.2f}).y,
                                                  ToPixel({0.3f, 0.6f}).x, ToPixel({0.3f, 0.6f}).y}));
}

TEST_F(ViewTest, SampleForTimeRoundsToFramesAndFallsBackToTheLast) {
  struct Case {
    const char* what;
    std::vector<int> times;
    TimeValue t;
    std::string caption;
  } cases[] = {
      {"81 ticks rounds up", {0, 81}, 160, "Sample: 1 Frame: 1"},
      {"79 ticks rounds down", {79, 200}, 0, "Sample: 0 Frame: 0"},
      {"first match wins", {0, 10, 20}, 100, "Sample: 0 Frame: 0"},
      {"time inside a frame", {0, 160, 320}, 319, "Sample: 1 Frame: 1"},
      {"before the first sample", {800, 960}, 0, "Sample: 1 Frame: 6"},
      {"after the last sample", {0, 160}, 4800, "Sample: 1 Frame: 1"},
      {"between sparse samples", {0, 1600}, 800, "Sample: 1 Frame: 10"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Record(static_cast<int>(c.times.size()), 1);
    for (size_t s = 0; s < c.times.size(); ++s) data.sampleTimes[s] = c.times[s];
    EXPECT_EQ(Caption(c.t), c.caption);
  }
}

TEST_F(ViewTest, MarkersStandAtTheChosenSample) {
  Record(3, 1);
  auto marker = Only(DrawAt(2 * 160), "marker");
  ASSERT_EQ(marker.size(), 1u);
  PixelPoint p = ToPixel(data.Position(2, 0));
  EXPECT_EQ(marker[0].call.args[0], p.x - 2);
  EXPECT_EQ(marker[0].call.args[1], p.y - 2);
}

TEST_F(ViewTest, RecordingWithoutSamplesShowsFrameAndCaptionOnly) {
  view.showTrajectories = view.showNames = view.showExtents = true;
  auto drawn = DrawAt(480);
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_EQ(drawn[0].layer, "frame");
  EXPECT_EQ(drawn[1].call.text, "Sample: -1 Frame: 0");
  EXPECT_EQ(drawn[1].call.args, (std::vector<int>{300, 10}));
}

TEST_F(ViewTest, RecordingClearedUnderAnOpenViewIsNotRead) {
  Record(5, 3);
  view.showTrajectories = view.showExtents = true;
  DrawAt(0);
  data.Clear();
  EXPECT_EQ(Only(DrawAt(0), "caption").at(0).call.text, "Sample: -1 Frame: 0");
}

TEST_F(ViewTest, TimeChangeRedrawsAtTheHostsTime) {
  Record(10, 1);
  view.OpenWindow(nullptr);
  headless::ClearDisplayList(view.hWnd);
  host.SetTime(4 * 160);
  std::vector<std::string> captions;
  for (const auto& c : headless::DisplayList(view.hWnd))
    if (LayerOf(c) == "caption") captions.push_back(c.text);
  EXPECT_EQ(captions, std::vector<std::string>{"Sample: 4 Frame: 4"});
}

TEST_F(ViewTest, MenuItemsToggleSwitchesAndRepaintWithBackground) {
  Record(3, 2);
  view.OpenWindow(nullptr);
  view.Show();
  headless::PaintPending();
  struct Case {
    int id;
    bool FTView::*flag;
  } cases[] = {{ID_VIEW_TRAJECTORIES, &FTView::showTrajectories},
               {ID_VIEW_NAMES, &FTView::showNames},
               {ID_VIEW_EXTENTS, &FTView::showExtents}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    headless::Image before = headless::Snapshot(view.hWnd);
    ASSERT_TRUE(headless::ChooseMenuItem(view.hWnd, c.id));
    EXPECT_TRUE(view.*c.flag);
    RECT r;
    EXPECT_TRUE(GetUpdateRect(view.hWnd, &r, FALSE));
    headless::Image on = headless::Snapshot(view.hWnd);
    int differ = 0;
    for (size_t i = 0; i < on.pixels.size(); ++i) differ += on.pixels[i] != before.pixels[i];
    EXPECT_GT(differ, 0);
    EXPECT_EQ(on.At(450, 5), 0u);  // the plot's black frame
    ASSERT_TRUE(headless::ChooseMenuItem(view.hWnd, c.id));
    EXPECT_FALSE(view.*c.flag);
    EXPECT_EQ(headless::Snapshot(view.hWnd).pixels, before.pixels);
  }
}

TEST_F(ViewTest, WindowHasDescriptionTextBoxAndMenu) {
  Record(2, 2);
  ASSERT_TRUE(view.OpenWindow(nullptr));
  ASSERT_NE(view.hEdit, nullptr);
  EXPECT_EQ(headless::Text(view.hEdit).empty(), false);
  EXPECT_EQ(GetWindowLongA(view.hWnd, GWL_STYLE) & 0x80C80000, static_cast<LONG>(0x80C80000));
  auto items = headless::MenuItems(GetMenu(view.hWnd));
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].id, ID_VIEW_TRAJECTORIES);
  EXPECT_EQ(items[2].text, "Extents");
}

}  // namespace
