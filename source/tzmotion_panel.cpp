// The motion-control panel: its dialog procedure, its display and loading a
// take from the open-file dialog.
#include <windows.h>  // before commdlg.h, which builds on it
#include <commdlg.h>

#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "mirova.h"
#include "resource.h"
#include "tzmotion.h"

namespace {

// The cursor that was current when a busy status began; null while idle.
HCURSOR savedCursor = nullptr;

// The six axis check boxes and the flags they set, in the order the panel
// shows them.
struct AxisBox {
  int id;
  int MotionControlUtility::*flag;
};
const AxisBox axisBoxes[] = {
    {IDC_MOTION_EAST_WEST, &MotionControlUtility::useEastWest},
    {IDC_MOTION_TRACK, &MotionControlUtility::useTrack},
    {IDC_MOTION_NORTH_SOUTH, &MotionControlUtility::useNorthSouth},
    {IDC_MOTION_TILT, &MotionControlUtility::useTilt},
    {IDC_MOTION_ROLL, &MotionControlUtility::useRoll},
    {IDC_MOTION_PAN, &MotionControlUtility::usePan},
};

void SetFlagFromCheckBox(HWND panel, int id, int* flag) {
  *flag = IsDlgButtonChecked(panel, id) == BST_CHECKED ? 1 : 0;
}

void OnFpsNotification(MotionControlUtility& mc, HWND panel, WORD code) {
  switch (code) {
    case EN_SETFOCUS:
      mc.ip->DisableAccelerators();
      break;
    case EN_KILLFOCUS:
      mc.ip->EnableAccelerators();
      break;
    case EN_CHANGE: {
      // The rate follows the box at once, also when it holds no number, so
      // that Apply never keys at a rate the box does not show.
      char text[256];
      GetDlgItemTextA(panel, IDC_MOTION_FPS, text, sizeof text);
      mc.fps = RateFromText(text);
      break;
    }
    default:
      break;
  }
}

void OnCommand(MotionControlUtility& mc, HWND panel, WPARAM wParam) {
  switch (LOWORD(wParam)) {
    case IDC_MOTION_APPLY: mc.ApplyToCamera(); break;
    case IDC_MOTION_OPEN: mc.LoadFile(panel); break;
    case IDC_MOTION_FPS: OnFpsNotification(mc, panel, HIWORD(wParam)); break;
    default:
      for (const AxisBox& box : axisBoxes)
        if (box.id == LOWORD(wParam)) SetFlagFromCheckBox(panel, box.id, &(mc.*box.flag));
      break;
  }
}

void ShowUnableToLoad(HWND owner) {
  MessageBoxA(owner, "Unable to loaded file", nullptr, MB_OK | MB_ICONWARNING);
}

}  // namespace

bool IsValidRate(int fps) { return fps >= 1 && fps <= TIME_TICKSPERSEC; }

int RateFromText(const char* text) {
  char* end = nullptr;
  errno = 0;
  long value = std::strtol(text, &end, 10);
  if (end == text) return 0;
  if (value > INT_MAX || (errno == ERANGE && value > 0)) return INT_MAX;
  if (value < INT_MIN || errno == ERANGE) return INT_MIN;
  return static_cast<int>(value);
}

// The panel addresses the one static utility directly, not through window data.
INT_PTR CALLBACK MotionPanelDlgProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  MotionControlUtility& mc = GetMotionControlUtility();
  switch (msg) {
    case WM_INITDIALOG:
      mc.hPanel = hWnd;
      mc.Refresh();
      return TRUE;
    case WM_DESTROY:
      return TRUE;
    case WM_COMMAND:
      OnCommand(mc, hWnd, wParam);
      return TRUE;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      mc.ip->RollupMouseMessage(hWnd, msg, wParam, lParam);
      return TRUE;
    default:
      return FALSE;
  }
}

void MotionControlUtility::BeginEditParams(Interface* ip, IUtil* iu) {
  this->iu = iu;
  this->ip = ip;
  hRollup = ip->AddRollupPage(hInstance, MAKEINTRESOURCE(IDD_MOTION_PANEL), MotionPanelDlgProc,
                              _T("TzMotionControl"), 0, 0);
}

// The page goes before the interface is forgotten: while it is destroyed the
// FPS box may still lose the focus and give the host its shortcuts back.
void MotionControlUtility::EndEditParams(Interface* ip, IUtil*) {
  ip->DeleteRollupPage(hRollup);
  iu = nullptr;
  this->ip = nullptr;
  hRollup = nullptr;
}

void MotionControlUtility::Refresh() {
  TSTR path(fileName), file;
  SplitPathFile(path, nullptr, &file);
  SetDlgItemTextA(hPanel, IDC_MOTION_NAME, file.Length() ? file.data() : "none");
  TSTR text;
  text.printf("%d", motionData.Count());
  SetDlgItemTextA(hPanel, IDC_MOTION_SAMPLES, text);
  text.printf("%d", fps);
  SetDlgItemTextA(hPanel, IDC_MOTION_FPS, text);
  for (const AxisBox& box : axisBoxes)
    CheckDlgButton(hPanel, box.id, this->*box.flag ? BST_CHECKED : BST_UNCHECKED);
}

void MotionControlUtility::SetStatus(const char* text) {
  if (text) {
    if (!savedCursor) savedCursor = GetCursor();
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  } else {
    SetCursor(savedCursor);
    savedCursor = nullptr;
  }
  SetDlgItemTextA(hPanel, IDC_MOTION_STATUS, text ? text : "<none>");
  SetProgress(0.0f);
}

void MotionControlUtility::SetProgress(float fraction) {
  // The same digits printf's "%d" gives, without its cost: this runs after
  // every sample read and every sample applied.
  char text[16];
  *std::to_chars(text, text + sizeof text - 1, static_cast<int>(fraction * 100.0f)).ptr = '\0';
  SetDlgItemTextA(hPanel, IDC_MOTION_PERCENT, text);
}

void MotionControlUtility::LoadFile(HWND owner) {
  FilterList filter;
  filter.Append(_T("Kuper ASCII (*.asc)"));
  filter.Append(_T("*.asc"));
  filter.Append(_T("All Files (*.*)"));
  filter.Append(_T("*.*"));
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = fileName;
  ofn.nMaxFile = sizeof fileName;
  ofn.lpstrTitle = _T("Load Kuper ASCII File");
  ofn.lpstrDefExt = _T("asc");
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  // A failed dialog may leave its own data in the buffer (the size a path
  // too long would need); the previous choice is kept then.
  char previous[sizeof fileName];
  std::memcpy(previous, fileName, sizeof fileName);
  if (!GetOpenFileNameA(&ofn)) {
    std::memcpy(fileName, previous, sizeof fileName);
    return;
  }

  FILE* stream = std::fopen(fileName, "rt");
  if (!stream) {
    ShowUnableToLoad(owner);
    return;
  }
  SetStatus("Loading");
  motionData.Clear();
  if (!motionData.Read(stream, this)) ShowUnableToLoad(owner);
  std::fclose(stream);
  SetStatus(nullptr);
  Refresh();
}
