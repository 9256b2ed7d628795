// Where windows are: client areas from the size a window was made with, less
// its frame and caption; dialog units through the dialog font's base units.
#include <algorithm>

#include "font.h"
#include "paint_state.h"
#include "window_table.h"

namespace headless::detail {

namespace {

// Stand-in: the classic fixed frame sizes; a menu bar takes no room.
constexpr int kCaption = 19;
constexpr int kDialogFrame = 3;
constexpr int kSizingFrame = 4;
constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 480;

bool IsDialog(const WindowData* w) { return w->windowClass->name == dialogClassName; }

int FrameOf(const WindowData* w) {
  int frame = 0;
  if (w->style & WS_THICKFRAME)
    frame = kSizingFrame;
  else if ((w->style & WS_DLGFRAME) || (IsDialog(w) && (w->style & DS_MODALFRAME)))
    frame = kDialogFrame;
  else if (w->style & WS_BORDER)
    frame = 1;
  if (w->exStyle & WS_EX_CLIENTEDGE) frame += 2;
  return frame;
}

int CaptionOf(const WindowData* w) {
  return (w->style & WS_CAPTION) == WS_CAPTION ? kCaption : 0;
}

// The dialog whose font sets a template-built window's units (itself for a
// dialog).
const WindowData* DialogOf(const WindowData* w) {
  if (IsDialog(w)) return w;
  const WindowData* parent = LookUpWindow(w->parent);
  return parent && IsDialog(parent) ? parent : w;
}

// Rounded as MulDiv rounds.
int Scaled(int value, int numerator, int denominator) {
  long long n = static_cast<long long>(value) * numerator;
  return static_cast<int>((n >= 0 ? n + denominator / 2 : n - denominator / 2) / denominator);
}

POINT ToPixels(int x, int y, const SIZE& base) {
  return {Scaled(x, base.cx, 4), Scaled(y, base.cy, 8)};
}

// The outer rectangle in pixels, in the parent's client coordinates.
RECT OuterRectOf(const WindowData* w) {
  if (w->origin.fromTemplate) {
    SIZE base = headless::DialogBaseUnits(DialogOf(w)->origin.fontSize);
    const RECT& r = w->origin.rect;  // left, top, width, height
    POINT at = ToPixels(r.left, r.top, base), size = ToPixels(r.right, r.bottom, base);
    // A dialog's template gives its client area; its frame is added around.
    int outside = IsDialog(w) ? FrameOf(w) : 0;
    int caption = IsDialog(w) ? CaptionOf(w) : 0;
    return {at.x, at.y, at.x + size.x + 2 * outside, at.y + size.y + 2 * outside + caption};
  }
  RECT r = w->placement;
  // Stand-in: CW_USEDEFAULT places the window at the origin with a fixed size.
  if (r.left == CW_USEDEFAULT) r = {0, 0, kDefaultWidth, kDefaultHeight};
  return r;
}

}  // namespace

RECT ClientRectOf(HWND hwnd) {
  const WindowData* w = LookUpWindow(hwnd);
  if (!w) return {0, 0, 0, 0};
  RECT outer = OuterRectOf(w);
  int frame = FrameOf(w);
  int width = outer.right - outer.left - 2 * frame;
  int height = outer.bottom - outer.top - 2 * frame - CaptionOf(w);
  return {0, 0, std::max(width, 0), std::max(height, 0)};
}

POINT ClientOriginInParent(HWND hwnd) {
  const WindowData* w = LookUpWindow(hwnd);
  if (!w) return {0, 0};
  RECT outer = OuterRectOf(w);
  int frame = FrameOf(w);
  return {outer.left + frame, outer.top + frame + CaptionOf(w)};
}

}  // namespace headless::detail

SIZE headless::DialogBaseUnits(int pointSize) {
  // Stand-in: the system font's units when a dialog names no font.
  if (pointSize <= 0) return {8, 16};
  headless::detail::FontMetrics m = headless::detail::MetricsOf(headless::detail::PixelSizeOfPoints(pointSize));
  return {m.averageWidth, m.height};
}

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
  if (!headless::detail::LookUpWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (rect) *rect = headless::detail::ClientRectOf(hwnd);
  return TRUE;
}
