// Enable and show state: a window disabled or hidden gives up the focus
// first, and hears of the change (WM_ENABLE, WM_SHOWWINDOW).
#include "windows_internal.h"

using headless::detail::LookUpWindow;
using headless::detail::WindowData;

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  WindowData* w = LookUpWindow(hwnd);
  if (!w) return headless::detail::InvalidWindow(), FALSE;
  BOOL wasDisabled = (w->style & WS_DISABLED) ? TRUE : FALSE;
  if (enable == !wasDisabled) return wasDisabled;
  if (enable) {
    w->style &= ~static_cast<DWORD>(WS_DISABLED);
  } else {
    w->style |= WS_DISABLED;
    // A disabled window cannot keep the keyboard.
    HWND focus = GetFocus();
    if (focus == hwnd || IsChild(hwnd, focus)) SetFocus(nullptr);
  }
  headless::detail::ControlChanged(hwnd);
  SendMessageA(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
  return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd) {
  WindowData* w = LookUpWindow(hwnd);
  return w && !(w->style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL ShowWindow(HWND hwnd, int cmdShow) {
  WindowData* w = LookUpWindow(hwnd);
  if (!w) return headless::detail::InvalidWindow(), FALSE;
  BOOL wasVisible = (w->style & WS_VISIBLE) ? TRUE : FALSE;
  bool show = cmdShow != SW_HIDE;
  if (show == (wasVisible != FALSE)) return wasVisible;
  if (!show) headless::detail::MoveFocusOutOf(hwnd);
  w = LookUpWindow(hwnd);
  if (!w) return wasVisible;
  if (show)
    w->style |= WS_VISIBLE;
  else
    w->style &= ~static_cast<DWORD>(WS_VISIBLE);
  SendMessageA(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
  return wasVisible;
}

BOOL IsWindowVisible(HWND hwnd) {
  for (WindowData* w = LookUpWindow(hwnd); w; w = LookUpWindow(w->parent))
    if (!(w->style & WS_VISIBLE)) return FALSE;
  return LookUpWindow(hwnd) ? TRUE : FALSE;
}
