// The built-in controls: static text, buttons (push, check box, radio
// button, group box) and the edit box (single- or multi-line), with the
// notifications their parents rely on.
#include <cctype>

#include "window_table.h"

namespace headless::detail {

namespace {

UINT ButtonType(const WindowData* w) { return w->style & BS_TYPEMASK; }

bool IsCheckable(UINT type) {
  return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
         type == BS_AUTORADIOBUTTON || type == BS_3STATE || type == BS_AUTO3STATE;
}

bool IsThreeState(UINT type) { return type == BS_3STATE || type == BS_AUTO3STATE; }

// An automatic radio button checks itself and clears the other automatic
// radio buttons of its group (from a WS_GROUP control to the next).
void CheckInGroup(HWND button) {
  WindowData* parent = LookUpWindow(LookUpWindow(button)->parent);
  if (!parent) return;
  const std::vector<HWND>& siblings = parent->children;
  size_t at = 0;
  while (siblings[at] != button) ++at;
  size_t first = at;
  while (first > 0 && !(LookUpWindow(siblings[first])->style & WS_GROUP)) --first;
  for (size_t i = first; i < siblings.size(); ++i) {
    WindowData* w = LookUpWindow(siblings[i]);
    if (i > first && (w->style & WS_GROUP)) break;
    UINT check = siblings[i] == button ? BST_CHECKED : BST_UNCHECKED;
    if (ButtonType(w) != BS_AUTORADIOBUTTON || w->check == check) continue;
    w->check = check;
    ControlChanged(siblings[i]);
  }
}

// A mouse click: the button takes the focus, an automatic button changes its
// state (and is drawn again, as a pressed button is), and the parent hears
// BN_CLICKED. A disabled button ignores it.
void Click(HWND button) {
  WindowData* w = LookUpWindow(button);
  if (!w || (w->style & WS_DISABLED) || ButtonType(w) == BS_GROUPBOX) return;
  SetFocus(button);
  w = LookUpWindow(button);
  if (!w) return;
  switch (ButtonType(w)) {
    case BS_AUTOCHECKBOX: w->check = w->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED; break;
    case BS_AUTO3STATE: w->check = (w->check + 1) % 3; break;
    case BS_AUTORADIOBUTTON: CheckInGroup(button); break;
    default: break;
  }
  ControlChanged(button);
  NotifyParent(button, BN_CLICKED);
}

void TextChanged(HWND edit) {
  ControlChanged(edit);
  NotifyParent(edit, EN_UPDATE);
  NotifyParent(edit, EN_CHANGE);
}

void ReplaceSelection(WindowData* w, const std::string& with) {
  w->text.replace(static_cast<size_t>(w->selectionStart),
                  static_cast<size_t>(w->selectionEnd - w->selectionStart), with);
  w->selectionStart = w->selectionEnd = w->selectionStart + static_cast<int>(with.size());
}

// One typed character: printable characters replace the selection, a
// backspace deletes it or the character before the caret. A digits-only box
// refuses anything else, as Windows does (with a beep).
bool TypeCharacter(WindowData* w, char c) {
  if (w->style & ES_READONLY) return false;
  if (c == '\b') {
    if (w->selectionStart == w->selectionEnd) {
      if (w->selectionStart == 0) return false;
      --w->selectionStart;
    }
    ReplaceSelection(w, "");
    return true;
  }
  if (c == '\r' && (w->style & ES_MULTILINE)) {
    ReplaceSelection(w, "\r\n");  // Enter starts a new line
    return true;
  }
  if (static_cast<unsigned char>(c) < 0x20) return false;
  if ((w->style & ES_NUMBER) && !std::isdigit(static_cast<unsigned char>(c))) return false;
  ReplaceSelection(w, std::string(1, c));
  return true;
}

// Lines of a multi-line box, split at CR LF; an empty box has one.
int LineCount(const std::string& text) {
  int lines = 1;
  for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2))
    ++lines;
  return lines;
}

void SetSelection(WindowData* w, int start, int end) {
  int length = static_cast<int>(w->text.size());
  if (start < 0) {  // -1 removes the selection, leaving the caret where it was
    w->selectionStart = w->selectionEnd;
    return;
  }
  if (end < 0 || end > length) end = length;
  if (start > length) start = length;
  if (start > end) std::swap(start, end);
  w->selectionStart = start;
  w->selectionEnd = end;
}

}  // namespace

LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  WindowData* w = LookUpWindow(hwnd);
  switch (msg) {
    case BM_GETCHECK:
      return IsCheckable(ButtonType(w)) ? w->check : BST_UNCHECKED;
    case BM_SETCHECK: {
      if (!IsCheckable(ButtonType(w))) return 0;
      UINT check = wParam == BST_UNCHECKED ? BST_UNCHECKED
                   : IsThreeState(ButtonType(w)) && wParam == BST_INDETERMINATE ? BST_INDETERMINATE
                                                                                : BST_CHECKED;
      if (check != w->check) {
        w->check = check;
        ControlChanged(hwnd);
      }
      return 0;
    }
    case BM_CLICK:
      Click(hwnd);
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  WindowData* w = LookUpWindow(hwnd);
  switch (msg) {
    case WM_SETTEXT:
      // A change made by the program is announced too, except in a multi-line
      // box, which Windows keeps quiet.
      DefWindowProcA(hwnd, msg, wParam, lParam);
      w->selectionStart = w->selectionEnd = 0;
      if (!(w->style & ES_MULTILINE)) TextChanged(hwnd);
      return TRUE;
    case EM_GETLINECOUNT:
      return (w->style & ES_MULTILINE) ? LineCount(w->text) : 1;
    case WM_CHAR:
      if (TypeCharacter(w, static_cast<char>(wParam))) TextChanged(hwnd);
      return 0;
    case WM_CLEAR:
      if (w->selectionStart == w->selectionEnd || (w->style & ES_READONLY)) return 0;
      ReplaceSelection(w, "");
      TextChanged(hwnd);
      return 0;
    case EM_SETSEL:
      SetSelection(w, static_cast<int>(wParam), static_cast<int>(lParam));
      return 0;
    case EM_GETSEL:
      if (wParam) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(w->selectionStart);
      if (lParam) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(w->selectionEnd);
      return static_cast<LRESULT>(MAKELPARAM(w->selectionStart, w->selectionEnd));
    case WM_SETFOCUS:
      NotifyParent(hwnd, EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      NotifyParent(hwnd, EN_KILLFOCUS);
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

void RegisterSystemClasses() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  struct {
    const char* name;
    WNDPROC proc;
  } const classes[] = {
      {"Static", StaticProc}, {"Button", ButtonProc}, {"Edit", EditProc},
      {dialogClassName, DialogProc}};
  for (const auto& c : classes) {
    WNDCLASSA wc = {};
    wc.style = CS_GLOBALCLASS;
    wc.lpfnWndProc = c.proc;
    wc.lpszClassName = c.name;
    RegisterClassA(&wc);
  }
}

}  // namespace headless::detail
