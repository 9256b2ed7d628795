// Message boxes shown by the code under test are real Windows boxes: a
// computer-based-training hook sees each one activate, reads what it shows,
// and presses its first button, as the user of the Linux suite would.
#include <windows.h>

#include <headless.h>

#include <string>

namespace headless {
namespace {

std::vector<MessageBoxRecord>& Boxes() {
  static std::vector<MessageBoxRecord> boxes;
  return boxes;
}

std::string TextOf(HWND hwnd) {
  char text[1024] = "";
  GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

// The MB_ button set from the buttons present, and the icon's presence.
UINT StyleOf(HWND box) {
  const bool ok = GetDlgItem(box, IDOK), cancel = GetDlgItem(box, IDCANCEL), yes = GetDlgItem(box, IDYES),
             no = GetDlgItem(box, IDNO), retry = GetDlgItem(box, IDRETRY);
  UINT style = MB_OK;
  if (yes && no) style = cancel ? MB_YESNOCANCEL : MB_YESNO;
  else if (retry) style = MB_RETRYCANCEL;
  else if (ok && cancel) style = MB_OKCANCEL;
  // An icon shows in a static of SS_ICON style; which one is not told apart.
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const bool isIcon = (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
    if (isIcon && SendMessageA(child, STM_GETICON, 0, 0) != 0) style |= MB_ICONEXCLAMATION;
  }
  return style;
}

LRESULT CALLBACK WatchBoxes(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    HWND box = reinterpret_cast<HWND>(wParam);
    char className[32] = "";
    GetClassNameA(box, className, sizeof className);
    // Message boxes are dialogs of the system class with their text in the
    // static of id 0xFFFF.
    if (std::string(className) == "#32770" && GetDlgItem(box, 0xFFFF)) {
      MessageBoxRecord record;
      record.owner = GetWindow(box, GW_OWNER);
      record.text = TextOf(GetDlgItem(box, 0xFFFF));
      record.caption = TextOf(box);
      record.hasCaption = record.caption != "Error";
      record.style = StyleOf(box);
      Boxes().push_back(record);
      PostMessageA(box, WM_COMMAND, MAKEWPARAM(GetDlgItem(box, IDOK) ? IDOK : IDYES, BN_CLICKED), 0);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

const std::vector<MessageBoxRecord>& MessageBoxes() { return Boxes(); }

void ResetRecords() {
  Boxes().clear();
  ResetSdkRecords();
}

void WatchMessageBoxes() {
  static HHOOK hook = SetWindowsHookExA(WH_CBT, WatchBoxes, nullptr, GetCurrentThreadId());
  (void)hook;
}

}  // namespace headless
