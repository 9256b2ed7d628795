// The headless host: the stand-in's implementation of the host interface. A
// test or the command line makes one Host; while it lives it is the core
// interface that GetCOREInterface returns, and its records tell what the host
// showed (progress bars, redraws, accelerator state).
#ifndef HEADLESS_HEADLESS_HOST_H
#define HEADLESS_HEADLESS_HOST_H
#include <box2.h>
#include <headless_viewport.h>
#include <inode.h>
#include <max.h>
#include <utilapi.h>

#include <memory>
#include <string>
#include <vector>

namespace headless {

struct ModeState;
class SceneRoot;

// A rollup page of the command panel, as AddRollupPage made it, and whether
// it is open now (APPENDROLL_CLOSED in flags appends it rolled up).
struct RollupPageRecord {
  HWND page = nullptr;
  std::string title;
  LPARAM param = 0;
  DWORD flags = 0;
  bool open = true;
};

// A mouse message a page passed on to RollupMouseMessage.
struct RollupMouseRecord {
  HWND dlg = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

// One use of the host's progress bar, from ProgressStart to ProgressEnd.
struct ProgressRecord {
  std::string title;
  bool barShown = false;
  std::vector<int> updates;  // every percentage, in order
  bool ended = false;
};

class Host final : public IObjParam {
 public:
  Host();
  ~Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  // --- Interface ---
  HWND AddRollupPage(HINSTANCE hInst, const TCHAR* dlgTemplate, DLGPROC dlgProc,
                     const TCHAR* title, LPARAM param = 0, DWORD flags = 0) override;
  void DeleteRollupPage(HWND hRollup) override;
  void RegisterDlgWnd(HWND hDlg) override;
  int UnRegisterDlgWnd(HWND hDlg) override;
  void RollupMouseMessage(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam) override;
  int GetSelNodeCount() override;
  INode* GetSelNode(int i) override;
  TimeValue GetTime() override { return time; }
  void RegisterTimeChangeCallback(TimeChangeCallback* tc) override;
  void UnRegisterTimeChangeCallback(TimeChangeCallback* tc) override;
  BOOL ProgressStart(const TCHAR* title, BOOL dispBar, LPTHREAD_START_ROUTINE fn,
                     LPVOID arg) override;
  void ProgressUpdate(int pct, BOOL showPct = TRUE, const TCHAR* title = nullptr) override;
  void ProgressEnd() override;
  CommandMode* GetCommandMode() override;
  void SetCommandMode(CommandMode* m) override;
  void PushCommandMode(CommandMode* m) override;
  void RemoveMode(CommandMode* m) override;
  void SetStdCommandMode(int cid) override;
  void SetPickMode(PickModeCallback* pc) override;
  void ClearPickMode() override;
  void StopCreating() override;
  void SetActiveViewport(HWND hwnd) override;
  INode* PickNode(HWND hWnd, IPoint2 pt, PickNodeCallback* filt = nullptr) override;
  void DeleteNode(INode* node, BOOL redraw = TRUE, BOOL overrideSlaves = FALSE) override;
  void RedrawViews(TimeValue t, DWORD vpFlags = REDRAW_NORMAL,
                   ReferenceTarget* change = nullptr) override;
  void DisableAccelerators() override { acceleratorsEnabled = false; }
  void EnableAccelerators() override { acceleratorsEnabled = true; }

  // --- the headless user and the records ---
  // Moves the time slider: every registered callback hears of the change.
  void SetTime(TimeValue t);
  // Plays the animation from one time to another as the play button does:
  // one SetTime per frame, from `from` in steps of a frame while not past
  // `to` (times in ticks). Nothing plays when `to` is before `from`. The time
  // stays at the last frame shown.
  void Play(TimeValue from, TimeValue to);
  // Frames a second of the scene (30 by default, 160 ticks a frame).
  // A rate outside 1 to 4800 (less than a tick a frame) is not taken.
  void SetFrameRate(int fps) { ::SetFrameRate(fps); }
  int FrameRate() const { return GetFrameRate(); }
  bool AcceleratorsEnabled() const { return acceleratorsEnabled; }
  const std::vector<ProgressRecord>& Progress() const { return progress; }
  bool ProgressActive() const { return progressActive; }
  // Show progress bars on standard error (the command line on a terminal).
  // Shows the progress bar as one line on stream, rewritten when the
  // percentage changes (null: not shown).
  void ShowProgressOn(FILE* stream) { progressStream = stream; }
  int RedrawCount() const { return redraws; }
  TimeValue LastRedrawTime() const { return lastRedraw; }

  // --- the command panel: rollup pages and the utility panel ---
  // (host_rollups.cpp) Pages are child dialogs of the panel's window, built
  // from the module's templates; the panel keeps the keyboard focus where it
  // was when a page opens.
  const std::vector<RollupPageRecord>& RollupPages() const { return rollupPages; }
  const std::vector<RollupMouseRecord>& RollupMouseMessages() const { return rollupMouse; }
  bool IsDlgWndRegistered(HWND hDlg) const;
  // The user rolls a page up or opens it. A rolled-up page's dialog is
  // hidden (only its title shows), so its controls are out of reach.
  // IsRollupOpen is false for a window that is not a page.
  bool IsRollupOpen(HWND page) const;
  void SetRollupOpen(HWND page, bool open);
  // Opens the utility of cd in the utility panel as the user does: Create,
  // then BeginEditParams. Any utility open before is closed first. False for
  // a class that is not a utility.
  bool OpenUtility(ClassDesc* cd);
  // EndEditParams, then DeleteThis; nothing when no utility is open.
  void CloseUtility();
  UtilityObj* OpenedUtility() const { return utility; }

  // --- command modes, pick modes, the viewport and the create panel ---
  // (host_modes.cpp, host_viewport.cpp) The current command mode is the top
  // of a stack whose bottom is the host's move mode (ID CID_OBJMOVE); a mode
  // is entered when it becomes current and exited when it stops being so.
  // A running pick mode is the host's standard pick mode (ID CID_STDPICK) on
  // top of the stack; any other mode change ends it. The host ends a running
  // pick and the create panel's creation when it closes.
  //
  // The one viewport: a top view (headless_viewport.h) in its own window. A
  // node lies under a window point when the point falls inside the bounding
  // box of its evaluated object's points in world space, seen from above,
  // grown by the pick box; an object without points has only its origin.
  // Of several nodes the last created is on top.
  Viewport& ActiveViewport() { return viewport; }
  HWND ViewportWindow() const;
  // The window SetActiveViewport named last (the viewport's until then).
  HWND ActiveViewportWindow() const;
  // The topmost node under pt that filt accepts (null: any); null for none.
  INode* NodeAt(IPoint2 pt, PickNodeCallback* filt = nullptr);
  // A window point over node where it is on top; false when there is none.
  bool PointOver(INode* node, IPoint2* pt);
  // The user moves the mouse over node in the active viewport and clicks
  // there (ClickAt); false when the node is not in the scene or nowhere on top.
  bool ClickNode(INode* node);
  // A left click at a window position. In a pick mode: HitTest, then Pick
  // when it hits (true when it hit). In a command mode: its mouse procedure
  // hears MOUSE_FREEMOVE and then each of its points at pt (true). The move
  // mode selects the node clicked, or nothing when none is there.
  bool ClickAt(IPoint2 pt);
  // The names of the nodes the running pick mode's filter accepts, in
  // creation order (every node without a filter; none without a pick mode).
  std::vector<std::string> PickByNameList();
  // Picks the first listed node of that name as if clicked: it becomes the
  // viewport's closest hit, then Pick. False when no such node is listed.
  bool PickByName(const std::string& name);
  // A right click in the viewport: the pick mode's RightClick, which ends
  // it when TRUE; nothing without a pick mode.
  void RightClick();
  bool PickModeActive() const;
  // The user presses cd's button in the create panel: any creation running
  // ends first; false when cd->OkToCreate refuses or cd->BeginCreate answers
  // 0 (Stand-in: the host's standard mouse creation is not provided).
  bool CreateFromPanel(ClassDesc* cd);
  bool Creating() const { return creatingClass != nullptr; }
  ClassDesc* CreatingClass() const { return creatingClass; }
  // The user leaves the create panel: the class's EndCreate, once.
  void LeaveCreatePanel();

  // --- the scene ---
  // A new node showing obj (which it references); the host owns the node.
  INode* CreateNode(Object* obj, const char* name = "");
  const std::vector<INode*>& Nodes() const { return nodes; }
  // Selects node, adding it to the selection or replacing the selection.
  void Select(INode* node, bool add = false);
  void ClearSelection();

 private:
  TimeValue time = 0;
  bool acceleratorsEnabled = true;
  std::vector<TimeChangeCallback*> timeCallbacks;  // null: unregistered while calling
  int timeCallbacksCalling = 0;  // SetTime calls under way
  std::vector<ProgressRecord> progress;
  bool progressActive = false;
  FILE* progressStream = nullptr;
  int progressShown = -1;  // the percentage the line shows
  int redraws = 0;
  TimeValue lastRedraw = 0;
  Interface* previous = nullptr;  // the core interface before this host
  int previousFrameRate = 30;
  std::vector<INode*> nodes;
  std::vector<INode*> selection;
  // Holds a reference to every node, as the scene does, so that a node never
  // goes with the last of its other dependents.
  std::unique_ptr<SceneRoot> root;
  void SetNodeSelected(INode* node, bool selected);

  // Modes, the viewport and the create panel (host_modes.cpp, host_viewport.cpp).
  CommandMode* CurrentMode() const;
  // Enters the stack's top and exits what was current, until both agree.
  void SyncModes();
  // Takes the pick mode off the stack (SyncModes exits it).
  void DropPickMode();
  void EndPickIfStill(PickModeCallback* pc, unsigned serial);
  bool ClickInCommandMode(CommandMode* mode, IPoint2 pt);
  bool ClickInPickMode(IPoint2 pt);
  // The scene's nodes the running pick mode's filter accepts.
  std::vector<INode*> PickableNodes();
  // The node's window rectangle in the viewport; false when it has none.
  bool NodeRect(INode* node, FBox2* rect);
  void EndModes();
  std::unique_ptr<ModeState> modes;
  Viewport viewport;
  mutable HWND viewportWindow = nullptr;
  HWND activeViewportWindow = nullptr;
  ClassDesc* creatingClass = nullptr;

  // The command panel (host_rollups.cpp).
  class UtilityPanel : public IUtil {
   public:
    explicit UtilityPanel(Host& h) : host(h) {}
    void CloseUtility() override { host.CloseUtility(); }

   private:
    Host& host;
  };
  // Closes the utility and any page left open, then the panel's window.
  void CloseCommandPanel();
  HWND commandPanel = nullptr;
  std::vector<RollupPageRecord> rollupPages;
  std::vector<RollupMouseRecord> rollupMouse;
  std::vector<HWND> dialogWindows;
  UtilityObj* utility = nullptr;
  UtilityPanel utilityPanel{*this};
};

}  // namespace headless

#endif
