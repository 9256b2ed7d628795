// Painting: each window's update rectangle, BeginPaint and EndPaint,
// invalidation and the default erase and paint.
#include <algorithm>
#include <memory>

#include "paint_state.h"
#include "window_table.h"

namespace headless::detail {

namespace {

constexpr uint32_t kUnpainted = 0xFFFFFF;

bool Empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

RECT Union(const RECT& a, const RECT& b) {
  if (Empty(a)) return b;
  if (Empty(b)) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

RECT Intersection(const RECT& a, const RECT& b) {
  RECT r = {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
  return Empty(r) ? RECT{0, 0, 0, 0} : r;
}

bool IncludesChildren(HWND hwnd, UINT flags) {
  if (flags & RDW_ALLCHILDREN) return true;
  WindowData* w = LookUpWindow(hwnd);
  return !(flags & RDW_NOCHILDREN) && w && !(w->style & WS_CLIPCHILDREN);
}

// Adds r (client coordinates; null for all of it) to the update rectangle,
// and to the children it covers when they are included.
void Invalidate(HWND hwnd, const RECT* r, bool erase, UINT flags) {
  // A window never painted is invalid all over already (its state starts
  // so): nothing is made or measured for it before it paints.
  WindowData* w = LookUpWindow(hwnd);
  if (!w || (!w->paint && w->children.empty())) return;
  RECT client = ClientRectOf(hwnd);
  RECT area = r ? Intersection(*r, client) : client;
  if (Empty(area)) return;
  if (w->paint) {
    PaintState* p = PaintStateOf(hwnd);
    p->update = Union(p->update, area);
    if (erase) p->erase = true;
  }
  if (!IncludesChildren(hwnd, flags)) return;
  std::vector<HWND> children = LookUpWindow(hwnd)->children;
  for (HWND child : children) {
    POINT o = ClientOriginInParent(child);
    RECT c = ClientRectOf(child);
    RECT inChild = Intersection(area, {o.x, o.y, o.x + c.right, o.y + c.bottom});
    if (Empty(inChild)) continue;
    RECT local = {inChild.left - o.x, inChild.top - o.y, inChild.right - o.x, inChild.bottom - o.y};
    Invalidate(child, &local, erase, flags);
  }
}

// Sends WM_ERASEBKGND through a device context clipped to the update area.
void EraseNow(HWND hwnd, PaintState* p) {
  p->erase = false;
  HDC hdc = ContextFor(hwnd, p);
  LookUpDC(hdc)->clip = p->update;
  SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
  ReleaseDC(hwnd, hdc);
}

void UpdateNow(HWND hwnd, UINT flags) {
  PaintState* p = PaintStateOf(hwnd);
  if (p && p->Pending()) SendMessageA(hwnd, WM_PAINT, 0, 0);
  if (!IncludesChildren(hwnd, flags) || !LookUpWindow(hwnd)) return;
  std::vector<HWND> children = LookUpWindow(hwnd)->children;
  for (HWND child : children)
    if (IsWindowVisible(child)) UpdateNow(child, flags);
}

HBRUSH BackgroundOf(HWND hwnd) {
  WindowData* w = LookUpWindow(hwnd);
  // Stand-in: the dialog manager's face colour for dialogs, without
  // WM_CTLCOLORDLG.
  if (w->windowClass->name == dialogClassName)
    return reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_BTNFACE + 1));
  return w->windowClass->background;
}

}  // namespace

bool PaintState::Pending() const { return !Empty(update) || internalPaint; }

PaintState* PaintStateOf(HWND hwnd) {
  WindowData* w = LookUpWindow(hwnd);
  if (!w) return nullptr;
  RECT client = ClientRectOf(hwnd);
  if (!w->paint) {
    // A new window has nothing on it yet: all of it is to be painted.
    w->paint = std::make_shared<PaintState>();
    w->paint->update = client;
    w->paint->erase = true;
  }
  Surface& s = w->paint->surface;
  if (s.width != client.right || s.height != client.bottom) s.Resize(client.right, client.bottom, kUnpainted);
  return w->paint.get();
}

LRESULT DefaultPaintMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM) {
  if (msg == WM_ERASEBKGND) {
    HBRUSH brush = BackgroundOf(hwnd);
    if (!brush) return 0;
    RECT client = ClientRectOf(hwnd);
    FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
    return 1;
  }
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(hwnd, &ps);
  if (hdc && IsPaintedControl(hwnd)) PaintControl(hwnd, hdc);
  if (hdc) EndPaint(hwnd, &ps);
  return 0;
}

}  // namespace headless::detail

using headless::detail::LookUpDC;
using headless::detail::PaintState;
using headless::detail::PaintStateOf;

HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT paint) {
  PaintState* p = PaintStateOf(hwnd);
  if (!p || !paint) return nullptr;
  *paint = PAINTSTRUCT{};
  HDC hdc = headless::detail::ContextFor(hwnd, p);
  paint->hdc = hdc;
  paint->rcPaint = p->update;
  LookUpDC(hdc)->clip = p->update;
  // Validated first, so what the erase invalidates stays invalid.
  bool erase = p->erase;
  p->update = {0, 0, 0, 0};
  p->erase = false;
  p->internalPaint = false;
  if (erase)
    paint->fErase = SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0) ? FALSE : TRUE;
  return hdc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint) {
  if (!paint) return FALSE;
  headless::detail::DeviceContext* dc = LookUpDC(paint->hdc);
  if (dc && dc->own) dc->clip = headless::detail::ClientRectOf(hwnd);
  ReleaseDC(hwnd, paint->hdc);
  return TRUE;
}

// Stand-in: there is no desktop; a null window is not invalidated.
BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
  if (!headless::detail::LookUpWindow(hwnd)) return FALSE;
  headless::detail::Invalidate(hwnd, rect, erase != FALSE, 0);
  return TRUE;
}

// Stand-in: validating part of the update rectangle validates nothing unless
// it covers all of it.
BOOL ValidateRect(HWND hwnd, const RECT* rect) {
  PaintState* p = PaintStateOf(hwnd);
  if (!p) return FALSE;
  RECT& u = p->update;
  if (!rect || (rect->left <= u.left && rect->top <= u.top && rect->right >= u.right &&
                rect->bottom >= u.bottom)) {
    u = {0, 0, 0, 0};
    p->erase = false;
  }
  return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase) {
  PaintState* p = PaintStateOf(hwnd);
  if (!p) return FALSE;
  bool any = !headless::detail::Empty(p->update);
  if (rect) *rect = p->update;
  if (erase && any && p->erase) headless::detail::EraseNow(hwnd, p);
  return any ? TRUE : FALSE;
}

BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN region, UINT flags) {
  PaintState* p = PaintStateOf(hwnd);
  if (!p) return FALSE;
  const RECT* area = region ? nullptr : rect;
  if (flags & RDW_INVALIDATE) headless::detail::Invalidate(hwnd, area, (flags & RDW_ERASE) != 0, flags);
  if (flags & RDW_VALIDATE) ValidateRect(hwnd, area);
  p = PaintStateOf(hwnd);
  if (flags & RDW_NOERASE) p->erase = false;
  if (flags & RDW_INTERNALPAINT) p->internalPaint = true;
  if (flags & RDW_NOINTERNALPAINT) p->internalPaint = false;
  if (flags & RDW_UPDATENOW)
    headless::detail::UpdateNow(hwnd, flags);
  else if ((flags & RDW_ERASENOW) && p->erase && !headless::detail::Empty(p->update))
    headless::detail::EraseNow(hwnd, p);
  return TRUE;
}

BOOL UpdateWindow(HWND hwnd) {
  PaintState* p = PaintStateOf(hwnd);
  if (!p) return FALSE;
  if (!headless::detail::Empty(p->update)) SendMessageA(hwnd, WM_PAINT, 0, 0);
  return TRUE;
}

