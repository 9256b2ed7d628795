// Building dialogs from a module's templates (internal to win32; the host's
// rollup pages are made here too, through headless::CreatePageDialog).
#ifndef STANDIN_DIALOGS_H
#define STANDIN_DIALOGS_H
#include <windows.h>

namespace standin {

enum class DialogFocus {
  kDefault,  // as CreateDialogParam: the first tab stop when WM_INITDIALOG asks
  kKeep,     // the keyboard focus stays where it is
};

// The dialog of templateName in instance's resource script, its controls
// built, its procedure told WM_INITDIALOG with initParam. Null when the
// template or one of its control classes is missing.
HWND BuildDialog(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC dlgProc,
                 LPARAM initParam, DialogFocus focus);

}  // namespace standin

#endif
