// The stand-in's windows and window classes (internal to win32).
// Handles are never reused, so a stale handle is simply not a window.
#ifndef HEADLESS_WINDOW_TABLE_H
#define HEADLESS_WINDOW_TABLE_H
#include <windows.h>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace headless::detail {

struct WindowClass {
  std::string name;
  UINT style = 0;
  WNDPROC proc = nullptr;
  int windowExtra = 0;
  HINSTANCE instance = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  std::string menuName;
  int liveWindows = 0;
};

// Where a window built from a dialog template came from: its rectangle in
// dialog units and the dialog's font.
struct TemplateOrigin {
  bool fromTemplate = false;
  RECT rect = {0, 0, 0, 0};  // left, top, width and height (dialog units)
  int fontSize = 0;
  std::string fontFace;
};

struct PaintState;  // paint_state.h

struct WindowData {
  HWND handle = nullptr;
  WindowClass* windowClass = nullptr;
  WNDPROC proc = nullptr;
  DLGPROC dlgProc = nullptr;  // dialogs: the application's procedure
  HINSTANCE instance = nullptr;
  std::string text;
  DWORD style = 0;
  DWORD exStyle = 0;
  int id = 0;
  HWND parent = nullptr;  // child windows
  HWND owner = nullptr;   // top-level windows
  HMENU menu = nullptr;   // top-level windows: the menu bar (menus.cpp)
  std::vector<HWND> children;  // in creation order, which is the tab order
  // GetDlgItem's index: per id, the first child with it in z-order. Remade at
  // the next look-up once a child came, went or changed its id.
  std::unordered_map<int, HWND> childById;
  bool childIdsStale = false;
  LONG_PTR userData = 0;
  std::vector<char> extra;  // the class-declared window extra bytes
  bool destroying = false;
  // Controls.
  UINT check = BST_UNCHECKED;
  int selectionStart = 0;
  int selectionEnd = 0;
  TemplateOrigin origin;
  RECT placement = {0, 0, 0, 0};  // as created: outer rectangle, parent's client coordinates
  std::shared_ptr<PaintState> paint;  // made on first use; goes with the window
};

// The window behind a handle; null for a handle that is not (or no longer) a
// window. The pointer is valid until the next message is delivered.
WindowData* LookUpWindow(HWND hwnd);
// The class registered under name for instance, or a global class.
WindowClass* FindClass(const std::string& name, HINSTANCE instance);
// The first child of parent in z-order whose id is id; null when none has it.
HWND ChildWithId(WindowData* parent, int id);
// Sends WM_COMMAND with code and the control's id to the control's parent.
void NotifyParent(HWND control, WORD code);
// A system or host control whose look changed (its text, check or enable
// state) is invalidated, to repaint once at the next WM_PAINT; any other
// window is left alone (control_paint.cpp).
void ControlChanged(HWND hwnd);
// Registers the built-in control and dialog classes once.
void RegisterSystemClasses();
bool SameName(const std::string& a, const std::string& b);  // case-insensitive

// Built-in window procedures (controls.cpp, dialogs.cpp).
LRESULT CALLBACK StaticProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ButtonProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK EditProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
extern const char dialogClassName[];
// The default handling of WM_ERASEBKGND and WM_PAINT (paint.cpp).
LRESULT DefaultPaintMessage(HWND, UINT, WPARAM, LPARAM);

// Every live window, in creation order (for the headless user's look-ups).
std::vector<HWND> AllWindows();

}  // namespace headless::detail

#endif
