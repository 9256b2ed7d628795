// The order of destruction: owned windows first, then WM_DESTROY to the
// window before its children (every handle still valid), then WM_NCDESTROY
// and the end of each handle, children first; and the user's close box.
#include <headless_win32.h>

#include "windows_internal.h"

namespace headless::detail {

namespace {

void MarkDestroying(WindowData* w) {
  w->destroying = true;
  for (HWND child : w->children) MarkDestroying(LookUpWindow(child));
}

// WM_DESTROY reaches a window before its children, all handles still valid.
void SendDestroy(HWND hwnd) {
  if (!LookUpWindow(hwnd)) return;
  SendMessageA(hwnd, WM_DESTROY, 0, 0);
  WindowData* w = LookUpWindow(hwnd);
  if (!w) return;
  std::vector<HWND> children = w->children;
  for (HWND child : children) SendDestroy(child);
}

}  // namespace

void FreeWindow(HWND hwnd) {
  WindowData* w = LookUpWindow(hwnd);
  if (!w) return;
  std::vector<HWND> children = w->children;
  for (HWND child : children) FreeWindow(child);
  SendMessageA(hwnd, WM_NCDESTROY, 0, 0);
  HMENU menu = LookUpWindow(hwnd)->menu;
  RemoveWindow(hwnd);
  // A window's menu bar goes with it, unless the program destroyed it already.
  if (IsMenu(menu)) DestroyMenu(menu);
}

}  // namespace headless::detail

using headless::detail::LookUpWindow;
using headless::detail::WindowData;

BOOL DestroyWindow(HWND hwnd) {
  WindowData* w = LookUpWindow(hwnd);
  if (!w) return headless::detail::InvalidWindow(), FALSE;
  if (w->destroying) return TRUE;  // already on its way out
  headless::detail::MoveFocusOutOf(hwnd);
  headless::detail::MarkDestroying(LookUpWindow(hwnd));
  // Owned windows go first, as on Windows.
  for (HWND other : headless::detail::AllWindows()) {
    WindowData* o = LookUpWindow(other);
    if (o && o->owner == hwnd) DestroyWindow(other);
  }
  headless::detail::SendDestroy(hwnd);
  headless::detail::FreeWindow(hwnd);
  return TRUE;
}

bool headless::PressCloseBox(HWND window) {
  WindowData* w = LookUpWindow(window);
  if (!w || (w->style & WS_CHILD) || !(w->style & WS_SYSMENU) || !IsWindowVisible(window) ||
      !IsWindowEnabled(window))
    return false;
  SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  return true;
}
