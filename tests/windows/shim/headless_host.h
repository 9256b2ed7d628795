// A minimal host for the Linux tests compiled for Windows: while it lives it
// is the core interface, with the scene's frame rate and animation reset as
// a new host starts, and it records the progress bar. Nothing else of the
// host is offered; a test needing more does not belong in the Windows suite.
#ifndef MIROVA_WINDOWS_HEADLESS_HOST_H
#define MIROVA_WINDOWS_HEADLESS_HOST_H
#include <headless_sdk.h>
#include <max.h>

#include <string>
#include <vector>

namespace headless {

struct ProgressRecord {
  std::string title;
  bool barShown = false;
  std::vector<int> updates;
  bool ended = false;
};

class Host final : public IObjParam {
 public:
  Host() : previous(InstallCoreInterface(this)) {
    SetFrameRate(30);
    ResetAnimate();
  }
  ~Host() { InstallCoreInterface(previous); }
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  const std::vector<ProgressRecord>& Progress() const { return progress; }

  BOOL ProgressStart(const TCHAR* title, BOOL dispBar, LPTHREAD_START_ROUTINE, LPVOID) override {
    progress.push_back({title ? title : "", dispBar != FALSE, {}, false});
    return TRUE;
  }
  void ProgressUpdate(int pct, BOOL, const TCHAR*) override {
    if (!progress.empty()) progress.back().updates.push_back(pct);
  }
  void ProgressEnd() override {
    if (!progress.empty()) progress.back().ended = true;
  }

  HWND AddRollupPage(HINSTANCE, const TCHAR*, DLGPROC, const TCHAR*, LPARAM, DWORD) override { return nullptr; }
  void DeleteRollupPage(HWND) override {}
  void RegisterDlgWnd(HWND) override {}
  int UnRegisterDlgWnd(HWND) override { return 0; }
  void RollupMouseMessage(HWND, UINT, WPARAM, LPARAM) override {}
  int GetSelNodeCount() override { return 0; }
  INode* GetSelNode(int) override { return nullptr; }
  TimeValue GetTime() override { return 0; }
  void RegisterTimeChangeCallback(TimeChangeCallback*) override {}
  void UnRegisterTimeChangeCallback(TimeChangeCallback*) override {}
  CommandMode* GetCommandMode() override { return nullptr; }
  void SetCommandMode(CommandMode*) override {}
  void PushCommandMode(CommandMode*) override {}
  void RemoveMode(CommandMode*) override {}
  void SetStdCommandMode(int) override {}
  void SetPickMode(PickModeCallback*) override {}
  void ClearPickMode() override {}
  void StopCreating() override {}
  void SetActiveViewport(HWND) override {}
  INode* PickNode(HWND, IPoint2, PickNodeCallback*) override { return nullptr; }
  void DeleteNode(INode*, BOOL, BOOL) override {}
  void RedrawViews(TimeValue, DWORD, ReferenceTarget*) override {}
  void DisableAccelerators() override {}
  void EnableAccelerators() override {}

 private:
  Interface* previous;
  std::vector<ProgressRecord> progress;
};

}  // namespace headless

#endif
