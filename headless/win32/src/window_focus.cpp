// Keyboard focus: one window at a time holds it; the one losing it hears of
// it (WM_KILLFOCUS) before the one gaining it (WM_SETFOCUS).
#include "windows_internal.h"

namespace headless::detail {

namespace {

HWND focusWindow = nullptr;

}  // namespace

// The focus moves to the parent, as on Windows, so the focused control hears
// of it (WM_KILLFOCUS) while everything is still alive.
void MoveFocusOutOf(HWND hwnd) {
  HWND focus = GetFocus();
  if (focus && (focus == hwnd || IsChild(hwnd, focus))) {
    WindowData* w = LookUpWindow(hwnd);
    WindowData* parent = (w->style & WS_CHILD) ? LookUpWindow(w->parent) : nullptr;
    SetFocus(parent && !parent->destroying ? parent->handle : nullptr);
  }
}

}  // namespace headless::detail

HWND SetFocus(HWND hwnd) {
  if (hwnd && !headless::detail::LookUpWindow(hwnd)) return headless::detail::InvalidWindow(), nullptr;
  HWND old = GetFocus();
  if (hwnd == old) return old;
  headless::detail::focusWindow = hwnd;
  if (old) SendMessageA(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
  if (hwnd && headless::detail::focusWindow == hwnd)
    SendMessageA(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
  return old;
}

HWND GetFocus() { return headless::detail::LookUpWindow(headless::detail::focusWindow) ? headless::detail::focusWindow : nullptr; }
