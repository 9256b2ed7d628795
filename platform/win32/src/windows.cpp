// Windows: handles, window classes, procedures, window data, text, enable and
// show state, parent and owner, focus and the order of destruction; the
// user's close box.
#include <headless_win32.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <unordered_map>

#include "window_table.h"

namespace standin {

namespace {

// Hashed: every call on a window starts with finding it, many times a sample
// when a panel shows progress.
std::unordered_map<HWND, std::unique_ptr<WindowData>>& Windows() {
  static std::unordered_map<HWND, std::unique_ptr<WindowData>> windows;
  return windows;
}

std::vector<std::unique_ptr<WindowClass>>& Classes() {
  static std::vector<std::unique_ptr<WindowClass>> classes;
  return classes;
}

HWND focusWindow = nullptr;

// Handles count up and are never reused; they are even, as Windows' are.
HWND NewHandle() {
  static uintptr_t next = 0x10000;
  next += 4;
  return reinterpret_cast<HWND>(next);
}

WindowData* Invalid() {
  SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return nullptr;
}

HWND TopLevelOf(HWND hwnd) {
  for (WindowData* w = LookUpWindow(hwnd); w; w = LookUpWindow(w->parent))
    if (!(w->style & WS_CHILD)) return w->handle;
  return nullptr;
}

WindowData* AddWindow(WindowClass* wc, DWORD exStyle, DWORD style, HWND parent, HMENU menu,
                      HINSTANCE instance) {
  auto data = std::make_unique<WindowData>();
  data->handle = NewHandle();
  data->windowClass = wc;
  data->proc = wc->proc;
  data->instance = instance;
  data->style = style;
  data->exStyle = exStyle;
  if (style & WS_CHILD) {
    data->parent = parent;
    data->id = static_cast<int>(reinterpret_cast<intptr_t>(menu));
    WindowData* p = LookUpWindow(parent);
    p->children.push_back(data->handle);
    p->childIdsStale = true;
  } else {
    data->owner = TopLevelOf(parent);
    data->menu = menu;
  }
  data->extra.assign(static_cast<size_t>(wc->windowExtra), 0);
  ++wc->liveWindows;
  WindowData* w = data.get();
  Windows()[w->handle] = std::move(data);
  return w;
}

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

// WM_NCDESTROY and the end of the handle, children first.
void FreeWindow(HWND hwnd) {
  WindowData* w = LookUpWindow(hwnd);
  if (!w) return;
  std::vector<HWND> children = w->children;
  for (HWND child : children) FreeWindow(child);
  SendMessageA(hwnd, WM_NCDESTROY, 0, 0);
  w = LookUpWindow(hwnd);
  if (WindowData* parent = LookUpWindow(w->parent)) {
    auto& siblings = parent->children;
    for (auto it = siblings.begin(); it != siblings.end(); ++it)
      if (*it == hwnd) {
        siblings.erase(it);
        break;
      }
    parent->childIdsStale = true;
  }
  --w->windowClass->liveWindows;
  HMENU menu = w->menu;
  Windows().erase(hwnd);
  // A window's menu bar goes with it, unless the program destroyed it already.
  if (IsMenu(menu)) DestroyMenu(menu);
}

// A window that goes away or out of sight takes the focus with it: the focus
// moves to its parent, as on Windows, so the focused control hears of it
// (WM_KILLFOCUS) while everything is still alive.
void MoveFocusOutOf(HWND hwnd) {
  HWND focus = GetFocus();
  if (focus && (focus == hwnd || IsChild(hwnd, focus))) {
    WindowData* w = LookUpWindow(hwnd);
    WindowData* parent = (w->style & WS_CHILD) ? LookUpWindow(w->parent) : nullptr;
    SetFocus(parent && !parent->destroying ? parent->handle : nullptr);
  }
}

std::string ClassNameOf(LPCSTR className) {
  return className && !IS_INTRESOURCE(className) ? className : std::string();
}

}  // namespace

WindowData* LookUpWindow(HWND hwnd) {
  auto it = Windows().find(hwnd);
  return it == Windows().end() ? nullptr : it->second.get();
}

HWND ChildWithId(WindowData* parent, int id) {
  if (parent->childIdsStale) {
    parent->childById.clear();
    // Backwards, so that the first child with an id is the one kept.
    for (auto it = parent->children.rbegin(); it != parent->children.rend(); ++it)
      parent->childById[LookUpWindow(*it)->id] = *it;
    parent->childIdsStale = false;
  }
  auto found = parent->childById.find(id);
  return found == parent->childById.end() ? nullptr : found->second;
}

namespace {

// Class names compare without regard to ASCII case; plain arithmetic, as
// std::tolower's locale look-up shows in every control's class check.
char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

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

void NotifyParent(HWND control, WORD code) {
  WindowData* w = LookUpWindow(control);
  if (!w || !w->parent) return;
  SendMessageA(w->parent, WM_COMMAND, MAKEWPARAM(w->id, code), reinterpret_cast<LPARAM>(control));
}

std::vector<HWND> AllWindows() {
  std::vector<HWND> handles;
  handles.reserve(Windows().size());
  for (auto& entry : Windows()) handles.push_back(entry.first);
  // Handles count up, so their order is the order of creation.
  std::sort(handles.begin(), handles.end(), [](HWND a, HWND b) {
    return reinterpret_cast<uintptr_t>(a) < reinterpret_cast<uintptr_t>(b);
  });
  return handles;
}

}  // namespace standin

using standin::LookUpWindow;
using standin::WindowData;

ATOM RegisterClassA(const WNDCLASSA* wc) {
  std::string name = standin::ClassNameOf(wc ? wc->lpszClassName : nullptr);
  if (name.empty() || !wc->lpfnWndProc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  for (auto& existing : standin::Classes())
    if (standin::SameName(existing->name, name) &&
        (existing->instance == wc->hInstance || (existing->style & CS_GLOBALCLASS))) {
      SetLastError(ERROR_CLASS_ALREADY_EXISTS);
      return 0;
    }
  auto entry = std::make_unique<standin::WindowClass>();
  entry->name = name;
  entry->style = wc->style;
  entry->proc = wc->lpfnWndProc;
  entry->windowExtra = wc->cbWndExtra > 0 ? wc->cbWndExtra : 0;
  entry->instance = wc->hInstance;
  entry->cursor = wc->hCursor;
  entry->background = wc->hbrBackground;
  entry->menuName = wc->lpszMenuName && !IS_INTRESOURCE(wc->lpszMenuName) ? wc->lpszMenuName : "";
  standin::Classes().push_back(std::move(entry));
  // Stand-in: the atom is the class's place in the table, not a global atom.
  return static_cast<ATOM>(0xC000 + standin::Classes().size());
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE hInstance) {
  std::string name = standin::ClassNameOf(className);
  auto& classes = standin::Classes();
  for (auto it = classes.begin(); it != classes.end(); ++it) {
    if (!standin::SameName((*it)->name, name) || (*it)->instance != hInstance) continue;
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
  standin::WindowClass* found = standin::FindClass(standin::ClassNameOf(className), hInstance);
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

LRESULT CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return proc ? proc(hwnd, msg, wParam, lParam) : 0;
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE hInstance,
                     LPVOID param) {
  standin::WindowClass* wc = standin::FindClass(standin::ClassNameOf(className), hInstance);
  if (!wc) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  if (parent && !LookUpWindow(parent)) return standin::Invalid(), nullptr;
  if ((style & WS_CHILD) && !parent) {
    SetLastError(ERROR_TLW_WITH_WSCHILD);
    return nullptr;
  }
  // A top-level window's menu argument is its menu bar; a child's is its id.
  if (!(style & WS_CHILD) && menu && !IsMenu(menu)) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return nullptr;
  }
  WindowData* w = standin::AddWindow(wc, exStyle, style, parent, menu, hInstance);
  w->placement = {x, y, x + width, y + height};
  HWND hwnd = w->handle;
  CREATESTRUCTA cs = {param, hInstance, menu, parent, height, width, y, x,
                      static_cast<LONG>(style), windowName, className, exStyle};
  if (!SendMessageA(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    standin::FreeWindow(hwnd);
    return nullptr;
  }
  if (SendMessageA(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  if (IsWindow(hwnd) && (style & WS_VISIBLE)) SendMessageA(hwnd, WM_SHOWWINDOW, TRUE, 0);
  return IsWindow(hwnd) ? hwnd : nullptr;
}

BOOL DestroyWindow(HWND hwnd) {
  WindowData* w = LookUpWindow(hwnd);
  if (!w) return standin::Invalid(), FALSE;
  if (w->destroying) return TRUE;  // already on its way out
  standin::MoveFocusOutOf(hwnd);
  standin::MarkDestroying(LookUpWindow(hwnd));
  // Owned windows go first, as on Windows.
  for (HWND other : standin::AllWindows()) {
    WindowData* o = LookUpWindow(other);
    if (o && o->owner == hwnd) DestroyWindow(other);
  }
  standin::SendDestroy(hwnd);
  standin::FreeWindow(hwnd);
  return TRUE;
}

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  WindowData* w = LookUpWindow(hwnd);
  if (!w) return standin::Invalid(), 0;
  WNDPROC proc = w->proc;
  return proc ? proc(hwnd, msg, wParam, lParam) : DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  WindowData* w = LookUpWindow(hwnd);
  if (!w) return 0;
  switch (msg) {
    case WM_NCCREATE: {
      // The window's text comes from its creation, through here.
      auto cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
      if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) w->text = cs->lpszName;
      return TRUE;
    }
    case WM_SETTEXT:
      w->text = lParam ? reinterpret_cast<const char*>(lParam) : "";
      standin::ControlChanged(hwnd);
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
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) SendMessageA(hwnd, WM_CLOSE, 0, 0);
      return 0;
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_ERASEBKGND:
    case WM_PAINT:
      return standin::DefaultPaintMessage(hwnd, msg, wParam, lParam);
    default:
      return 0;
  }
}

BOOL IsWindow(HWND hwnd) { return LookUpWindow(hwnd) ? TRUE : FALSE; }

int GetClassNameA(HWND hwnd, LPSTR className, int max) {
  WindowData* w = LookUpWindow(hwnd);
  if (!w) return standin::Invalid(), 0;
  if (max <= 0) return 0;
  size_t n = std::min(w->windowClass->name.size(), static_cast<size_t>(max) - 1);
  std::memcpy(className, w->windowClass->name.data(), n);
  className[n] = '\0';
  return static_cast<int>(n);
}

LONG_PTR GetWindowLongPtrA(HWND hwnd, int index) {
  WindowData* w = LookUpWindow(hwnd);
  if (!w) return standin::Invalid(), 0;
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
  if (!w) return standin::Invalid(), 0;
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

BOOL SetWindowTextA(HWND hwnd, LPCSTR text) {
  if (!LookUpWindow(hwnd)) return standin::Invalid(), FALSE;
  return static_cast<BOOL>(SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)));
}

int GetWindowTextA(HWND hwnd, LPSTR text, int max) {
  if (!LookUpWindow(hwnd)) return standin::Invalid(), 0;
  if (max <= 0 || !text) return 0;
  return static_cast<int>(SendMessageA(hwnd, WM_GETTEXT, static_cast<WPARAM>(max),
                                       reinterpret_cast<LPARAM>(text)));
}

int GetWindowTextLengthA(HWND hwnd) {
  if (!LookUpWindow(hwnd)) return standin::Invalid(), 0;
  return static_cast<int>(SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  WindowData* w = LookUpWindow(hwnd);
  if (!w) return standin::Invalid(), FALSE;
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
  standin::ControlChanged(hwnd);
  SendMessageA(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
  return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd) {
  WindowData* w = LookUpWindow(hwnd);
  return w && !(w->style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL ShowWindow(HWND hwnd, int cmdShow) {
  WindowData* w = LookUpWindow(hwnd);
  if (!w) return standin::Invalid(), FALSE;
  BOOL wasVisible = (w->style & WS_VISIBLE) ? TRUE : FALSE;
  bool show = cmdShow != SW_HIDE;
  if (show == (wasVisible != FALSE)) return wasVisible;
  if (!show) standin::MoveFocusOutOf(hwnd);
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

HWND GetParent(HWND hwnd) {
  WindowData* w = LookUpWindow(hwnd);
  if (!w) return standin::Invalid(), nullptr;
  if (w->style & WS_CHILD) return w->parent;
  return (w->style & WS_POPUP) ? w->owner : nullptr;
}

HWND GetWindow(HWND hwnd, UINT cmd) {
  WindowData* w = LookUpWindow(hwnd);
  if (!w) return standin::Invalid(), nullptr;
  switch (cmd) {
    case GW_OWNER: return w->owner;
    case GW_CHILD: return w->children.empty() ? nullptr : w->children.front();
    case GW_HWNDNEXT: {
      WindowData* parent = LookUpWindow(w->parent);
      if (!parent) return nullptr;
      auto& siblings = parent->children;
      for (size_t i = 0; i + 1 < siblings.size(); ++i)
        if (siblings[i] == hwnd) return siblings[i + 1];
      return nullptr;
    }
    default: return nullptr;
  }
}

BOOL IsChild(HWND parent, HWND hwnd) {
  WindowData* w = LookUpWindow(hwnd);
  if (!parent || !w) return FALSE;
  for (w = LookUpWindow(w->parent); w; w = LookUpWindow(w->parent))
    if (w->handle == parent) return TRUE;
  return FALSE;
}

int GetDlgCtrlID(HWND hwnd) {
  WindowData* w = LookUpWindow(hwnd);
  if (!w) return standin::Invalid(), 0;
  return (w->style & WS_CHILD) ? w->id : 0;
}

HWND SetFocus(HWND hwnd) {
  if (hwnd && !LookUpWindow(hwnd)) return standin::Invalid(), nullptr;
  HWND old = GetFocus();
  if (hwnd == old) return old;
  standin::focusWindow = hwnd;
  if (old) SendMessageA(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
  if (hwnd && standin::focusWindow == hwnd)
    SendMessageA(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
  return old;
}

HWND GetFocus() { return LookUpWindow(standin::focusWindow) ? standin::focusWindow : nullptr; }

bool headless::PressCloseBox(HWND window) {
  WindowData* w = LookUpWindow(window);
  if (!w || (w->style & WS_CHILD) || !(w->style & WS_SYSMENU) || !IsWindowVisible(window) ||
      !IsWindowEnabled(window))
    return false;
  SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  return true;
}
