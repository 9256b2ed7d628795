// The Face Tracker rollup of the expression object: open a recording, show
// it in the tracker view, key the channels from it.
#include <windows.h>  // before commdlg.h, which builds on it
#include <commdlg.h>

#include <cstdio>
#include <cstring>

#include "facetracker.h"
#include "mirova.h"
#include "mirovaobj.h"
#include "mirovaobj_ui.h"
#include "resource.h"

CStr displayedFileName("<None>");
int displayedFrames = 0;

namespace {

ExpressionObject* ObjectOf(HWND window) {
  return reinterpret_cast<ExpressionObject*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void ShowFileAndFrames(HWND window) {
  SetDlgItemTextA(window, IDC_TRACKER_NAME, displayedFileName.data());
  CStr frames;
  frames.printf("%d", displayedFrames);
  SetDlgItemTextA(window, IDC_TRACKER_FRAMES, frames.data());
}

// The user's choice of file into path (which offers the previous choice);
// false when cancelled.
bool AskForFile(HWND window, char (&path)[256]) {
  FilterList filter;
  filter.Append(_T("FastTracker"));
  filter.Append(_T("*.trc"));
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = window;
  ofn.lpstrFilter = filter;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = path;
  ofn.nMaxFile = sizeof path;
  ofn.lpstrTitle = _T("Load FastTracker File");
  ofn.lpstrDefExt = _T("trc");
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  // The dialog may write up to nMaxFile characters; keep the path terminated.
  bool chosen = GetOpenFileNameA(&ofn) != 0;
  path[sizeof path - 1] = '\0';
  return chosen;
}

void ForgetRecording(HWND window, TrackerInput& input) {
  MessageBoxA(window, "Unable to loaded file", nullptr, MB_OK | MB_ICONEXCLAMATION);
  displayedFileName = "<None>";
  displayedFrames = 0;
  ShowFileAndFrames(window);
  input.data.Clear();
  input.path[0] = '\0';
}

}  // namespace

int FramesOf(const TrackerData& data, int ticksPerFrame) {
  int n = data.SampleCount();
  return n > 0 ? data.SampleTime(n - 1) / ticksPerFrame : 0;
}

void Open(HWND window) {
  ExpressionObject* object = ObjectOf(window);
  if (!object) return;
  TrackerInput& input = object->trackerInput;
  // The previous choice is offered again; a cancel must leave it as it was.
  char chosen[256];
  std::memcpy(chosen, input.path, sizeof chosen);
  if (!AskForFile(window, chosen)) return;
  std::memcpy(input.path, chosen, sizeof chosen);
  FILE* stream = std::fopen(input.path, "rt");
  if (!stream) {
    ForgetRecording(window, input);
    return;
  }
  input.data.Read(stream);
  input.data.Stabilise("nose_bridge");
  std::fclose(stream);
  TSTR full(input.path), file;
  SplitPathFile(full, nullptr, &file);
  displayedFileName = file;
  displayedFrames = FramesOf(input.data, GetTicksPerFrame());
  ShowFileAndFrames(window);
}

void Display(HWND window) {
  ExpressionObject* object = ObjectOf(window);
  if (!object) return;
  FTView& view = object->trackerInput.view;
  view.data = &object->trackerInput.data;
  if (view.OpenWindow(window)) view.Show();
}

INT_PTR CALLBACK FaceTrackerDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ExpressionObject* object = ObjectOf(window);
  if (!object && message != WM_INITDIALOG) return FALSE;
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(window, GWLP_USERDATA, lParam);
      hTrackerRollup = window;
      ShowFileAndFrames(window);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_TRACKER_APPLY: object->trackerInput.Apply(object); break;
        case IDC_TRACKER_OPEN: Open(window); break;
        case IDC_TRACKER_DISPLAY: Display(window); break;
        default: break;
      }
      return TRUE;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      if (ip) ip->RollupMouseMessage(window, message, wParam, lParam);
      return FALSE;
    default: return FALSE;
  }
}
