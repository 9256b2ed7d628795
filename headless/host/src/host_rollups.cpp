// The headless host's command panel: rollup pages built from a module's
// dialog templates, the dialog windows registered with the host, the mouse
// messages pages pass on, and the utility panel.
#include <headless_host.h>
#include <headless_win32.h>

#include <algorithm>
#include <cstdio>

namespace headless {

namespace {

const char commandPanelClass[] = "StandinCommandPanel";

HWND MakeCommandPanel() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = commandPanelClass;
    registered = RegisterClassA(&wc) != 0;
  }
  return CreateWindowExA(0, commandPanelClass, "Command Panel", WS_OVERLAPPED | WS_VISIBLE, 0, 0,
                         220, 600, nullptr, nullptr, nullptr, nullptr);
}

std::string TemplateName(const TCHAR* dlgTemplate) {
  if (IS_INTRESOURCE(dlgTemplate))
    return std::to_string(reinterpret_cast<ULONG_PTR>(dlgTemplate));
  return dlgTemplate ? dlgTemplate : "";
}

}  // namespace

HWND Host::AddRollupPage(HINSTANCE hInst, const TCHAR* dlgTemplate, DLGPROC dlgProc,
                         const TCHAR* title, LPARAM param, DWORD flags) {
  if (!IsWindow(commandPanel)) commandPanel = MakeCommandPanel();
  HWND page = CreatePageDialog(hInst, dlgTemplate, commandPanel, dlgProc, param);
  if (!page) {
    std::fprintf(stderr, "stand-in: rollup page %s cannot be made from the module's resources\n",
                 TemplateName(dlgTemplate).c_str());
    return nullptr;
  }
  bool open = !(flags & APPENDROLL_CLOSED);
  ShowWindow(page, open ? SW_SHOW : SW_HIDE);
  rollupPages.push_back({page, title ? title : "", param, flags, open});
  return page;
}

bool Host::IsRollupOpen(HWND page) const {
  for (const RollupPageRecord& r : rollupPages)
    if (r.page == page) return r.open;
  return false;
}

void Host::SetRollupOpen(HWND page, bool open) {
  for (RollupPageRecord& r : rollupPages) {
    if (r.page != page || r.open == open) continue;
    r.open = open;
    ShowWindow(page, open ? SW_SHOW : SW_HIDE);
    return;
  }
}

void Host::DeleteRollupPage(HWND hRollup) {
  auto it = std::find_if(rollupPages.begin(), rollupPages.end(),
                         [&](const RollupPageRecord& r) { return r.page == hRollup; });
  if (it == rollupPages.end()) return;
  rollupPages.erase(it);
  DestroyWindow(hRollup);
}

void Host::RegisterDlgWnd(HWND hDlg) {
  if (!IsDlgWndRegistered(hDlg)) dialogWindows.push_back(hDlg);
}

int Host::UnRegisterDlgWnd(HWND hDlg) {
  auto it = std::find(dialogWindows.begin(), dialogWindows.end(), hDlg);
  if (it == dialogWindows.end()) return FALSE;
  dialogWindows.erase(it);
  return TRUE;
}

bool Host::IsDlgWndRegistered(HWND hDlg) const {
  return std::find(dialogWindows.begin(), dialogWindows.end(), hDlg) != dialogWindows.end();
}

// Stand-in: the panel does not scroll; the messages are only recorded.
void Host::RollupMouseMessage(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam) {
  rollupMouse.push_back({hDlg, message, wParam, lParam});
}

bool Host::OpenUtility(ClassDesc* cd) {
  if (!cd || cd->SuperClassID() != UTILITY_CLASS_ID) return false;
  CloseUtility();
  auto* opened = static_cast<UtilityObj*>(cd->Create(FALSE));
  if (!opened) return false;
  utility = opened;
  utility->BeginEditParams(this, &utilityPanel);
  return true;
}

void Host::CloseUtility() {
  if (!utility) return;
  UtilityObj* closing = utility;
  utility = nullptr;
  closing->EndEditParams(this, &utilityPanel);
  closing->DeleteThis();
}

void Host::CloseCommandPanel() {
  CloseUtility();
  while (!rollupPages.empty()) DeleteRollupPage(rollupPages.back().page);
  if (IsWindow(commandPanel)) DestroyWindow(commandPanel);
  commandPanel = nullptr;
}

}  // namespace headless
