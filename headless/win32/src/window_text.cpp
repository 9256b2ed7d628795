// A window's text: the calls, which go through the window's procedure, and
// the default procedure's keeping of it.
#include <algorithm>
#include <cstring>

#include "windows_internal.h"

namespace headless::detail {

LRESULT DefaultTextMessage(WindowData* w, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_NCCREATE: {
      // The window's text comes from its creation, through here.
      auto cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
      if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) w->text = cs->lpszName;
      return TRUE;
    }
    case WM_SETTEXT:
      w->text = lParam ? reinterpret_cast<const char*>(lParam) : "";
      ControlChanged(w->handle);
      return TRUE;
    case WM_GETTEXT: {
      if (wParam == 0 || !lParam) return 0;
      size_t n = std::min(w->text.size(), static_cast<size_t>(wParam) - 1);
      std::memcpy(reinterpret_cast<char*>(lParam), w->text.data(), n);
      reinterpret_cast<char*>(lParam)[n] = '\0';
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(w->text.size());
    default:
      return 0;
  }
}

}  // namespace headless::detail

using headless::detail::LookUpWindow;

BOOL SetWindowTextA(HWND hwnd, LPCSTR text) {
  if (!LookUpWindow(hwnd)) return headless::detail::InvalidWindow(), FALSE;
  return static_cast<BOOL>(SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)));
}

int GetWindowTextA(HWND hwnd, LPSTR text, int max) {
  if (!LookUpWindow(hwnd)) return headless::detail::InvalidWindow(), 0;
  if (max <= 0 || !text) return 0;
  return static_cast<int>(SendMessageA(hwnd, WM_GETTEXT, static_cast<WPARAM>(max),
                                       reinterpret_cast<LPARAM>(text)));
}

int GetWindowTextLengthA(HWND hwnd) {
  if (!LookUpWindow(hwnd)) return headless::detail::InvalidWindow(), 0;
  return static_cast<int>(SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0));
}
