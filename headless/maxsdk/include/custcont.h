// Stand-in: the host's custom controls. InitCustomControls registers the
// window classes "CustEdit", "SpinnerControl" and "CustButton" as global
// classes, so that the dialogs of every module can hold them. A control's
// interface is reached from its window with a Get... call, and every Get is
// paired with its Release... (a window of another class gives null).
//
// Float values are shown with up to three decimals and at least one
// ("100.0", "0.125", "-3.5"); integer spinners show whole numbers.
#ifndef HEADLESS_CUSTCONT_H
#define HEADLESS_CUSTCONT_H
#include <windows.h>

// Registers the host's custom control window classes (once; later calls and
// other modules find them registered).
void InitCustomControls(HINSTANCE hInst);

// How a spinner and its linked edit read and show their value.
enum EditSpinnerType { EDITTYPE_INT, EDITTYPE_FLOAT, EDITTYPE_UNIVERSE, EDITTYPE_POS_INT,
                       EDITTYPE_POS_FLOAT, EDITTYPE_POS_UNIVERSE, EDITTYPE_TIME };

// Messages to the parent dialog. Spinners: LOWORD(wParam) is the spinner's
// id, lParam its ISpinnerControl*; for CC_SPINNER_CHANGE HIWORD(wParam) is
// TRUE while the user drags, for CC_SPINNER_BUTTONUP TRUE (the drag was
// accepted). WM_CUSTEDIT_ENTER: wParam is the edit's id, lParam its window.
#define CC_SPINNER_CHANGE (WM_USER + 600)
#define CC_SPINNER_BUTTONDOWN (WM_USER + 601)
#define CC_SPINNER_BUTTONUP (WM_USER + 602)
#define WM_CUSTEDIT_ENTER (WM_USER + 685)

// The host's edit box. Enter in it sends WM_CUSTEDIT_ENTER to the parent;
// an edit linked to a spinner hands the typed text to the spinner first.
class ICustEdit {
 public:
  virtual void GetText(TCHAR* text, int ct) = 0;  // at most ct characters, terminator included
  virtual void SetText(const TCHAR* text) = 0;
  virtual void SetText(int i) = 0;
  virtual void SetText(float f, int precision = 3) = 0;
  // The text read as a number; *valid (when given) tells whether it was one.
  virtual float GetFloat(BOOL* valid = nullptr) = 0;
  virtual int GetInt(BOOL* valid = nullptr) = 0;
  // Whether Enter was pressed since the last call.
  virtual BOOL GotReturn() = 0;

 protected:
  ~ICustEdit() = default;
};

ICustEdit* GetICustEdit(HWND hCtrl);
void ReleaseICustEdit(ICustEdit* edit);

// The host's spinner: a value within limits that the user drags up or down
// in steps of the scale, or types into the linked edit.
class ISpinnerControl {
 public:
  virtual float GetFVal() = 0;
  virtual int GetIVal() = 0;
  // Sets the value (clamped to the limits) and shows it in the linked edit;
  // with notify the parent hears CC_SPINNER_CHANGE.
  virtual void SetValue(float v, int notify) = 0;
  virtual void SetValue(int v, int notify) = 0;
  // With limitCurValue the current value is clamped to the new limits.
  virtual void SetLimits(float min, float max, int limitCurValue = TRUE) = 0;
  virtual void SetLimits(int min, int max, int limitCurValue = TRUE) = 0;
  virtual float GetFMin() = 0;
  virtual float GetFMax() = 0;
  virtual void SetScale(float s) = 0;
  // The edit box (a "CustEdit" window) that shows and takes the value.
  virtual void LinkToEdit(HWND hEdit, EditSpinnerType type) = 0;

 protected:
  ~ISpinnerControl() = default;
};

ISpinnerControl* GetISpinner(HWND hCtrl);
void ReleaseISpinner(ISpinnerControl* spinner);

// Custom button types (ICustButton::SetType).
#define CBT_PUSH 0
#define CBT_CHECK 1

// The host's custom button. A click sends WM_COMMAND (id, BN_CLICKED) to the
// parent; a CBT_CHECK button toggles its checked look first.
class ICustButton {
 public:
  virtual void SetText(const TCHAR* text) = 0;  // the window text
  virtual void SetType(int type) = 0;
  virtual void SetCheck(BOOL checked) = 0;
  virtual BOOL IsChecked() = 0;
  virtual void SetHighlightColor(COLORREF color) = 0;  // the colour of the checked look

 protected:
  ~ICustButton() = default;
};

// Every GetICustButton is paired with a ReleaseICustButton.
ICustButton* GetICustButton(HWND hCtrl);
void ReleaseICustButton(ICustButton* button);

#endif
