// Dialogs holding the host's custom controls, from a resource script of
// their own (as the preprocessor leaves it: ids and styles are numbers).
#ifndef TESTS_PLATFORM_CONTROL_DIALOGS_H
#define TESTS_PLATFORM_CONTROL_DIALOGS_H
#include <custcont.h>
#include <headless_win32.h>

namespace control_dialogs {

// Ids of the controls.
enum {
  kEditA = 10, kSpinA = 11, kEditB = 12, kSpinB = 13, kButton = 20, kLabel = 30,
  kPopup = 100,  // a top-level dialog
  kPage = 101,   // a child dialog, as a rollup page
};

inline const char* Script() {
  return R"(
100 DIALOG 0, 0, 108, 60
STYLE 0x40L | 0x80000000L | 0x10000000L
FONT 8, "MS Sans Serif"
BEGIN
    CONTROL "", 10, "CustEdit", 0x00010000L, 5, 5, 40, 10
    CONTROL "", 11, "SpinnerControl", 0x0L, 46, 5, 7, 10
    CONTROL "", 12, "CustEdit", 0x00010000L, 5, 20, 40, 10
    CONTROL "", 13, "SpinnerControl", 0x0L, 46, 20, 7, 10
    CONTROL "Pick", 20, "CustButton", 0x00010000L, 5, 35, 40, 10
    LTEXT "label", 30, 5, 50, 40, 8
END
101 DIALOG 0, 0, 108, 40
STYLE 0x40L | 0x40000000L | 0x10000000L
FONT 8, "MS Sans Serif"
BEGIN
    CONTROL "", 10, "CustEdit", 0x00010000L, 5, 5, 40, 10
    CONTROL "", 11, "SpinnerControl", 0x0L, 46, 5, 7, 10
    CONTROL "", 12, "CustEdit", 0x00010000L, 5, 20, 40, 10
    CONTROL "", 13, "SpinnerControl", 0x0L, 46, 20, 7, 10
END
)";
}

// The module of these dialogs, its controls' classes registered.
inline HINSTANCE Module() {
  static HINSTANCE module = [] {
    HINSTANCE m = headless::LoadResourceModule("control_dialogs", Script());
    InitCustomControls(m);
    return m;
  }();
  return module;
}

}  // namespace control_dialogs

#endif
