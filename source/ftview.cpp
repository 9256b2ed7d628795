#include "ftview.h"

#include <box2.h>

#include "mirova.h"
#include "resource.h"

const COLORREF markerColours[16] = {
    RGB(255, 255, 255), RGB(255, 0, 0),     RGB(255, 100, 255), RGB(0, 255, 255),
    RGB(0, 0, 255),     RGB(0, 255, 0),     RGB(255, 255, 0),   RGB(160, 160, 160),
    RGB(255, 130, 130), RGB(255, 130, 255), RGB(130, 255, 255), RGB(50, 50, 255),
    RGB(55, 170, 170),  RGB(100, 0, 0),     RGB(0, 100, 100),   RGB(100, 0, 100)};
HBRUSH markerBrushes[16];
HPEN markerPens[16];
bool paletteMade = false;

namespace {

const int plotLeft = 250, plotTop = 5, plotSize = 400;

void MakePalette() {
  for (int i = 0; i < 16; i++) {
    markerBrushes[i] = CreateSolidBrush(markerColours[i]);
    markerPens[i] = CreatePen(PS_SOLID, 1, markerColours[i]);
  }
  paletteMade = true;
}

// A view can draw before any paint made the palette (a time change first).
void EnsurePalette() {
  if (!paletteMade) MakePalette();
}

TimeValue CurrentTime() {
  Interface* host = GetCOREInterface();
  return host ? host->GetTime() : 0;
}

int RoundedFrame(int ticks, int ticksPerFrame) { return (ticks + (ticksPerFrame >> 1)) / ticksPerFrame; }

// A marker's positions over every sample, which the record keeps in a row:
// the walks over all samples below index it directly.
const Point2* Track(const TrackerData& data, int m) { return &data.Position(0, m); }

void DrawTrajectories(HDC dc, const TrackerData& data) {
  for (int m = 0; m < data.MarkerCount(); m++) {
    SelectObject(dc, markerPens[m % 16]);
    if (data.Marker(m).validCount <= 0) continue;
    const Point2* track = Track(data, m);
    for (int k = 0; k < data.SampleCount(); k++) {
      PixelPoint p = ToPixel(track[k]);
      MoveToEx(dc, p.x, p.y, nullptr);
      LineTo(dc, p.x + 1, p.y);
    }
  }
}

void DrawMarkers(HDC dc, const TrackerData& data, int s, bool names) {
  for (int m = 0; m < data.MarkerCount(); m++) {
    const TrackerMarker& marker = data.Marker(m);
    if (marker.validCount <= 0) continue;
    PixelPoint p = ToPixel(data.Position(s, m));
    SelectObject(dc, markerBrushes[m % 16]);
    Rectangle(dc, p.x - 2, p.y - 2, p.x + 2, p.y + 2);
    if (names) TextOutA(dc, p.x, p.y, marker.name.data(), static_cast<int>(marker.name.Length()));
  }
}

void DrawExtents(HDC dc, const TrackerData& data) {
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  for (int m = 0; m < data.MarkerCount(); m++) {
    if (data.Marker(m).validCount <= 0) continue;
    FBox2 box;
    const Point2* track = Track(data, m);
    for (int l = 0; l < data.SampleCount(); l++) box += track[l];
    SelectObject(dc, markerPens[m % 16]);
    PixelPoint lo = ToPixel(box.pmin), hi = ToPixel(box.pmax);
    Rectangle(dc, lo.x, lo.y, hi.x, hi.y);
  }
}

}  // namespace

void FTViewTimeCallback::TimeChanged(TimeValue) { SendMessageA(hWnd, FTVIEW_TIMECHANGED, 0, 0); }

namespace {
// Truncated toward zero; a position far off the plot is held to a pixel far
// off it too, where an int still holds it.
int PixelOf(double v) {
  const double limit = 1e6;
  return static_cast<int>(v < -limit ? -limit : v > limit ? limit : v);
}
}  // namespace

PixelPoint ToPixel(const Point2& p) {
  return {PixelOf(double(p.x) * plotSize + plotLeft), PixelOf(double(p.y) * plotSize + plotTop)};
}

int CurrentSample(const TrackerData& data, TimeValue t, int ticksPerFrame, int* frame) {
  int n = data.SampleCount();
  *frame = 0;
  if (n <= 0) return -1;
  int wanted = t / ticksPerFrame;
  for (int s = 0; s < n; s++) {
    if (RoundedFrame(data.SampleTime(s), ticksPerFrame) == wanted) {
      *frame = wanted;
      return s;
    }
  }
  *frame = RoundedFrame(data.SampleTime(n - 1), ticksPerFrame);
  return n - 1;
}

FTView::FTView()
    : data(nullptr), showTrajectories(false), showNames(false), showExtents(false), hEdit(nullptr),
      timeCallback(nullptr) {}

FTView::~FTView() {
  // Destroyed here, while still an FTView, so WM_DESTROY unregisters the callback.
  if (hWnd) DestroyWindow(hWnd);
  if (timeCallback) assert1(__LINE__, "ftview");
}

BOOL FTView::OpenWindow(HWND owner) {
  return Create("Mirova", 0, WS_POPUP | WS_CAPTION | WS_SYSMENU, 200, 100, 700, 700, owner);
}

LRESULT FTView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: return OnCreate();
    case WM_DESTROY: OnDestroy(); return 0;
    case WM_PAINT: OnPaint(); return 0;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case ID_VIEW_TRAJECTORIES: showTrajectories = !showTrajectories; Redraw(); break;
        case ID_VIEW_NAMES: showNames = !showNames; Redraw(); break;
        case ID_VIEW_EXTENTS: showExtents = !showExtents; Redraw(); break;
        default: break;
      }
      return 0;
    case FTVIEW_TIMECHANGED: Draw(CurrentTime()); return 0;
    default: return DefWindowProcA(hWnd, message, wParam, lParam);
  }
}

LRESULT FTView::OnCreate() {
  hEdit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL, 5, 30, 230, 600,
                          hWnd, nullptr, hInstance, nullptr);
  if (hEdit && data) {
    CStr text = data->Describe();
    SendMessageA(hEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.data()));
  }
  HMENU menu = LoadMenuA(hInstance, MAKEINTRESOURCE(IDR_TRACKER_VIEW_MENU));
  if (menu) SetMenu(hWnd, menu);
  Interface* host = GetCOREInterface();
  if (host) {
    timeCallback = new FTViewTimeCallback(hWnd);
    host->RegisterTimeChangeCallback(timeCallback);
  }
  return 0;
}

void FTView::OnDestroy() {
  if (timeCallback) {
    // The callback may have been registered with a host since gone; then
    // there is nothing left to unregister from.
    if (Interface* host = GetCOREInterface()) host->UnRegisterTimeChangeCallback(timeCallback);
    delete timeCallback;
    timeCallback = nullptr;
  }
  HMENU menu = GetMenu(hWnd);
  if (menu) DestroyMenu(menu);
  hEdit = nullptr;
}

void FTView::OnPaint() {
  PAINTSTRUCT ps;
  if (!BeginPaint(hWnd, &ps)) return;
  EnsurePalette();
  Draw(CurrentTime());
  EndPaint(hWnd, &ps);
}

void FTView::Draw(TimeValue t) {
  if (!hWnd) return;
  EnsurePalette();
  int shownFrame = 0;
  int s = data ? CurrentSample(*data, t, GetTicksPerFrame(), &shownFrame) : -1;
  HDC dc = GetDC(hWnd);
  SelectObject(dc, GetStockObject(BLACK_PEN));
  SelectObject(dc, GetStockObject(LTGRAY_BRUSH));
  Rectangle(dc, plotLeft, plotTop, plotLeft + plotSize, plotTop + plotSize);
  if (s >= 0 && showTrajectories) DrawTrajectories(dc, *data);
  SelectObject(dc, GetStockObject(BLACK_PEN));
  SetBkMode(dc, TRANSPARENT);
  if (s >= 0) DrawMarkers(dc, *data, s, showNames);
  if (s >= 0 && showExtents) DrawExtents(dc, *data);
  CStr caption;
  caption.printf("Sample: %d Frame: %d", s, shownFrame);
  TextOutA(dc, 300, 10, caption.data(), static_cast<int>(caption.Length()));
  ReleaseDC(hWnd, dc);
}
