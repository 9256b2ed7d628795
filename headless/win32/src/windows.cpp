// Windows: handles, creation, message delivery and the default window
// procedure, parent, owner and children. Classes, window data, text, enable
// and show state, focus and destruction have files of their own
// (windows_internal.h).
#include <algorithm>
#include <memory>
#include <unordered_map>

#include "windows_internal.h"

namespace headless::detail {

namespace {

// Hashed: every call on a window starts with finding it, many times a sample
// when a panel shows progress.
std::unordered_map<HWND, std::unique_ptr<WindowData>>& Windows() {
  static std::unordered_map<HWND, std::unique_ptr<WindowData>> windows;
  return windows;
}

// Handles count up and are never reused; they are even, as Windows' are.
HWND NewHandle() {
  static uintptr_t next = 0x10000;
  next += 4;
  return reinterpret_cast<HWND>(next);
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

}  // namespace

WindowData* InvalidWindow() {
  SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return nullptr;
}

void RemoveWindow(HWND hwnd) {
  WindowData* w = LookUpWindow(hwnd);
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
  Windows().erase(hwnd);
}

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

}  // namespace headless::detail

using headless::detail::LookUpWindow;
using headless::detail::WindowData;

LRESULT CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return proc ? proc(hwnd, msg, wParam, lParam) : 0;
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE hInstance,
                     LPVOID param) {
  headless::detail::WindowClass* wc = headless::detail::FindClass(headless::detail::ClassNameOf(className), hInstance);
  if (!wc) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  if (parent && !LookUpWindow(parent)) return headless::detail::InvalidWindow(), nullptr;
  if ((style & WS_CHILD) && !parent) {
    SetLastError(ERROR_TLW_WITH_WSCHILD);
    return nullptr;
  }
  // A top-level window's menu argument is its menu bar; a child's is its id.
  if (!(style & WS_CHILD) && menu && !IsMenu(menu)) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return nullptr;
  }
  WindowData* w = headless::detail::AddWindow(wc, exStyle, style, parent, menu, hInstance);
  w->placement = {x, y, x + width, y + height};
  HWND hwnd = w->handle;
  CREATESTRUCTA cs = {param, hInstance, menu, parent, height, width, y, x,
                      static_cast<LONG>(style), windowName, className, exStyle};
  if (!SendMessageA(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    headless::detail::FreeWindow(hwnd);
    return nullptr;
  }
  if (SendMessageA(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  if (IsWindow(hwnd) && (style & WS_VISIBLE)) SendMessageA(hwnd, WM_SHOWWINDOW, TRUE, 0);
  return IsWindow(hwnd) ? hwnd : nullptr;
}

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  WindowData* w = LookUpWindow(hwnd);
  if (!w) return headless::detail::InvalidWindow(), 0;
  WNDPROC proc = w->proc;
  return proc ? proc(hwnd, msg, wParam, lParam) : DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  WindowData* w = LookUpWindow(hwnd);
  if (!w) return 0;
  switch (msg) {
    case WM_NCCREATE:
    case WM_SETTEXT:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
      return headless::detail::DefaultTextMessage(w, msg, wParam, lParam);
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) SendMessageA(hwnd, WM_CLOSE, 0, 0);
      return 0;
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_ERASEBKGND:
    case WM_PAINT:
      return headless::detail::DefaultPaintMessage(hwnd, msg, wParam, lParam);
    default:
      return 0;
  }
}

BOOL IsWindow(HWND hwnd) { return LookUpWindow(hwnd) ? TRUE : FALSE; }

HWND GetParent(HWND hwnd) {
  WindowData* w = LookUpWindow(hwnd);
  if (!w) return headless::detail::InvalidWindow(), nullptr;
  if (w->style & WS_CHILD) return w->parent;
  return (w->style & WS_POPUP) ? w->owner : nullptr;
}

HWND GetWindow(HWND hwnd, UINT cmd) {
  WindowData* w = LookUpWindow(hwnd);
  if (!w) return headless::detail::InvalidWindow(), nullptr;
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
  if (!w) return headless::detail::InvalidWindow(), 0;
  return (w->style & WS_CHILD) ? w->id : 0;
}
