// The headless user at the controls: clicks, typing, focus, the open-file
// dialog's answers, and what the screen shows.
#include "recorder.h"
#include "cursors.h"
#include "window_table.h"

namespace headless {

namespace {

using headless::detail::LookUpWindow;
using headless::detail::Records;

bool Usable(HWND control) {
  return IsWindow(control) && IsWindowEnabled(control) && IsWindowVisible(control);
}

bool IsClass(HWND hwnd, const char* name) {
  headless::detail::WindowData* w = LookUpWindow(hwnd);
  return w && headless::detail::SameName(w->windowClass->name, name);
}

}  // namespace

const std::vector<OpenDialogRecord>& OpenDialogs() { return Records().openDialogs; }

void AnswerNextOpenDialog(const std::string& path) {
  Records().openDialogAnswers.push_back({false, path});
}

void CancelNextOpenDialog() { Records().openDialogAnswers.push_back({true, std::string()}); }

void OnOpenDialog(std::function<void(const OpenDialogRecord&)> observer) {
  Records().openDialogObserver = std::move(observer);
}

bool Click(HWND control) {
  if (!Usable(control) || IsClass(control, "Static") || IsClass(control, "Edit")) return false;
  if (IsClass(control, "Button")) {
    SendMessageA(control, BM_CLICK, 0, 0);
    return true;
  }
  // Any other control hears the mouse itself, pressed and released over it.
  LPARAM centre = MAKELPARAM(4, 4);
  SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, centre);
  if (IsWindow(control)) SendMessageA(control, WM_LBUTTONUP, 0, centre);
  return true;
}

bool Click(HWND dlg, int id) { return Click(GetDlgItem(dlg, id)); }

bool Type(HWND dlg, int id, const std::string& text) {
  HWND edit = GetDlgItem(dlg, id);
  if (!Usable(edit) || !IsClass(edit, "Edit")) return false;
  SetFocus(edit);
  if (!IsWindow(edit)) return false;
  SendMessageA(edit, EM_SETSEL, 0, -1);
  if (text.empty()) SendMessageA(edit, WM_CLEAR, 0, 0);
  for (size_t i = 0; i < text.size(); ++i) {
    if (!IsWindow(edit)) return false;
    // A line break is the Enter key, which types a carriage return.
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    char c = text[i] == '\n' ? '\r' : text[i];
    SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 0);
  }
  return true;
}

bool GiveFocus(HWND dlg, int id) {
  HWND control = GetDlgItem(dlg, id);
  if (!Usable(control)) return false;
  SetFocus(control);
  return true;
}

void TakeFocus() { SetFocus(nullptr); }

std::string Text(HWND dlg, int id) { return Text(GetDlgItem(dlg, id)); }

std::string Text(HWND control) {
  if (!IsWindow(control)) return std::string();
  // As the screen shows it: a dialog may set its controls when it paints.
  for (HWND parent = GetParent(control); parent; parent = GetParent(parent)) UpdateWindow(parent);
  std::string text(static_cast<size_t>(GetWindowTextLengthA(control)) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(control, &text[0], static_cast<int>(text.size()))));
  return text;
}

UINT CheckState(HWND dlg, int id) { return IsDlgButtonChecked(dlg, id); }

HCURSOR CurrentCursor() { return GetCursor(); }
std::string CursorName(HCURSOR cursor) { return headless::detail::CursorName(cursor); }
const std::vector<HCURSOR>& CursorHistory() { return Records().cursorHistory; }

WindowInfo Inspect(HWND hwnd) {
  WindowInfo info;
  headless::detail::WindowData* w = LookUpWindow(hwnd);
  if (!w) return info;
  info.className = w->windowClass->name;
  info.text = w->text;
  info.id = w->id;
  info.style = w->style;
  info.exStyle = w->exStyle;
  info.parent = w->parent;
  info.fromTemplate = w->origin.fromTemplate;
  info.templateRect = w->origin.rect;
  info.fontSize = w->origin.fontSize;
  info.fontFace = w->origin.fontFace;
  return info;
}

std::vector<HWND> Children(HWND hwnd) {
  headless::detail::WindowData* w = LookUpWindow(hwnd);
  return w ? w->children : std::vector<HWND>();
}

}  // namespace headless
