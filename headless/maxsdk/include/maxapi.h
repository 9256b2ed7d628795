// Stand-in: the host interface handed to plug-ins. The headless host above
// (headless/host) implements it; an operation the stand-in does not
// provide yet stops the program naming itself.
#ifndef HEADLESS_MAXAPI_H
#define HEADLESS_MAXAPI_H
#include <ipoint2.h>
#include <maxtypes.h>
#include <strclass.h>

class INode;
class ViewExp;
class CommandMode;
class PickModeCallback;
class PickNodeCallback;
class ReferenceTarget;

// Called on the user-interface thread whenever the current time changes.
class TimeChangeCallback {
 public:
  virtual void TimeChanged(TimeValue t) = 0;

 protected:
  ~TimeChangeCallback() = default;
};

// Rollup page flags.
#define APPENDROLL_CLOSED (1 << 0)
// RedrawViews flags.
#define REDRAW_BEGIN (1 << 0)
#define REDRAW_INTERACTIVE (1 << 1)
#define REDRAW_END (1 << 2)
#define REDRAW_NORMAL (1 << 3)
// Standard command modes (SetStdCommandMode) and the id of the pick mode.
#define CID_OBJMOVE 1
#define CID_STDPICK 710
// BeginEditParams / EndEditParams flags.
#define BEGIN_EDIT_CREATE (1 << 0)
#define END_EDIT_REMOVEUI (1 << 0)

class Interface {
 public:
  // Rollup pages of the command panel. The page is a child dialog built from
  // the module's dialog template; param reaches WM_INITDIALOG as lParam.
  virtual HWND AddRollupPage(HINSTANCE hInst, const TCHAR* dlgTemplate, DLGPROC dlgProc,
                             const TCHAR* title, LPARAM param = 0, DWORD flags = 0) = 0;
  virtual void DeleteRollupPage(HWND hRollup) = 0;
  virtual void RegisterDlgWnd(HWND hDlg) = 0;
  virtual int UnRegisterDlgWnd(HWND hDlg) = 0;
  virtual void RollupMouseMessage(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam) = 0;

  // Selection and time.
  virtual int GetSelNodeCount() = 0;
  virtual INode* GetSelNode(int i) = 0;
  virtual TimeValue GetTime() = 0;
  virtual void RegisterTimeChangeCallback(TimeChangeCallback* tc) = 0;
  virtual void UnRegisterTimeChangeCallback(TimeChangeCallback* tc) = 0;

  // The host's progress bar; fn is the work function (called by the host).
  virtual BOOL ProgressStart(const TCHAR* title, BOOL dispBar, LPTHREAD_START_ROUTINE fn,
                             LPVOID arg) = 0;
  virtual void ProgressUpdate(int pct, BOOL showPct = TRUE, const TCHAR* title = nullptr) = 0;
  virtual void ProgressEnd() = 0;

  // Command and pick modes.
  virtual CommandMode* GetCommandMode() = 0;
  virtual void SetCommandMode(CommandMode* m) = 0;
  virtual void PushCommandMode(CommandMode* m) = 0;
  virtual void RemoveMode(CommandMode* m) = 0;
  virtual void SetStdCommandMode(int cid) = 0;
  virtual void SetPickMode(PickModeCallback* pc) = 0;
  virtual void ClearPickMode() = 0;
  virtual void StopCreating() = 0;
  virtual void SetActiveViewport(HWND hwnd) = 0;

  // Nodes and views.
  virtual INode* PickNode(HWND hWnd, IPoint2 pt, PickNodeCallback* filt = nullptr) = 0;
  virtual void DeleteNode(INode* node, BOOL redraw = TRUE, BOOL overrideSlaves = FALSE) = 0;
  virtual void RedrawViews(TimeValue t, DWORD vpFlags = REDRAW_NORMAL,
                           ReferenceTarget* change = nullptr) = 0;

  // Keyboard shortcuts, off while an edit box has the focus.
  virtual void DisableAccelerators() = 0;
  virtual void EnableAccelerators() = 0;

 protected:
  ~Interface() = default;
};

// The interface as handed to objects being created or modified.
class IObjParam : public Interface {
 protected:
  ~IObjParam() = default;
};

// The host's core interface; null while no host runs.
Interface* GetCOREInterface();

// The scene's frame rate, in frames a second (30 until set), and the ticks in
// a frame. Stand-in: a rate outside 1 to 4800 (less than a tick a frame) is
// not taken.
int GetFrameRate();
void SetFrameRate(int rate);
int GetTicksPerFrame();

// Animation state of the host.
void SuspendAnimate();
void ResumeAnimate();
void AnimateOn();
void AnimateOff();
BOOL Animating();

#endif
