// Stand-in: the host's custom controls.
#ifndef STANDIN_CUSTCONT_H
#define STANDIN_CUSTCONT_H
#include <windows.h>

// Registers the host's custom control window classes for the module.
void InitCustomControls(HINSTANCE hInst);

// Custom button types (ICustButton::SetType).
#define CBT_PUSH 0
#define CBT_CHECK 1

// The host's custom button, reached from its control window.
class ICustButton {
 public:
  virtual void SetText(const TCHAR* text) = 0;
  virtual void SetType(int type) = 0;
  virtual void SetCheck(BOOL checked) = 0;
  virtual BOOL IsChecked() = 0;
  virtual void SetHighlightColor(COLORREF color) = 0;

 protected:
  ~ICustButton() = default;
};

// Every GetICustButton is paired with a ReleaseICustButton.
ICustButton* GetICustButton(HWND hCtrl);
void ReleaseICustButton(ICustButton* button);

#endif
