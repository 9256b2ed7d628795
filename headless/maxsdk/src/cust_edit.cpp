// "CustEdit": the system's edit box with the host's ways. Enter hands the
// text to a linked spinner and tells the parent (WM_CUSTEDIT_ENTER).
#include <cmath>
#include <string>

#include "custom_controls.h"

namespace headless::detail {

namespace {

class CustEditControl : public ICustEdit, public CustomControl {
 public:
  explicit CustEditControl(HWND hwnd) : CustomControl(hwnd, static_cast<ICustEdit*>(this)) {}

  void GetText(TCHAR* text, int ct) override {
    if (!text || ct <= 0) return;
    text[0] = '\0';
    if (Window()) GetWindowTextA(Window(), text, ct);
  }
  void SetText(const TCHAR* text) override {
    if (Window()) SetWindowTextA(Window(), text ? text : "");
  }
  void SetText(int i) override { SetText(std::to_string(i).c_str()); }
  void SetText(float f, int precision) override { SetText(FormatFloat(f, precision).c_str()); }
  float GetFloat(BOOL* valid) override {
    float value = 0.0f;
    bool ok = Window() && ParseNumber(WindowText(Window()), &value);
    if (valid) *valid = ok ? TRUE : FALSE;
    return ok ? value : 0.0f;
  }
  int GetInt(BOOL* valid) override {
    float value = GetFloat(valid);
    return static_cast<int>(std::lround(value));
  }
  BOOL GotReturn() override {
    BOOL got = gotReturn ? TRUE : FALSE;
    gotReturn = false;
    return got;
  }

  void Enter();
  HWND spinner = nullptr;

 private:
  bool gotReturn = false;
};

void CustEditControl::Enter() {
  Hold hold(this);
  gotReturn = true;
  HWND hwnd = Window();
  if (IsWindow(spinner)) SpinnerTakeText(spinner, WindowText(hwnd));
  if (!Window()) return;
  SendMessageA(GetParent(hwnd), WM_CUSTEDIT_ENTER, static_cast<WPARAM>(GetDlgCtrlID(hwnd)),
               reinterpret_cast<LPARAM>(hwnd));
}

CustEditControl* EditOf(HWND hwnd) {
  return static_cast<CustEditControl*>(CustomControl::Of(hwnd, custEditClass));
}

}  // namespace

void LinkEditToSpinner(HWND edit, HWND spinner) {
  if (CustEditControl* control = EditOf(edit)) control->spinner = spinner;
}

LRESULT CALLBACK CustEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  CustEditControl* control = ControlForMessage<CustEditControl>(hwnd, msg, custEditClass);
  if (msg == WM_CHAR && wParam == '\r' && control) {
    control->Enter();
    return 0;
  }
  if (msg == WM_NCDESTROY) CustomControl::WindowGone(hwnd);
  return CallWindowProcA(systemEditProc, hwnd, msg, wParam, lParam);
}

ICustEdit* GetICustEditOf(HWND hCtrl) {
  CustEditControl* control = EditOf(hCtrl);
  if (!control) return nullptr;
  control->HandOut();
  return control;
}

}  // namespace headless::detail

ICustEdit* GetICustEdit(HWND hCtrl) { return headless::detail::GetICustEditOf(hCtrl); }

void ReleaseICustEdit(ICustEdit* edit) { headless::detail::CustomControl::TakeBack(edit); }
