// Win32 operations the stand-in does not provide yet: each stops the program
// naming itself.
#include <commdlg.h>

#include <headless_host.h>

using headless::Missing;

HWND GetDlgItem(HWND, int) { Missing("GetDlgItem"); }
BOOL SetDlgItemTextA(HWND, int, LPCSTR) { Missing("SetDlgItemTextA"); }
UINT GetDlgItemTextA(HWND, int, LPSTR, int) { Missing("GetDlgItemTextA"); }
BOOL CheckDlgButton(HWND, int, UINT) { Missing("CheckDlgButton"); }
UINT IsDlgButtonChecked(HWND, int) { Missing("IsDlgButtonChecked"); }
LONG_PTR GetWindowLongPtrA(HWND, int) { Missing("GetWindowLongPtrA"); }
LONG_PTR SetWindowLongPtrA(HWND, int, LONG_PTR) { Missing("SetWindowLongPtrA"); }
LRESULT SendMessageA(HWND, UINT, WPARAM, LPARAM) { Missing("SendMessageA"); }
BOOL SetWindowTextA(HWND, LPCSTR) { Missing("SetWindowTextA"); }
int GetWindowTextA(HWND, LPSTR, int) { Missing("GetWindowTextA"); }
BOOL IsWindow(HWND) { Missing("IsWindow"); }
HCURSOR LoadCursorA(HINSTANCE, LPCSTR) { Missing("LoadCursorA"); }
HCURSOR SetCursor(HCURSOR) { Missing("SetCursor"); }
HCURSOR GetCursor() { Missing("GetCursor"); }
BOOL GetOpenFileNameA(LPOPENFILENAMEA) { Missing("GetOpenFileNameA"); }
