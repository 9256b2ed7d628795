// The tracker view: a top-level window plotting a loaded recording's
// stabilised markers at the sample of the host's current frame, optionally
// with each marker's path, name and bounding box, beside a text box with the
// recording's description. It redraws whenever the host's time changes.
#ifndef MIROVA_FTVIEW_H
#define MIROVA_FTVIEW_H

#include <max.h>

#include "ftdata.h"
#include "window.h"

// Private message: the host's time changed; redraw now.
const UINT FTVIEW_TIMECHANGED = 32667;

class FTViewTimeCallback : public TimeChangeCallback {
 public:
  HWND hWnd;
  explicit FTViewTimeCallback(HWND window) : hWnd(window) {}
  virtual ~FTViewTimeCallback() = default;
  // Sends FTVIEW_TIMECHANGED; the view reads the time itself.
  void TimeChanged(TimeValue t) override;
};

struct PixelPoint {
  int x, y;
};

class FTView : public Window {
 public:
  TrackerData* data;  // not owned; set before the window is opened
  bool showTrajectories;
  bool showNames;
  bool showExtents;
  HWND hEdit;
  FTViewTimeCallback* timeCallback;  // owned; registered while the window exists

  FTView();
  ~FTView() override;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // The captioned pop-up "Mirova" owned by owner; TRUE when it exists.
  BOOL OpenWindow(HWND owner);
  // Plots data at time t through the window's own device context.
  void Draw(TimeValue t);

 private:
  LRESULT OnCreate();
  void OnDestroy();
  void OnPaint();
};

// The unit square onto the 400-pixel plot whose top-left corner is (250, 5).
PixelPoint ToPixel(const Point2& p);

// The sample a view shows at time t (ticksPerFrame F): the first whose time,
// rounded to the nearest frame, is t's frame; otherwise the last. frame gets
// the chosen sample's rounded frame (0 for a recording without samples,
// whose sample is -1).
int CurrentSample(const TrackerData& data, TimeValue t, int ticksPerFrame, int* frame);

extern const COLORREF markerColours[16];
extern HBRUSH markerBrushes[16];
extern HPEN markerPens[16];
extern bool paletteMade;

#endif
