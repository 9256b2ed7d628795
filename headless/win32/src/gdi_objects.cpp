// GDI objects: stock objects, pens, brushes and fonts, selecting them into a
// device context and deleting them.
#include <map>

#include "font.h"
#include "paint_state.h"

namespace headless::detail {

namespace {

std::map<HGDIOBJ, GdiObject>& Objects() {
  static std::map<HGDIOBJ, GdiObject> objects;
  return objects;
}

// Handles count up and are never reused, so a deleted object stays unknown.
HGDIOBJ AddObject(const GdiObject& object) {
  static uintptr_t next = 0x40000;
  next += 4;
  HGDIOBJ handle = reinterpret_cast<HGDIOBJ>(next);
  Objects()[handle] = object;
  return handle;
}

GdiObject Stock(GdiKind kind, COLORREF color, bool null = false, int pixelSize = 0) {
  GdiObject o;
  o.kind = kind;
  o.color = color;
  o.null = null;
  o.pixelSize = pixelSize;
  o.stock = true;
  return o;
}

HGDIOBJ StockObject(int index) {
  static std::map<int, HGDIOBJ> made;
  auto it = made.find(index);
  if (it != made.end()) return it->second;
  GdiObject o;
  switch (index) {
    case WHITE_BRUSH: o = Stock(GdiKind::kBrush, RGB(255, 255, 255)); break;
    case LTGRAY_BRUSH: o = Stock(GdiKind::kBrush, RGB(192, 192, 192)); break;
    case GRAY_BRUSH: o = Stock(GdiKind::kBrush, RGB(128, 128, 128)); break;
    case DKGRAY_BRUSH: o = Stock(GdiKind::kBrush, RGB(64, 64, 64)); break;
    case BLACK_BRUSH: o = Stock(GdiKind::kBrush, RGB(0, 0, 0)); break;
    case NULL_BRUSH: o = Stock(GdiKind::kBrush, 0, true); break;
    case WHITE_PEN: o = Stock(GdiKind::kPen, RGB(255, 255, 255)); break;
    case BLACK_PEN: o = Stock(GdiKind::kPen, RGB(0, 0, 0)); break;
    case NULL_PEN: o = Stock(GdiKind::kPen, 0, true); break;
    // Stand-in: both fonts are the stand-in's typeface, 9 and 8 points.
    case SYSTEM_FONT: o = Stock(GdiKind::kFont, 0, false, PixelSizeOfPoints(9)); break;
    case DEFAULT_GUI_FONT: o = Stock(GdiKind::kFont, 0, false, PixelSizeOfPoints(8)); break;
    default: return nullptr;
  }
  return made[index] = AddObject(o);
}

Selected* SlotOf(DeviceContext* dc, GdiKind kind) {
  switch (kind) {
    case GdiKind::kPen: return &dc->pen;
    case GdiKind::kBrush: return &dc->brush;
    default: return &dc->font;
  }
}

const char* NameOf(GdiKind kind) {
  switch (kind) {
    case GdiKind::kPen: return "pen";
    case GdiKind::kBrush: return "brush";
    default: return "font";
  }
}

}  // namespace

GdiObject* LookUpObject(HGDIOBJ object) {
  auto it = Objects().find(object);
  return it == Objects().end() ? nullptr : &it->second;
}

HFONT FontOfPixelSize(int pixelSize) {
  static std::map<int, HGDIOBJ> fonts;
  HGDIOBJ& font = fonts[pixelSize];
  if (!font) font = AddObject(Stock(GdiKind::kFont, 0, false, pixelSize));
  return static_cast<HFONT>(font);
}

}  // namespace headless::detail

using headless::detail::GdiKind;
using headless::detail::GdiObject;

HGDIOBJ GetStockObject(int object) { return headless::detail::StockObject(object); }

HPEN CreatePen(int style, int width, COLORREF color) {
  GdiObject o;
  o.kind = GdiKind::kPen;
  o.color = color & 0xFFFFFF;
  o.null = style == PS_NULL;
  o.width = width;
  return static_cast<HPEN>(headless::detail::AddObject(o));
}

HBRUSH CreateSolidBrush(COLORREF color) {
  GdiObject o;
  o.kind = GdiKind::kBrush;
  o.color = color & 0xFFFFFF;
  return static_cast<HBRUSH>(headless::detail::AddObject(o));
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object) {
  headless::detail::DeviceContext* dc = headless::detail::LookUpDC(hdc);
  GdiObject* o = headless::detail::LookUpObject(object);
  if (!dc || !o) return nullptr;
  headless::detail::Selected* slot = headless::detail::SlotOf(dc, o->kind);
  HGDIOBJ previous = slot->handle;
  slot->Set(object);
  if (headless::GdiCall* call = headless::detail::Record(dc, "SelectObject", {}))
    call->text = headless::detail::NameOf(o->kind);
  return previous;
}

BOOL DeleteObject(HGDIOBJ object) {
  GdiObject* o = headless::detail::LookUpObject(object);
  if (!o) return FALSE;
  if (o->stock) return TRUE;
  if (headless::detail::IsSelected(object)) return FALSE;
  headless::detail::Objects().erase(object);
  return TRUE;
}
