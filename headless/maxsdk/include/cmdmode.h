// Stand-in: command modes and pick modes, the host's ways of giving the
// viewports' mouse to a plug-in.
#ifndef HEADLESS_CMDMODE_H
#define HEADLESS_CMDMODE_H
#include <maxapi.h>

class MouseCallBack;
class ViewExp;
class ChangeForegroundCallback;

// Command-mode classes (CommandMode::Class).
#define CREATE_COMMAND 9
// The answer of ChangeFGProc that keeps the selected nodes in the foreground.
#define CHANGE_FG_SELECTED ((ChangeForegroundCallback*)1)

class CommandMode {
 public:
  virtual int Class() = 0;
  virtual int SuperClass() { return 0; }
  virtual int ID() = 0;
  // The mouse procedure of the mode; numPoints receives the clicks it takes.
  virtual MouseCallBack* MouseProc(int* numPoints) = 0;
  virtual ChangeForegroundCallback* ChangeFGProc() = 0;
  virtual BOOL ChangeFG(CommandMode* oldMode) = 0;
  virtual void EnterMode() = 0;
  virtual void ExitMode() = 0;

 protected:
  ~CommandMode() = default;
};

// Decides which nodes a pick mode accepts (also for the pick-by-name list).
class PickNodeCallback {
 public:
  virtual BOOL Filter(INode* node) = 0;

 protected:
  ~PickNodeCallback() = default;
};

// A pick mode: the host asks HitTest while the mouse moves and Pick on a
// click; TRUE from Pick or RightClick ends the mode.
class PickModeCallback {
 public:
  virtual BOOL HitTest(IObjParam* ip, HWND hWnd, ViewExp* vpt, IPoint2 m, int flags) = 0;
  virtual BOOL Pick(IObjParam* ip, ViewExp* vpt) = 0;
  virtual BOOL RightClick(IObjParam*, ViewExp*) { return FALSE; }
  virtual void EnterMode(IObjParam*) {}
  virtual void ExitMode(IObjParam*) {}
  virtual HCURSOR GetDefCursor(IObjParam*) { return nullptr; }
  virtual HCURSOR GetHitCursor(IObjParam*) { return nullptr; }
  virtual PickNodeCallback* GetFilter() { return nullptr; }
  virtual BOOL AllowMultiSelect() { return FALSE; }

 protected:
  ~PickModeCallback() = default;
};

#endif
