// The motion-control utility's panel as mirova camera works it: found by its
// controls' kinds and labels, as a user finds them.
#ifndef MIROVA_CLI_CAMERA_PANEL_H
#define MIROVA_CLI_CAMERA_PANEL_H
#include <windows.h>

#include <cstdio>
#include <ostream>
#include <string>

#include "messages.h"

namespace cli {

// The panel's six axis check boxes: the option that clears each, and its label.
struct AxisBox {
  const char* option;
  const char* label;
};
const int kAxes = 6;
extern const AxisBox axisBoxes[kAxes];

// What the user does at the panel.
struct PanelWork {
  std::string file;   // chosen with "Open..."
  std::string fps;    // typed into the FPS box
  bool use[kAxes] = {true, true, true, true, true, true};  // each box checked
};

// Open... with the file, the rate typed, the check boxes set, Apply To
// Camera. EXIT_REFUSED when the library said no in a message box or the
// panel could not be worked; EXIT_USAGE when the open dialog would not take
// the file.
int WorkPanel(HWND panel, const PanelWork& work, const MessageLog& messages, std::ostream& err);

// What the panel shows of the take once applied.
struct PanelTake {
  std::string name;
  int fps = 0;
  int samples = 0;
};
PanelTake ReadPanel(HWND panel);

// While it lives, the panel's status and percentage ("Loading 42%") are
// echoed on one line of terminal, rewritten as the panel's own texts change,
// as a user watches them in the panel. One at a time.
class PanelProgressEcho {
 public:
  PanelProgressEcho(HWND panel, std::FILE* terminal);
  ~PanelProgressEcho();
  PanelProgressEcho(const PanelProgressEcho&) = delete;
  PanelProgressEcho& operator=(const PanelProgressEcho&) = delete;

 private:
  static LRESULT CALLBACK PercentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void Show(const char* percent);

  HWND status, percent;
  WNDPROC original = nullptr;
  std::FILE* terminal;
  std::string shown;  // the line as last written; empty before the first
};

}  // namespace cli

#endif
