// "SpinnerControl": a value within limits, dragged by the user in steps of
// its scale or typed into its linked edit; the parent hears every change.
#include <algorithm>
#include <cmath>
#include <string>

#include "custom_controls.h"

namespace headless::detail {

namespace {

bool IsWholeNumber(EditSpinnerType type) { return type == EDITTYPE_INT || type == EDITTYPE_POS_INT; }

class SpinnerControl : public ISpinnerControl, public CustomControl {
 public:
  explicit SpinnerControl(HWND hwnd) : CustomControl(hwnd, static_cast<ISpinnerControl*>(this)) {}

  float GetFVal() override { return value; }
  int GetIVal() override { return static_cast<int>(std::lround(value)); }
  void SetValue(float v, int notify) override;
  void SetValue(int v, int notify) override { SetValue(static_cast<float>(v), notify); }
  void SetLimits(float lo, float hi, int limitCurValue) override;
  void SetLimits(int lo, int hi, int limitCurValue) override {
    SetLimits(static_cast<float>(lo), static_cast<float>(hi), limitCurValue);
  }
  float GetFMin() override { return low; }
  float GetFMax() override { return high; }
  void SetScale(float s) override { scale = s; }
  void LinkToEdit(HWND hEdit, EditSpinnerType t) override;

  void TakeText(const std::string& text);
  void ButtonDown(int y);
  void MouseMove(int y);
  void ButtonUp();

 private:
  float Limited(float v) const;
  void Show();
  // Tells the parent; false when the spinner's window went away meanwhile.
  bool Notify(UINT message, BOOL flag);

  float value = 0.0f;
  // Stand-in: wide limits until the owner sets its own.
  float low = -1.0e30f;
  float high = 1.0e30f;
  float scale = 1.0f;
  EditSpinnerType type = EDITTYPE_FLOAT;
  HWND edit = nullptr;
  bool dragging = false;
  int pressedAt = 0;
};

float SpinnerControl::Limited(float v) const {
  if (IsWholeNumber(type)) v = std::round(v);
  return std::min(std::max(v, low), high);
}

void SpinnerControl::Show() {
  if (!IsWindow(edit)) return;
  std::string text = IsWholeNumber(type) ? std::to_string(GetIVal()) : FormatFloat(value, 3);
  SetWindowTextA(edit, text.c_str());
}

bool SpinnerControl::Notify(UINT message, BOOL flag) {
  HWND hwnd = Window();
  if (!hwnd) return false;
  Hold hold(this);
  SendMessageA(GetParent(hwnd), message, MAKEWPARAM(GetDlgCtrlID(hwnd), flag),
               reinterpret_cast<LPARAM>(static_cast<ISpinnerControl*>(this)));
  return Window() != nullptr;
}

void SpinnerControl::SetValue(float v, int notify) {
  value = Limited(v);
  Show();
  if (notify) Notify(CC_SPINNER_CHANGE, FALSE);
}

void SpinnerControl::SetLimits(float lo, float hi, int limitCurValue) {
  low = std::min(lo, hi);
  high = std::max(lo, hi);
  if (!limitCurValue) return;
  value = Limited(value);
  Show();
}

void SpinnerControl::LinkToEdit(HWND hEdit, EditSpinnerType t) {
  edit = hEdit;
  type = t;
  LinkEditToSpinner(hEdit, Window());
  value = Limited(value);
  Show();
}

// Text that is not a number changes nothing: the edit shows the value again.
void SpinnerControl::TakeText(const std::string& text) {
  float typed = 0.0f;
  if (ParseNumber(text, &typed)) {
    SetValue(typed, TRUE);
  } else {
    Show();
  }
}

void SpinnerControl::ButtonDown(int y) {
  if (!IsWindowEnabled(Window())) return;
  dragging = true;
  pressedAt = y;
  Notify(CC_SPINNER_BUTTONDOWN, FALSE);
}

// Each pixel up is one step of the scale, each pixel down one back. The host
// puts the cursor back where the press was, so a drag never runs out of
// screen: every move is measured from there.
// Stand-in: a press without a drag changes nothing (the host's arrows step
// once).
void SpinnerControl::MouseMove(int y) {
  if (!dragging) return;
  int steps = pressedAt - y;
  float step = steps > 0 ? scale : -scale;
  for (int i = 0; i < std::abs(steps); ++i) {
    value = Limited(value + step);
    Show();
    if (!Notify(CC_SPINNER_CHANGE, TRUE)) return;
  }
}

void SpinnerControl::ButtonUp() {
  if (!dragging) return;
  dragging = false;
  Notify(CC_SPINNER_BUTTONUP, TRUE);
}

SpinnerControl* SpinnerOf(HWND hwnd) {
  return static_cast<SpinnerControl*>(CustomControl::Of(hwnd, spinnerClass));
}

int MouseY(LPARAM lParam) { return static_cast<short>(HIWORD(lParam)); }

}  // namespace

void SpinnerTakeText(HWND spinner, const std::string& text) {
  if (SpinnerControl* control = SpinnerOf(spinner)) control->TakeText(text);
}

LRESULT CALLBACK SpinnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  SpinnerControl* control = ControlForMessage<SpinnerControl>(hwnd, msg, spinnerClass);
  switch (msg) {
    case WM_LBUTTONDOWN:
      if (control) control->ButtonDown(MouseY(lParam));
      return 0;
    case WM_MOUSEMOVE:
      if (control && (wParam & MK_LBUTTON)) control->MouseMove(MouseY(lParam));
      return 0;
    case WM_LBUTTONUP:
      if (control) control->ButtonUp();
      return 0;
    case WM_NCDESTROY:
      CustomControl::WindowGone(hwnd);
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

ISpinnerControl* GetISpinnerOf(HWND hCtrl) {
  SpinnerControl* control = SpinnerOf(hCtrl);
  if (!control) return nullptr;
  control->HandOut();
  return control;
}

bool SpinnerShownValue(HWND hwnd, float* value) {
  SpinnerControl* control = SpinnerOf(hwnd);
  if (!control) return false;
  *value = control->GetFVal();
  return true;
}

}  // namespace headless::detail

ISpinnerControl* GetISpinner(HWND hCtrl) { return headless::detail::GetISpinnerOf(hCtrl); }

void ReleaseISpinner(ISpinnerControl* spinner) { headless::detail::CustomControl::TakeBack(spinner); }
