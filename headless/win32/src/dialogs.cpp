// Dialogs built from the module's resource script, the dialog window class
// and the dialog item helpers.
#include "dialogs.h"

#include <headless_win32.h>

#include <cctype>
#include <cstdio>
#include <string>

#include "resource_script.h"
#include "window_table.h"

namespace headless::detail {

const char dialogClassName[] = "#32770";

namespace {

bool EqualsIgnoringCase(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return i == a.size() && !b[i];
}

// The first control that takes the focus by tabbing: visible, enabled, with
// WS_TABSTOP.
HWND FirstTabStop(HWND dlg) {
  WindowData* w = LookUpWindow(dlg);
  if (!w) return nullptr;
  for (HWND child : w->children) {
    DWORD style = LookUpWindow(child)->style;
    if ((style & WS_TABSTOP) && (style & WS_VISIBLE) && !(style & WS_DISABLED)) return child;
  }
  return nullptr;
}

// What the dialog manager makes of an item's styles: no control tells its
// dialog of its children's coming and going, and an edit's plain border
// becomes a sunken client edge.
void ItemStyles(const DialogItemTemplate& item, DWORD& style, DWORD& exStyle) {
  style = item.style;
  exStyle = item.exStyle | WS_EX_NOPARENTNOTIFY;
  if (EqualsIgnoringCase(item.className, "Edit") && (style & WS_BORDER)) {
    style &= ~static_cast<DWORD>(WS_BORDER);
    exStyle |= WS_EX_CLIENTEDGE;
  }
}

bool AddItems(HWND dlg, const DialogTemplate& t, HINSTANCE instance) {
  for (const DialogItemTemplate& item : t.items) {
    DWORD style, exStyle;
    ItemStyles(item, style, exStyle);
    HWND control = CreateWindowExA(
        exStyle, item.className.c_str(), item.text.c_str(), style, item.rect.left,
        item.rect.top, item.rect.right, item.rect.bottom, dlg,
        reinterpret_cast<HMENU>(static_cast<intptr_t>(item.id)), instance, nullptr);
    if (!control) {
      std::fprintf(stderr, "stand-in: dialog control of class \"%s\" cannot be made\n",
                   item.className.c_str());
      return false;
    }
    LookUpWindow(control)->origin = {true, item.rect, 0, std::string()};
  }
  return true;
}

}  // namespace

HWND BuildDialog(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC dlgProc,
                 LPARAM initParam, DialogFocus focus) {
  const ResourceScript& script = ModuleResources(instance);
  const DialogTemplate* t = script.FindDialog(templateName);
  if (!t) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  // Built hidden, shown once WM_INITDIALOG has set it up. Every dialog has
  // the 3-D look, as Windows gives it whatever the template says.
  HWND dlg = CreateWindowExA(t->exStyle, dialogClassName, t->caption.c_str(),
                             (t->style | DS_3DLOOK) & ~static_cast<DWORD>(WS_VISIBLE), t->rect.left,
                             t->rect.top, t->rect.right, t->rect.bottom, parent, nullptr, instance,
                             nullptr);
  if (!dlg) return nullptr;
  LookUpWindow(dlg)->origin = {true, t->rect, t->fontSize, t->fontFace};
  LookUpWindow(dlg)->dlgProc = dlgProc;
  if (!AddItems(dlg, *t, instance)) {
    DestroyWindow(dlg);
    return nullptr;
  }
  HWND first = FirstTabStop(dlg);
  LRESULT initResult =
      SendMessageA(dlg, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), initParam);
  if (!IsWindow(dlg)) return nullptr;
  // TRUE from WM_INITDIALOG asks for the default focus (the rule Windows
  // follows: not for a hidden control-parent dialog).
  bool wantsFocus = (~t->style & DS_CONTROL) || (t->style & WS_VISIBLE);
  if (focus == DialogFocus::kDefault && initResult && wantsFocus)
    if (HWND control = FirstTabStop(dlg)) SetFocus(control);
  if (IsWindow(dlg) && (t->style & WS_VISIBLE)) ShowWindow(dlg, SW_SHOW);
  return IsWindow(dlg) ? dlg : nullptr;
}

// The window procedure of every dialog: the application's procedure first;
// what it leaves (FALSE) gets the default handling.
// Stand-in: a handled message returns the procedure's own result; there is
// no DWLP_MSGRESULT.
LRESULT CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  WindowData* w = LookUpWindow(hwnd);
  DLGPROC proc = w ? w->dlgProc : nullptr;
  if (proc) {
    INT_PTR result = proc(hwnd, msg, wParam, lParam);
    if (result) return result;
  }
  if (msg == WM_INITDIALOG) return 0;
  if (msg == WM_CLOSE) {  // a dialog closes through its Cancel command
    SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace headless::detail

using headless::detail::LookUpWindow;

HWND CreateDialogParamA(HINSTANCE hInstance, LPCSTR templateName, HWND parent, DLGPROC dlgProc,
                        LPARAM initParam) {
  return headless::detail::BuildDialog(hInstance, templateName, parent, dlgProc, initParam,
                              headless::detail::DialogFocus::kDefault);
}

HWND headless::CreatePageDialog(HINSTANCE instance, LPCSTR templateName, HWND panel, DLGPROC dlgProc,
                                LPARAM initParam) {
  return headless::detail::BuildDialog(instance, templateName, panel, dlgProc, initParam,
                              headless::detail::DialogFocus::kKeep);
}

HWND GetDlgItem(HWND dlg, int id) {
  headless::detail::WindowData* w = LookUpWindow(dlg);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (HWND child = headless::detail::ChildWithId(w, id)) return child;
  SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
  return nullptr;
}

BOOL SetDlgItemTextA(HWND dlg, int id, LPCSTR text) {
  HWND control = GetDlgItem(dlg, id);
  return control ? SetWindowTextA(control, text) : FALSE;
}

UINT GetDlgItemTextA(HWND dlg, int id, LPSTR text, int max) {
  HWND control = GetDlgItem(dlg, id);
  if (!control) {
    if (text && max > 0) text[0] = '\0';
    return 0;
  }
  return static_cast<UINT>(GetWindowTextA(control, text, max));
}

BOOL CheckDlgButton(HWND dlg, int id, UINT check) {
  HWND control = GetDlgItem(dlg, id);
  if (!control) return FALSE;
  SendMessageA(control, BM_SETCHECK, check, 0);
  return TRUE;
}

UINT IsDlgButtonChecked(HWND dlg, int id) {
  HWND control = GetDlgItem(dlg, id);
  return control ? static_cast<UINT>(SendMessageA(control, BM_GETCHECK, 0, 0)) : 0;
}
