// "CustButton": a push button, or a check button whose checked look a click
// toggles; the parent hears BN_CLICKED.
#include "custom_controls.h"

namespace headless::detail {

namespace {

class CustButtonControl : public ICustButton, public CustomControl {
 public:
  explicit CustButtonControl(HWND hwnd) : CustomControl(hwnd, static_cast<ICustButton*>(this)) {}

  void SetText(const TCHAR* text) override {
    if (Window()) SetWindowTextA(Window(), text ? text : "");
  }
  void SetType(int t) override { type = t; }
  void SetCheck(BOOL on) override {
    if (checked != (on != FALSE)) Toggle();
  }
  BOOL IsChecked() override { return checked ? TRUE : FALSE; }
  void SetHighlightColor(COLORREF color) override { highlight = color; }

  int Type() const { return type; }
  COLORREF Highlight() const { return highlight; }

  void Press() { pressed = IsWindowEnabled(Window()) != FALSE; }
  void Release();
  // The checked look changes: the button repaints.
  void Toggle() {
    checked = !checked;
    if (Window()) InvalidateRect(Window(), nullptr, TRUE);
  }

 private:
  int type = CBT_PUSH;
  bool checked = false;
  COLORREF highlight = 0;
  bool pressed = false;
};

// Released over the button after a press: a click.
void CustButtonControl::Release() {
  if (!pressed) return;
  pressed = false;
  if (type == CBT_CHECK) Toggle();
  HWND hwnd = Window();
  SendMessageA(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), BN_CLICKED),
               reinterpret_cast<LPARAM>(hwnd));
}

CustButtonControl* ButtonOf(HWND hwnd) {
  return static_cast<CustButtonControl*>(CustomControl::Of(hwnd, custButtonClass));
}

}  // namespace

LRESULT CALLBACK CustButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  CustButtonControl* control = ControlForMessage<CustButtonControl>(hwnd, msg, custButtonClass);
  switch (msg) {
    case WM_LBUTTONDOWN:
      if (control) control->Press();
      return 0;
    case WM_LBUTTONUP:
      if (control) control->Release();
      return 0;
    case BM_GETCHECK:  // how the painter, like any caller, reads the checked look
      return control && control->IsChecked() ? BST_CHECKED : BST_UNCHECKED;
    case WM_NCDESTROY:
      CustomControl::WindowGone(hwnd);
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

ICustButton* GetICustButtonOf(HWND hCtrl) {
  CustButtonControl* control = ButtonOf(hCtrl);
  if (!control) return nullptr;
  control->HandOut();
  return control;
}

bool CustButtonState(HWND hwnd, int* type, COLORREF* highlight, bool* checked) {
  CustButtonControl* control = ButtonOf(hwnd);
  if (!control) return false;
  *type = control->Type();
  *highlight = control->Highlight();
  *checked = control->IsChecked() != FALSE;
  return true;
}

}  // namespace headless::detail

ICustButton* GetICustButton(HWND hCtrl) { return headless::detail::GetICustButtonOf(hCtrl); }

void ReleaseICustButton(ICustButton* button) { headless::detail::CustomControl::TakeBack(button); }
