// What windows drew, for tests and the command line: each window's display
// list (every call made on a device context of the window, in order, while a
// test keeps them) and its picture (the calls rasterised into a 32-bit image
// of the client area as they happen), the headless message loop that paints
// invalid windows, and pictures encoded as PNG.
#ifndef HEADLESS_HEADLESS_GDI_H
#define HEADLESS_HEADLESS_GDI_H
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace headless {

// One call on a device context. op is the function's name ("Rectangle",
// "MoveToEx", "LineTo", "TextOutA", "FillRect", "Ellipse", "SelectObject",
// "SetBkMode", "SetTextColor", "SetBkColor"); args its integer arguments in
// order (FillRect: the rectangle; SetBkMode: the mode; the Set...Color
// calls: the colour). The rest is the device context's state as the call
// was made: pen and brush colours, whether they are null, text and
// background colours and mode. text: TextOutA's text; for SelectObject the
// kind selected ("pen", "brush", "font"). FillRect's brush colour is the
// brush it was given.
struct GdiCall {
  std::string op;
  std::vector<int> args;
  COLORREF pen = 0;
  COLORREF brush = 0;
  bool nullPen = false;
  bool nullBrush = false;
  COLORREF textColor = 0;
  COLORREF bkColor = 0;
  int bkMode = 0;
  std::string text;
};
// The calls made on the window's device contexts while calls were kept,
// since the last clear (or since it was created).
const std::vector<GdiCall>& DisplayList(HWND window);
void ClearDisplayList(HWND window);
// Whether calls are kept in display lists. They are not unless a test asks:
// a program drawing a picture a frame would otherwise grow by every call it
// ever made. Returns the previous setting.
bool RecordGdiCalls(bool record);
// Keeps calls in display lists while it lives (a test's fixture or scope).
class KeepGdiCalls {
 public:
  KeepGdiCalls() : previous(RecordGdiCalls(true)) {}
  ~KeepGdiCalls() { RecordGdiCalls(previous); }
  KeepGdiCalls(const KeepGdiCalls&) = delete;
  KeepGdiCalls& operator=(const KeepGdiCalls&) = delete;

 private:
  bool previous;
};

// A picture: pixels 0x00RRGGBB, row-major, top row first.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
// 0x00RRGGBB from a COLORREF.
uint32_t PixelOf(COLORREF color);

// The headless message loop gone idle: WM_PAINT to every visible window
// with something to paint (parents before their children), each at most
// once per call.
void PaintPending();
// The window's client area as the screen shows it: pending painting of the
// window and its descendants done first, then its visible children drawn
// over it. A system or host control repaints when a change of its text,
// check or enable state has invalidated it.
Image Snapshot(HWND window);
// The picture as a PNG file's bytes (8-bit RGB) in *bytes; false, with
// *problem, when it cannot be encoded (an empty picture, or pixels that do
// not fill its size). Where the bytes go, and how a file is replaced, is
// the caller's.
bool EncodePng(const Image& image, std::string* bytes, std::string* problem);

// Dialog base units of a dialog font (points; 0 for the system font):
// average character width and character height in pixels, from the font
// the stand-in draws text with, as Windows derives them from the dialog's
// font.
SIZE DialogBaseUnits(int pointSize);

}  // namespace headless

#endif  // HEADLESS_HEADLESS_GDI_H
