// The headless user at the host's custom controls, and what they show: the
// extra API through which tests and the command line type into a "CustEdit",
// drag a "SpinnerControl" and read a "CustButton" (headless::Click in
// headless_win32.h clicks one). A control on a rolled-up page is hidden, so
// the user cannot reach it until the page is opened.
#ifndef HEADLESS_HEADLESS_CONTROLS_H
#define HEADLESS_HEADLESS_CONTROLS_H
#include <custcont.h>

#include <string>

namespace headless {

// Clicks into the edit (it takes the focus), selects its text, types text
// over it and presses Enter. False when there is no such custom edit or it
// is disabled or hidden.
bool TypeInCustEdit(HWND dlg, int editId, const std::string& text);
// Presses the spinner, drags it steps scale units up (negative: down) one
// step at a time and lets go. False when there is no such spinner or it is
// disabled or hidden.
bool DragSpinner(HWND dlg, int spinId, int steps);
// Whether the custom button shows checked; false for no such button.
bool CustButtonChecked(HWND dlg, int id);
// The button's type (CBT_PUSH, CBT_CHECK) and highlight colour; -1 and 0 for
// no such button.
int CustButtonType(HWND dlg, int id);
COLORREF CustButtonHighlight(HWND dlg, int id);
// The spinner's value as the screen shows it (what is pending on its dialog
// painted first), -1e30f for no such spinner.
float SpinnerValue(HWND dlg, int spinId);

// Interfaces handed out by GetICustEdit, GetISpinner and GetICustButton and
// not yet released (a leak when it stays above zero), and releases of
// interfaces that were not out (a fault of the caller).
int OpenCustomControlInterfaces();
int UnmatchedCustomControlReleases();

}  // namespace headless

#endif
