// What the files of the window calls share (internal to win32): windows.cpp
// (the handle table, creation and messages), window_classes.cpp,
// window_data.cpp, window_text.cpp, window_state.cpp (enable and show),
// window_focus.cpp and window_destroy.cpp.
#ifndef HEADLESS_WINDOWS_INTERNAL_H
#define HEADLESS_WINDOWS_INTERNAL_H
#include <string>

#include "window_table.h"

namespace headless::detail {

// Sets ERROR_INVALID_WINDOW_HANDLE; null, for the caller's failure value.
WindowData* InvalidWindow();
// A class name a Win32 call passes; empty for none or an atom.
std::string ClassNameOf(LPCSTR className);
// Unlinks the window from its parent and its class, and ends its handle
// (windows.cpp): the counterpart of its creation.
void RemoveWindow(HWND hwnd);
// WM_NCDESTROY and the end of the handle, children first (window_destroy.cpp).
void FreeWindow(HWND hwnd);
// A window that goes away or out of sight takes the focus with it
// (window_focus.cpp).
void MoveFocusOutOf(HWND hwnd);
// DefWindowProc's handling of the window text: WM_NCCREATE (the text it is
// created with), WM_SETTEXT, WM_GETTEXT and WM_GETTEXTLENGTH (window_text.cpp).
LRESULT DefaultTextMessage(WindowData* w, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace headless::detail

#endif
