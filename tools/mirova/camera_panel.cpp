#include "camera_panel.h"

#include <headless.h>

#include <cstdlib>

#include "cli.h"
#include "resource.h"

namespace cli {

const AxisBox axisBoxes[kAxes] = {
    {"--no-east-west", "East-West (X Axis)"}, {"--no-track", "Track (Y Axis)"},
    {"--no-north-south", "North-South (Z Axis)"}, {"--no-tilt", "Tilt (About X Axis)"},
    {"--no-roll", "Roll (About Y Axis)"}, {"--no-pan", "Pan (About Z Axis)"},
};

namespace {

HWND FindControl(HWND panel, const std::string& className, const char* text = nullptr) {
  for (HWND child : headless::Children(panel)) {
    headless::WindowInfo info = headless::Inspect(child);
    if (info.className == className && (!text || info.text == text)) return child;
  }
  return nullptr;
}

std::string TextOf(HWND control) { return headless::Inspect(control).text; }

// The display to the right of a label ("Name:", "Samples:").
std::string DisplayAfter(HWND panel, const char* label) {
  HWND found = FindControl(panel, "Static", label);
  return found ? TextOf(GetWindow(found, GW_HWNDNEXT)) : std::string();
}

}  // namespace

int WorkPanel(HWND panel, const PanelWork& work, const MessageLog& messages, std::ostream& err) {
  size_t shown = messages.Boxes().size();
  headless::AnswerNextOpenDialog(work.file);
  if (!headless::Click(FindControl(panel, "Button", "Open..."))) return EXIT_REFUSED;
  if (headless::OpenDialogs().empty() || headless::OpenDialogs().back().cancelled) {
    err << "mirova: cannot open " << work.file << "\n";
    return EXIT_USAGE;
  }
  if (messages.Boxes().size() > shown) return EXIT_REFUSED;
  HWND fps = FindControl(panel, "Edit");
  if (!fps || !headless::Type(panel, GetDlgCtrlID(fps), work.fps)) return EXIT_REFUSED;
  for (int i = 0; i < kAxes; ++i) {
    HWND box = FindControl(panel, "Button", axisBoxes[i].label);
    if (!box) return EXIT_REFUSED;
    bool checked = SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (checked != work.use[i] && !headless::Click(box)) return EXIT_REFUSED;
  }
  bool applied = headless::Click(FindControl(panel, "Button", "Apply To Camera"));
  return applied && messages.Boxes().size() == shown ? EXIT_OK : EXIT_REFUSED;
}

PanelTake ReadPanel(HWND panel) {
  PanelTake take;
  take.name = DisplayAfter(panel, "Name:");
  take.samples = std::atoi(DisplayAfter(panel, "Samples:").c_str());
  take.fps = std::atoi(TextOf(FindControl(panel, "Edit")).c_str());
  return take;
}

namespace {
PanelProgressEcho* echoing = nullptr;
}

PanelProgressEcho::PanelProgressEcho(HWND panel, std::FILE* terminal)
    : status(GetDlgItem(panel, IDC_MOTION_STATUS)), percent(GetDlgItem(panel, IDC_MOTION_PERCENT)),
      terminal(terminal) {
  if (!percent || echoing) return;
  echoing = this;
  original = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(percent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PanelProgressEcho::PercentProc)));
}

PanelProgressEcho::~PanelProgressEcho() {
  if (echoing != this) return;
  SetWindowLongPtrA(percent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
  echoing = nullptr;
  if (!shown.empty()) std::fputc('\n', terminal);
}

LRESULT CALLBACK PanelProgressEcho::PercentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CallWindowProcA(echoing->original, hwnd, msg, wParam, lParam);
  if (msg == WM_SETTEXT && lParam) echoing->Show(reinterpret_cast<const char*>(lParam));
  return result;
}

void PanelProgressEcho::Show(const char* text) {
  // The panel shows "<none>" and 0 when it is idle.
  const std::string state = TextOf(status);
  if (state == "<none>") return;
  const std::string line = state + " " + text + "%";
  if (line == shown) return;
  shown = line;
  std::fprintf(terminal, "\rcamera: %s", line.c_str());
  std::fflush(terminal);
}

}  // namespace cli
