// Window data: the class-declared extra bytes and the fields GWL_ and GWLP_
// indexes name (user data, styles, id, instance, procedure).
#include <cstring>

#include "windows_internal.h"

using headless::detail::LookUpWindow;
using headless::detail::WindowData;

LONG_PTR GetWindowLongPtrA(HWND hwnd, int index) {
  WindowData* w = LookUpWindow(hwnd);
  if (!w) return headless::detail::InvalidWindow(), 0;
  if (index >= 0) {
    LONG_PTR value = 0;
    if (static_cast<size_t>(index) + sizeof value > w->extra.size()) return 0;
    std::memcpy(&value, w->extra.data() + index, sizeof value);
    return value;
  }
  switch (index) {
    case GWLP_USERDATA: return w->userData;
    case GWL_STYLE: return static_cast<LONG>(w->style);
    case GWL_EXSTYLE: return static_cast<LONG>(w->exStyle);
    case GWLP_ID: return w->id;
    case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->instance);
    case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc);
    default: return 0;
  }
}

LONG_PTR SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value) {
  WindowData* w = LookUpWindow(hwnd);
  if (!w) return headless::detail::InvalidWindow(), 0;
  LONG_PTR previous = GetWindowLongPtrA(hwnd, index);
  if (index >= 0) {
    if (static_cast<size_t>(index) + sizeof value <= w->extra.size())
      std::memcpy(w->extra.data() + index, &value, sizeof value);
    return previous;
  }
  switch (index) {
    case GWLP_USERDATA: w->userData = value; break;
    case GWL_STYLE: w->style = static_cast<DWORD>(value); break;
    case GWL_EXSTYLE: w->exStyle = static_cast<DWORD>(value); break;
    case GWLP_ID:
      w->id = static_cast<int>(value);
      if (WindowData* parent = LookUpWindow(w->parent)) parent->childIdsStale = true;
      break;
    case GWLP_WNDPROC: w->proc = reinterpret_cast<WNDPROC>(value); break;
    default: return 0;
  }
  return previous;
}

LONG GetWindowLongA(HWND hwnd, int index) {
  return static_cast<LONG>(GetWindowLongPtrA(hwnd, index));
}

LONG SetWindowLongA(HWND hwnd, int index, LONG value) {
  return static_cast<LONG>(SetWindowLongPtrA(hwnd, index, value));
}
