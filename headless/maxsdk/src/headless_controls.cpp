// The headless user at the host's custom controls.
#include <headless_controls.h>

#include "custom_controls.h"
#include "records.h"

namespace headless {

namespace {

using headless::detail::ClassIs;

// A control the user can reach: there, enabled and in sight.
HWND Reachable(HWND dlg, int id, const char* className) {
  HWND control = GetDlgItem(dlg, id);
  if (!control || !ClassIs(control, className) || !IsWindowEnabled(control) ||
      !IsWindowVisible(control))
    return nullptr;
  return control;
}

// Where the user presses a spinner; moves are measured from there.
const int pressY = 100;

}  // namespace

bool TypeInCustEdit(HWND dlg, int editId, const std::string& text) {
  HWND edit = Reachable(dlg, editId, headless::detail::custEditClass);
  if (!edit) return false;
  SetFocus(edit);
  if (!IsWindow(edit)) return false;
  SendMessageA(edit, EM_SETSEL, 0, -1);
  if (text.empty()) SendMessageA(edit, WM_CLEAR, 0, 0);
  for (char c : text) {
    if (!IsWindow(edit)) return false;
    SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 0);
  }
  if (IsWindow(edit)) SendMessageA(edit, WM_CHAR, '\r', 0);
  return true;
}

bool DragSpinner(HWND dlg, int spinId, int steps) {
  HWND spinner = Reachable(dlg, spinId, headless::detail::spinnerClass);
  if (!spinner) return false;
  SendMessageA(spinner, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, pressY));
  LPARAM oneStep = MAKELPARAM(4, steps > 0 ? pressY - 1 : pressY + 1);
  for (int i = 0; i < (steps > 0 ? steps : -steps) && IsWindow(spinner); ++i)
    SendMessageA(spinner, WM_MOUSEMOVE, MK_LBUTTON, oneStep);
  if (IsWindow(spinner)) SendMessageA(spinner, WM_LBUTTONUP, 0, MAKELPARAM(4, pressY));
  return true;
}

bool CustButtonChecked(HWND dlg, int id) {
  int type = -1;
  COLORREF highlight = 0;
  bool checked = false;
  return headless::detail::CustButtonState(GetDlgItem(dlg, id), &type, &highlight, &checked) && checked;
}

int CustButtonType(HWND dlg, int id) {
  int type = -1;
  COLORREF highlight = 0;
  bool checked = false;
  return headless::detail::CustButtonState(GetDlgItem(dlg, id), &type, &highlight, &checked) ? type : -1;
}

COLORREF CustButtonHighlight(HWND dlg, int id) {
  int type = -1;
  COLORREF highlight = 0;
  bool checked = false;
  return headless::detail::CustButtonState(GetDlgItem(dlg, id), &type, &highlight, &checked) ? highlight : 0;
}

float SpinnerValue(HWND dlg, int spinId) {
  float value = -1.0e30f;
  UpdateWindow(dlg);  // a parameter map sets its spinners when its page paints
  headless::detail::SpinnerShownValue(GetDlgItem(dlg, spinId), &value);
  return value;
}

int OpenCustomControlInterfaces() { return headless::detail::SdkRecords().openControlInterfaces; }
int UnmatchedCustomControlReleases() { return headless::detail::SdkRecords().unmatchedControlReleases; }

}  // namespace headless
