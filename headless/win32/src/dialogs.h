// Building dialogs from a module's templates (internal to win32; the host's
// rollup pages are made here too, through headless::CreatePageDialog).
#ifndef HEADLESS_DIALOGS_H
#define HEADLESS_DIALOGS_H
#include <windows.h>

namespace headless::detail {

enum class DialogFocus {
  kDefault,  // as CreateDialogParam: the first tab stop when WM_INITDIALOG asks
  kKeep,     // the keyboard focus stays where it is
};

// The dialog of templateName in instance's resource script, its controls
// built, its procedure told WM_INITDIALOG with initParam. Null when the
// template or one of its control classes is missing.
HWND BuildDialog(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC dlgProc,
                 LPARAM initParam, DialogFocus focus);

}  // namespace headless::detail

#endif
