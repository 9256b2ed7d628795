// The drawing calls and device context attributes: each recorded in the
// window's display list, then rasterised into its surface.
#include <optional>
#include <string>

#include "font.h"
#include "paint_state.h"

namespace headless::detail {

namespace {

int FontSizeOf(const DeviceContext* dc) {
  const GdiObject* font = dc->font.object;
  return font ? font->pixelSize : PixelSizeOfPoints(9);
}

// A brush handle, or a system colour index plus one.
std::optional<COLORREF> BrushColour(HBRUSH brush) {
  auto value = reinterpret_cast<uintptr_t>(brush);
  if (value >= 1 && value <= 31) return GetSysColor(static_cast<int>(value - 1));
  const GdiObject* o = LookUpObject(brush);
  if (!o || o->kind != GdiKind::kBrush || o->null) return std::nullopt;
  return o->color;
}

}  // namespace

}  // namespace headless::detail

using headless::detail::DeviceContext;
using headless::detail::LookUpDC;

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
  DeviceContext* dc = LookUpDC(hdc);
  if (!dc) return FALSE;
  headless::detail::Record(dc, "Rectangle", {left, top, right, bottom});
  if (headless::detail::PaintState* p = headless::detail::TargetOf(dc))
    headless::detail::DrawRectangle(p->surface, {left, top, right, bottom}, dc->clip,
                           dc->pen.colour, dc->brush.colour);
  return TRUE;
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom) {
  DeviceContext* dc = LookUpDC(hdc);
  if (!dc) return FALSE;
  headless::detail::Record(dc, "Ellipse", {left, top, right, bottom});
  if (headless::detail::PaintState* p = headless::detail::TargetOf(dc))
    headless::detail::DrawEllipse(p->surface, {left, top, right, bottom}, dc->clip,
                         dc->pen.colour, dc->brush.colour);
  return TRUE;
}

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT previous) {
  DeviceContext* dc = LookUpDC(hdc);
  if (!dc) return FALSE;
  if (previous) *previous = dc->position;
  dc->position = {x, y};
  headless::detail::Record(dc, "MoveToEx", {x, y});
  return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
  DeviceContext* dc = LookUpDC(hdc);
  if (!dc) return FALSE;
  headless::detail::Record(dc, "LineTo", {x, y});
  headless::detail::PaintState* p = headless::detail::TargetOf(dc);
  if (p && dc->pen.colour) headless::detail::DrawLine(p->surface, dc->position, {x, y}, dc->clip, *dc->pen.colour);
  dc->position = {x, y};
  return TRUE;
}

BOOL TextOutA(HDC hdc, int x, int y, LPCSTR text, int length) {
  DeviceContext* dc = LookUpDC(hdc);
  if (!dc || length < 0 || (!text && length > 0)) return FALSE;
  std::string s(text ? text : "", static_cast<size_t>(length));
  if (headless::GdiCall* call = headless::detail::Record(dc, "TextOutA", {x, y})) call->text = s;
  headless::detail::PaintState* p = headless::detail::TargetOf(dc);
  if (!p) return TRUE;
  int size = headless::detail::FontSizeOf(dc);
  if (dc->bkMode == OPAQUE) {
    RECT cell = {x, y, x + headless::detail::TextWidth(s, size), y + headless::detail::MetricsOf(size).height};
    headless::detail::FillBox(p->surface, cell, dc->clip, headless::PixelOf(dc->bkColor));
  }
  headless::detail::DrawText(p->surface, x, y, s, size, headless::PixelOf(dc->textColor), dc->clip);
  return TRUE;
}

BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR text, int length, LPSIZE size) {
  DeviceContext* dc = LookUpDC(hdc);
  if (!dc || !size || length < 0 || (!text && length > 0)) return FALSE;
  int pixels = headless::detail::FontSizeOf(dc);
  size->cx = headless::detail::TextWidth(std::string(text ? text : "", static_cast<size_t>(length)), pixels);
  size->cy = headless::detail::MetricsOf(pixels).height;
  return TRUE;
}

int FillRect(HDC hdc, const RECT* rect, HBRUSH brush) {
  DeviceContext* dc = LookUpDC(hdc);
  std::optional<COLORREF> colour = headless::detail::BrushColour(brush);
  if (!dc || !rect || !colour) return 0;
  if (headless::GdiCall* call =
          headless::detail::Record(dc, "FillRect", {rect->left, rect->top, rect->right, rect->bottom})) {
    call->brush = *colour;
    call->nullBrush = false;
  }
  if (headless::detail::PaintState* p = headless::detail::TargetOf(dc))
    headless::detail::FillBox(p->surface, *rect, dc->clip, headless::PixelOf(*colour));
  return 1;
}

DWORD GetSysColor(int index) {
  switch (index) {
    case COLOR_WINDOW: return RGB(255, 255, 255);
    case COLOR_WINDOWTEXT: return RGB(0, 0, 0);
    case COLOR_BTNFACE: return RGB(212, 208, 200);
    default: return RGB(0, 0, 0);
  }
}

int SetBkMode(HDC hdc, int mode) {
  DeviceContext* dc = LookUpDC(hdc);
  if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  int previous = dc->bkMode;
  dc->bkMode = mode;
  headless::detail::Record(dc, "SetBkMode", {mode});
  return previous;
}

int GetBkMode(HDC hdc) {
  DeviceContext* dc = LookUpDC(hdc);
  return dc ? dc->bkMode : 0;
}

COLORREF SetTextColor(HDC hdc, COLORREF color) {
  DeviceContext* dc = LookUpDC(hdc);
  if (!dc) return CLR_INVALID;
  COLORREF previous = dc->textColor;
  dc->textColor = color & 0xFFFFFF;
  headless::detail::Record(dc, "SetTextColor", {static_cast<int>(color & 0xFFFFFF)});
  return previous;
}

COLORREF SetBkColor(HDC hdc, COLORREF color) {
  DeviceContext* dc = LookUpDC(hdc);
  if (!dc) return CLR_INVALID;
  COLORREF previous = dc->bkColor;
  dc->bkColor = color & 0xFFFFFF;
  headless::detail::Record(dc, "SetBkColor", {static_cast<int>(color & 0xFFFFFF)});
  return previous;
}
