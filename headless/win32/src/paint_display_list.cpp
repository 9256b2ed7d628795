// Display lists: each drawing call recorded, with the context's state, for
// the window it draws on, while recording is on; and a colour as a surface
// holds it (headless::PixelOf).
#include "paint_state.h"

namespace headless::detail {

bool recordingGdiCalls = false;

headless::GdiCall* RecordCall(const DeviceContext* dc, const char* op, std::initializer_list<int> args) {
  PaintState* p = TargetOf(dc);
  if (!p) return nullptr;
  p->calls.emplace_back();
  headless::GdiCall& call = p->calls.back();
  call.op = op;
  call.args = args;
  if (const GdiObject* pen = dc->pen.object) {
    call.pen = pen->color;
    call.nullPen = pen->null;
  }
  if (const GdiObject* brush = dc->brush.object) {
    call.brush = brush->color;
    call.nullBrush = brush->null;
  }
  call.textColor = dc->textColor;
  call.bkColor = dc->bkColor;
  call.bkMode = dc->bkMode;
  return &call;
}

}  // namespace headless::detail

using headless::detail::PaintState;
using headless::detail::PaintStateOf;

const std::vector<headless::GdiCall>& headless::DisplayList(HWND window) {
  static const std::vector<GdiCall> none;
  PaintState* p = PaintStateOf(window);
  return p ? p->calls : none;
}

void headless::ClearDisplayList(HWND window) {
  if (PaintState* p = PaintStateOf(window)) p->calls.clear();
}

bool headless::RecordGdiCalls(bool record) {
  bool previous = headless::detail::recordingGdiCalls;
  headless::detail::recordingGdiCalls = record;
  return previous;
}

uint32_t headless::PixelOf(COLORREF c) {
  return (static_cast<uint32_t>(GetRValue(c)) << 16) | (static_cast<uint32_t>(GetGValue(c)) << 8) |
         GetBValue(c);
}
