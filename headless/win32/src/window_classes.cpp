// Window classes: registering and unregistering them, finding the one a
// window is made of (the module's own first, then a global or system class),
// and a window's class name.
#include <algorithm>
#include <cstring>
#include <memory>

#include "windows_internal.h"

namespace headless::detail {

namespace {

std::vector<std::unique_ptr<WindowClass>>& Classes() {
  static std::vector<std::unique_ptr<WindowClass>> classes;
  return classes;
}

// Class names compare without regard to ASCII case; plain arithmetic, as
// std::tolower's locale look-up shows in every control's class check.
char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::string ClassNameOf(LPCSTR className) {
  return className && !IS_INTRESOURCE(className) ? className : std::string();
}

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

WindowClass* FindClass(const std::string& name, HINSTANCE instance) {
  RegisterSystemClasses();
  for (auto& wc : Classes())
    if (!(wc->style & CS_GLOBALCLASS) && wc->instance == instance && SameName(wc->name, name))
      return wc.get();
  for (auto& wc : Classes())
    if ((wc->style & CS_GLOBALCLASS) && SameName(wc->name, name)) return wc.get();
  return nullptr;
}

}  // namespace headless::detail

ATOM RegisterClassA(const WNDCLASSA* wc) {
  std::string name = headless::detail::ClassNameOf(wc ? wc->lpszClassName : nullptr);
  if (name.empty() || !wc->lpfnWndProc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  for (auto& existing : headless::detail::Classes())
    if (headless::detail::SameName(existing->name, name) &&
        (existing->instance == wc->hInstance || (existing->style & CS_GLOBALCLASS))) {
      SetLastError(ERROR_CLASS_ALREADY_EXISTS);
      return 0;
    }
  auto entry = std::make_unique<headless::detail::WindowClass>();
  entry->name = name;
  entry->style = wc->style;
  entry->proc = wc->lpfnWndProc;
  entry->windowExtra = wc->cbWndExtra > 0 ? wc->cbWndExtra : 0;
  entry->instance = wc->hInstance;
  entry->cursor = wc->hCursor;
  entry->background = wc->hbrBackground;
  entry->menuName = wc->lpszMenuName && !IS_INTRESOURCE(wc->lpszMenuName) ? wc->lpszMenuName : "";
  headless::detail::Classes().push_back(std::move(entry));
  // Stand-in: the atom is the class's place in the table, not a global atom.
  return static_cast<ATOM>(0xC000 + headless::detail::Classes().size());
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE hInstance) {
  std::string name = headless::detail::ClassNameOf(className);
  auto& classes = headless::detail::Classes();
  for (auto it = classes.begin(); it != classes.end(); ++it) {
    if (!headless::detail::SameName((*it)->name, name) || (*it)->instance != hInstance) continue;
    if ((*it)->liveWindows > 0) {
      SetLastError(ERROR_CLASS_HAS_WINDOWS);
      return FALSE;
    }
    classes.erase(it);
    return TRUE;
  }
  SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
  return FALSE;
}

BOOL GetClassInfoA(HINSTANCE hInstance, LPCSTR className, LPWNDCLASSA wc) {
  headless::detail::WindowClass* found = headless::detail::FindClass(headless::detail::ClassNameOf(className), hInstance);
  if (!found || !wc) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  *wc = WNDCLASSA();
  wc->style = found->style;
  wc->lpfnWndProc = found->proc;
  wc->cbWndExtra = found->windowExtra;
  wc->hInstance = found->instance;
  wc->hCursor = found->cursor;
  wc->hbrBackground = found->background;
  wc->lpszClassName = className;
  return TRUE;
}

int GetClassNameA(HWND hwnd, LPSTR className, int max) {
  headless::detail::WindowData* w = headless::detail::LookUpWindow(hwnd);
  if (!w) return headless::detail::InvalidWindow(), 0;
  if (max <= 0) return 0;
  size_t n = std::min(w->windowClass->name.size(), static_cast<size_t>(max) - 1);
  std::memcpy(className, w->windowClass->name.data(), n);
  className[n] = '\0';
  return static_cast<int>(n);
}
