// Painting and drawing state behind the GDI calls (internal to win32):
// objects, device contexts, each window's surface, update rectangle and
// display list, and the geometry of client areas.
#ifndef HEADLESS_PAINT_STATE_H
#define HEADLESS_PAINT_STATE_H
#include <headless_gdi.h>

#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "raster.h"

namespace headless::detail {

// --- GDI objects (gdi_objects.cpp) ---
enum class GdiKind { kPen, kBrush, kFont };
struct GdiObject {
  GdiKind kind = GdiKind::kPen;
  COLORREF color = 0;
  bool null = false;     // NULL_PEN, NULL_BRUSH, PS_NULL
  int width = 1;         // pens
  int pixelSize = 0;     // fonts: em height
  bool stock = false;
};
GdiObject* LookUpObject(HGDIOBJ object);
// A font of the stand-in's typeface at an em height in pixels; kept for good.
HFONT FontOfPixelSize(int pixelSize);

// --- Device contexts (paint_contexts.cpp) ---
struct PaintState;
// An object selected into a device context. An object cannot be deleted
// while it is selected, so the context may keep its record at hand: a
// drawing call then looks nothing up.
struct Selected {
  HGDIOBJ handle = nullptr;
  const GdiObject* object = nullptr;
  std::optional<uint32_t> colour;  // 0x00RRGGBB of a pen or brush; none for a null one
  void Set(HGDIOBJ h) {
    handle = h;
    object = LookUpObject(h);
    colour.reset();
    if (object && !object->null) colour = headless::PixelOf(object->color);
  }
};
struct DeviceContext {
  HWND window = nullptr;
  std::weak_ptr<PaintState> target;  // gone with the window
  PaintState* targetState = nullptr;  // target's, for as long as it lives
  bool own = false;  // a CS_OWNDC window's: lives with the window
  Selected pen;
  Selected brush;
  Selected font;
  COLORREF textColor = 0;
  COLORREF bkColor = 0;
  int bkMode = 0;
  POINT position = {0, 0};
  RECT clip = {0, 0, 0, 0};  // client coordinates
  void Reset(HWND window, const RECT& client);
};

// The context behind a handle, or null. Drawing calls come by the million,
// nearly all on the context looked up last, which is kept at hand (handles
// are never reused).
extern HDC lastDC;
extern DeviceContext* lastContext;
DeviceContext* FindDC(HDC hdc);
inline DeviceContext* LookUpDC(HDC hdc) { return hdc && hdc == lastDC ? lastContext : FindDC(hdc); }
bool IsSelected(HGDIOBJ object);  // in any device context
// A window's device context: its own one (CS_OWNDC), or a fresh one that
// ReleaseDC ends. p is the window's painting state.
HDC ContextFor(HWND hwnd, PaintState* p);

// --- Each window's painting state (paint.cpp) ---
struct PaintState {
  Surface surface;
  RECT update = {0, 0, 0, 0};  // bounding box of what is invalid
  bool erase = false;
  bool internalPaint = false;
  std::vector<headless::GdiCall> calls;
  HDC ownDC = nullptr;
  ~PaintState();
  bool Pending() const;
};
// The window's state, its surface sized to the client area; null for a
// handle that is not a window.
PaintState* PaintStateOf(HWND hwnd);
// Where a device context draws; null when its window is gone (without
// making a shared pointer for each drawing call).
inline PaintState* TargetOf(const DeviceContext* dc) { return dc->target.expired() ? nullptr : dc->targetState; }
// Records a call, with the context's state, in the display list of its
// window (paint_display_list.cpp); null when calls are not kept. The entry
// stays valid until the next call is recorded.
extern bool recordingGdiCalls;
headless::GdiCall* RecordCall(const DeviceContext* dc, const char* op, std::initializer_list<int> args);
inline headless::GdiCall* Record(const DeviceContext* dc, const char* op, std::initializer_list<int> args) {
  return recordingGdiCalls ? RecordCall(dc, op, args) : nullptr;
}

// --- Geometry (paint_geometry.cpp) ---
// The client area's size; {0, 0, 0, 0} for no window.
RECT ClientRectOf(HWND hwnd);
// The top-left corner of a child's client area in its parent's client area.
POINT ClientOriginInParent(HWND hwnd);

// --- Controls (control_paint.cpp) ---
// Whether windows of the class are system or host controls that draw
// themselves in the default WM_PAINT.
bool IsPaintedControl(HWND hwnd);
void PaintControl(HWND hwnd, HDC hdc);
// Em height in pixels of the font a control of this window is drawn with.
int ControlFontSize(HWND hwnd);

}  // namespace headless::detail

#endif
