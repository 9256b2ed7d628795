// Device contexts: made for a window (a CS_OWNDC window's own one lives
// with it), looked up by handle, released; GetDC and ReleaseDC.
#include <map>
#include <memory>

#include "paint_state.h"
#include "window_table.h"

namespace headless::detail {

namespace {

// Never freed: windows dying at exit still release their own contexts here.
std::map<HDC, std::unique_ptr<DeviceContext>>& Contexts() {
  static auto* contexts = new std::map<HDC, std::unique_ptr<DeviceContext>>;
  return *contexts;
}

void ForgetContext(HDC hdc) {
  if (hdc == lastDC) {
    lastDC = nullptr;
    lastContext = nullptr;
  }
  Contexts().erase(hdc);
}

HDC NewContext(HWND window, bool own, const std::shared_ptr<PaintState>& target) {
  static uintptr_t next = 0x80000;
  next += 4;
  HDC handle = reinterpret_cast<HDC>(next);
  auto dc = std::make_unique<DeviceContext>();
  dc->Reset(window, ClientRectOf(window));
  dc->own = own;
  dc->target = target;
  dc->targetState = target.get();
  Contexts()[handle] = std::move(dc);
  return handle;
}

bool HasOwnDC(HWND hwnd) {
  WindowData* w = LookUpWindow(hwnd);
  return w && (w->windowClass->style & CS_OWNDC);
}

}  // namespace

HDC ContextFor(HWND hwnd, PaintState* p) {
  const std::shared_ptr<PaintState>& shared = LookUpWindow(hwnd)->paint;
  if (!HasOwnDC(hwnd)) return NewContext(hwnd, false, shared);
  if (!p->ownDC) p->ownDC = NewContext(hwnd, true, shared);
  return p->ownDC;
}

void DeviceContext::Reset(HWND w, const RECT& client) {
  window = w;
  pen.Set(GetStockObject(BLACK_PEN));
  brush.Set(GetStockObject(WHITE_BRUSH));
  font.Set(GetStockObject(SYSTEM_FONT));
  textColor = RGB(0, 0, 0);
  bkColor = RGB(255, 255, 255);
  bkMode = OPAQUE;
  position = {0, 0};
  clip = client;
}

HDC lastDC = nullptr;
DeviceContext* lastContext = nullptr;

DeviceContext* FindDC(HDC hdc) {
  auto it = Contexts().find(hdc);
  if (it == Contexts().end()) return nullptr;
  lastDC = hdc;
  lastContext = it->second.get();
  return lastContext;
}

bool IsSelected(HGDIOBJ object) {
  for (auto& entry : Contexts()) {
    const DeviceContext& dc = *entry.second;
    if (dc.pen.handle == object || dc.brush.handle == object || dc.font.handle == object) return true;
  }
  return false;
}

PaintState::~PaintState() {
  if (ownDC) ForgetContext(ownDC);
}

}  // namespace headless::detail

using headless::detail::LookUpDC;
using headless::detail::PaintState;
using headless::detail::PaintStateOf;

HDC GetDC(HWND hwnd) {
  PaintState* p = PaintStateOf(hwnd);
  if (!p) return nullptr;
  HDC hdc = headless::detail::ContextFor(hwnd, p);
  LookUpDC(hdc)->clip = headless::detail::ClientRectOf(hwnd);
  return hdc;
}

int ReleaseDC(HWND, HDC hdc) {
  headless::detail::DeviceContext* dc = LookUpDC(hdc);
  if (!dc) return 0;
  if (!dc->own) headless::detail::ForgetContext(hdc);
  return 1;
}
