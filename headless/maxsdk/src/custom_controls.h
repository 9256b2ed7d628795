// The host's custom controls behind custcont.h (internal to maxsdk): the
// state each control keeps beside its window, how it is found from the
// window, and the text form of values.
#ifndef HEADLESS_CUSTOM_CONTROLS_H
#define HEADLESS_CUSTOM_CONTROLS_H
#include <custcont.h>

#include <string>

namespace headless::detail {

extern const char custEditClass[];
extern const char spinnerClass[];
extern const char custButtonClass[];

// A custom control's state, kept in its window's extra bytes. It lives until
// its window is gone, every interface handed out is released and nobody in
// the stand-in holds it, so a caller keeping an interface past the window's
// end reaches a harmless, detached control instead of freed memory.
class CustomControl {
 public:
  CustomControl(HWND hwnd, const void* face);
  virtual ~CustomControl();
  CustomControl(const CustomControl&) = delete;
  CustomControl& operator=(const CustomControl&) = delete;

  // The window, or null once it is gone.
  HWND Window() const { return alive ? hwnd : nullptr; }

  // Called from the window procedure: stores the control with its window at
  // WM_NCCREATE, lets go of it at WM_NCDESTROY.
  static void AttachTo(HWND hwnd, CustomControl* control);
  static void WindowGone(HWND hwnd);
  // The control of a window of className, or null.
  static CustomControl* Of(HWND hwnd, const char* className);

  // The public Get.../Release... count (records a release of nothing).
  void HandOut();
  static void TakeBack(const void* face);

  // Keeps the control alive while the stand-in calls out (a parent told of a
  // change may destroy the dialog).
  class Hold {
   public:
    explicit Hold(CustomControl* c) : control(c) { ++control->holds; }
    ~Hold() {
      --control->holds;
      control->FreeWhenUnused();
    }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

   private:
    CustomControl* control;
  };

 private:
  void FreeWhenUnused();
  HWND hwnd;
  const void* face;  // the interface handed out, as Release... receives it
  bool alive = true;
  int out = 0;
  int holds = 0;
};

// A window procedure's start: the control of hwnd, made by make at
// WM_NCCREATE; null for messages before it (or after WM_NCDESTROY).
template <typename Control>
Control* ControlForMessage(HWND hwnd, UINT msg, const char* className) {
  if (msg == WM_NCCREATE) CustomControl::AttachTo(hwnd, new Control(hwnd));
  return static_cast<Control*>(CustomControl::Of(hwnd, className));
}

// Values as edits show them: precision decimals at most, at least one
// ("100.0"), none for precision 0.
std::string FormatFloat(float v, int precision);
// A number typed by the user: the whole text, spaces around it allowed,
// finite. False for anything else.
bool ParseNumber(const std::string& text, float* value);
std::string WindowText(HWND hwnd);
bool ClassIs(HWND hwnd, const char* className);

// Between an edit and the spinner linked to it.
void LinkEditToSpinner(HWND edit, HWND spinner);
void SpinnerTakeText(HWND spinner, const std::string& text);

// The interfaces behind GetICustEdit, GetISpinner and GetICustButton.
ICustEdit* GetICustEditOf(HWND hCtrl);
ISpinnerControl* GetISpinnerOf(HWND hCtrl);
ICustButton* GetICustButtonOf(HWND hCtrl);
// What a control shows, for the headless user; false for a window of
// another class.
bool CustButtonState(HWND hwnd, int* type, COLORREF* highlight, bool* checked);
bool SpinnerShownValue(HWND hwnd, float* value);

// The window procedures (cust_edit.cpp, spinner.cpp, cust_button.cpp).
LRESULT CALLBACK CustEditProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK SpinnerProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK CustButtonProc(HWND, UINT, WPARAM, LPARAM);
// The system edit's procedure, which "CustEdit" builds on.
extern WNDPROC systemEditProc;
void RegisterCustomControlClasses();

}  // namespace headless::detail

#endif
