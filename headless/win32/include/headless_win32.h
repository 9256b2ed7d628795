// The headless user at the Win32 level and the records of what the screen
// showed: the extra API through which the host above, tests and the command
// line drive the stand-in's windows as a user would, and read back what a
// user would have seen. (headless.h gathers it with the SDK's records.)
#ifndef HEADLESS_HEADLESS_WIN32_H
#define HEADLESS_HEADLESS_WIN32_H
#include <headless_gdi.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace headless {

// One message box as shown. A null caption (the system's default) is kept
// apart from an empty one.
struct MessageBoxRecord {
  HWND owner = nullptr;
  std::string text;
  bool hasCaption = false;
  std::string caption;
  UINT style = 0;
  int answer = IDOK;
};
const std::vector<MessageBoxRecord>& MessageBoxes();
// The user's answer to the next message box shown; unanswered boxes get IDOK.
void AnswerNextMessageBox(int answer);
// Called for every box as it is shown (the command line echoes them).
void OnMessageBox(std::function<void(const MessageBoxRecord&)> observer);

// How often the common controls were initialised.
int CommonControlsInitCount();

// The module's resource script as embedded at build time (preprocessed, ids
// resolved); empty when the module carries none.
std::string ModuleResourceScript(HINSTANCE module);
// The file the module was loaded from.
std::string ModulePath(HINSTANCE module);

// --- The open-file dialog ---
// One open-file dialog as the program asked for it, and how the user answered.
struct OpenDialogRecord {
  HWND owner = nullptr;
  std::vector<std::string> filter;  // descriptions and patterns, alternating
  DWORD filterIndex = 0;
  bool hasTitle = false;  // a null title (the system's) is kept apart from ""
  std::string title;
  bool hasDefaultExtension = false;
  std::string defaultExtension;
  DWORD flags = 0;
  std::string initialFile;  // the file buffer as the dialog opened
  DWORD maxFile = 0;
  bool hasInitialDir = false;
  std::string initialDir;
  std::vector<std::string> turnedDown;  // answers the dialog refused (no such file)
  bool cancelled = true;
  std::string chosen;  // the full path handed back
};
const std::vector<OpenDialogRecord>& OpenDialogs();
// The user's answers to the open-file dialogs to come, in order: a path
// (relative paths are taken from the current folder), or cancel. A dialog
// with no answer left is cancelled.
void AnswerNextOpenDialog(const std::string& path);
void CancelNextOpenDialog();
// Called as each open-file dialog closes, before the program goes on.
void OnOpenDialog(std::function<void(const OpenDialogRecord&)> observer);

// --- The user at the controls ---
// Clicks a button as the user does with the mouse: the button takes the
// focus, an automatic check box or radio button changes state, the parent
// hears BN_CLICKED. A control of another class than the system's (a custom
// button) gets the mouse press and release at its centre. False (and nothing
// happens) when there is no such control, it is disabled or hidden, or it is
// a system static or edit control.
bool Click(HWND control);
bool Click(HWND dlg, int id);
// Clicks into an edit box (it takes the focus), selects its text and types
// text over it one character at a time, each change announced with
// EN_CHANGE; an empty text deletes the selection. A digits-only box refuses
// other characters as Windows does. False when the box is missing, disabled
// or hidden.
bool Type(HWND dlg, int id, const std::string& text);
// The keyboard focus moves to the control, or away to somewhere outside the
// program's windows (the viewport).
bool GiveFocus(HWND dlg, int id);
void TakeFocus();
// A control's text and check state (BST_*); empty and 0 for no such control.
std::string Text(HWND dlg, int id);
UINT CheckState(HWND dlg, int id);

// --- What the screen shows ---
HCURSOR CurrentCursor();
// "arrow", "wait" ... for a system cursor; empty for anything else.
std::string CursorName(HCURSOR cursor);
// Every cursor set, in order.
const std::vector<HCURSOR>& CursorHistory();

// A window as built: from a dialog template, its rectangle in dialog units
// (left, top, width and height) and, for the dialog, its font.
struct WindowInfo {
  std::string className;
  std::string text;
  int id = 0;
  DWORD style = 0;
  DWORD exStyle = 0;
  HWND parent = nullptr;
  bool fromTemplate = false;
  RECT templateRect = {0, 0, 0, 0};
  int fontSize = 0;
  std::string fontFace;
};
WindowInfo Inspect(HWND hwnd);
// A window's children in creation (tab) order.
std::vector<HWND> Children(HWND hwnd);

// --- Menus and the multi-line text box ---
// One item of a menu as the user sees it: its command id (0 for a popup or a
// separator), its text as written in the resource (with '&' and tab), its
// check mark, whether it is grayed, and the popup it opens.
struct MenuItemInfo {
  int id = 0;
  std::string text;
  bool checked = false;
  bool grayed = false;
  bool separator = false;
  HMENU popup = nullptr;
};
// The items of a menu in order (a popup's own items: MenuItems(info.popup));
// empty for no menu.
std::vector<MenuItemInfo> MenuItems(HMENU menu);
// The user opens the window's menu bar and chooses the item with command id:
// the window hears WM_INITMENU (and WM_INITMENUPOPUP for an item inside a
// popup), then WM_COMMAND(MAKEWPARAM(id, 0), 0). False, and nothing sent,
// when the window is gone, hidden or disabled, has no menu bar, or the bar
// has no such item or it is grayed.
bool ChooseMenuItem(HWND window, int id);
// The user presses a captioned window's close box: it hears
// WM_SYSCOMMAND(SC_CLOSE), which DefWindowProcA turns into WM_CLOSE and that
// into DestroyWindow. False, and nothing sent, for a child window, a window
// without a system menu, or one hidden, disabled or gone.
bool PressCloseBox(HWND window);
// Any window's text as the user reads it, once the windows it sits in have
// painted what was pending (a multi-line edit keeps its CR LF line breaks).
std::string Text(HWND window);

// --- For the host's command panel ---
// A rollup page: the dialog of templateName in instance's resource script,
// built as a child of panel as CreateDialogParamA builds it, except that the
// keyboard focus stays where it is.
HWND CreatePageDialog(HINSTANCE instance, LPCSTR templateName, HWND panel, DLGPROC dlgProc,
                      LPARAM initParam);

// A module that carries only a resource script, as a resource-only library
// loaded as data (tests build their dialogs from it). FreeLibrary unloads it.
HINSTANCE LoadResourceModule(const std::string& name, const std::string& script);

// Forgets every record and scripted answer of the screen (not the loaded
// modules nor the windows); the cursor is the arrow again.
void ResetWin32Records();

}  // namespace headless

#endif
