// The expression object's command-panel side, shared by its rollups
// (mirovaobj_ui.cpp), target picking and creation (mirovaobj_pick.cpp) and
// the Face Tracker rollup.
//
// The state here exists once per library: the host edits one expression
// object at a time. The rollup pages and the two parameter maps live from
// the first BeginEditParams until an EndEditParams with END_EDIT_REMOVEUI;
// in between, an EndEditParams without it leaves them on screen detached
// (user data 0) until the next BeginEditParams binds them to its object.
#ifndef MIROVA_MIROVAOBJ_UI_H
#define MIROVA_MIROVAOBJ_UI_H
#include <cmdmode.h>
#include <iparamm.h>
#include <mouseman.h>
#include <ref.h>

#include "mirovaobj.h"

// The host interface of the last BeginEditParams; kept after EndEditParams.
extern IObjParam* ip;
// Whether the last BeginEditParams was for an object being created.
extern bool creating;
extern IParamMap* percentMap;
extern IParamMap* scaleMap;
extern HWND hAboutRollup;
extern HWND hTargetsRollup;
extern HWND hTrackerRollup;
// The spinners of the Percentages and Scales rollups, in rollup order.
extern ParamUIDesc percentDescs[NUM_CHANNELS];
extern ParamUIDesc scaleDescs[NUM_CHANNELS];

// Dialog procedures of the pages; each finds its object in GWLP_USERDATA.
INT_PTR CALLBACK AboutDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK FaceTargetsDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// The Face Tracker page's procedure is in facetracker.h.

// The mouse in a viewport while the object is being created: a click makes
// its viewport the active one; the cursor is the arrow.
class ExpressionCreateProc : public MouseCallBack {
 public:
  IObjParam* ip = nullptr;
  int proc(HWND hwnd, int msg, int point, int flags, IPoint2 m) override;
};

// The command mode that turns the single selected node into an expression
// object, its former object becoming the Neutral target. Holds the node as
// its one reference: deleting the node or changing the selection ends the
// creation.
class ExpressionCreateMode : public CommandMode, public ReferenceMaker {
 public:
  ExpressionCreateProc proc;
  INode* node = nullptr;
  IObjParam* ip = nullptr;       // null while idle
  ExpressionObject* obj = nullptr;  // the object being created; null while idle

  void Begin(INode* n, IObjParam* i);
  void End(IObjParam* i);
  // Back to creation from a pick: edits obj again as a created object.
  void JumpStart(IObjParam* i, ExpressionObject* o);

  // CommandMode
  int Class() override { return CREATE_COMMAND; }
  int ID() override { return EXPRESSION_CREATE_MODE_ID; }
  MouseCallBack* MouseProc(int* numPoints) override;
  ChangeForegroundCallback* ChangeFGProc() override { return CHANGE_FG_SELECTED; }
  BOOL ChangeFG(CommandMode*) override { return TRUE; }
  void EnterMode() override {}
  void ExitMode() override {}

  // ReferenceMaker
  int NumRefs() override { return 1; }
  RefTargetHandle GetReference(int) override;
  void SetReference(int, RefTargetHandle target) override;
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage message) override;

  static const int EXPRESSION_CREATE_MODE_ID = static_cast<int>(0x8F525AB2);
};

// Picks a scene node as the target of the face-target button pressed last
// on obj. The pressed button shows checked exactly while the mode runs.
class TargetPickMode : public PickModeCallback, public PickNodeCallback {
 public:
  ExpressionObject* obj = nullptr;

  // PickModeCallback
  BOOL HitTest(IObjParam* i, HWND hWnd, ViewExp* vpt, IPoint2 m, int flags) override;
  BOOL Pick(IObjParam* i, ViewExp* vpt) override;
  BOOL RightClick(IObjParam*, ViewExp*) override { return TRUE; }
  void EnterMode(IObjParam* i) override;
  void ExitMode(IObjParam* i) override;
  PickNodeCallback* GetFilter() override { return this; }
  BOOL AllowMultiSelect() override { return TRUE; }

  // PickNodeCallback
  BOOL Filter(INode* node) override;

  // Whether the mode is the host's current one.
  bool Running() const { return checkedButton != 0; }
  // The object is going away: the pick ends, and the mode forgets it.
  void Forget(ExpressionObject* o);

 private:
  // The button EnterMode checked: a later press overwrites the object's
  // pickButtonId before the host ends the mode, so ExitMode must not read
  // that one.
  int checkedButton = 0;
};

extern ExpressionCreateMode createMode;
extern TargetPickMode targetPickMode;

// Sets the checked look of a Face Targets button.
void ShowTargetButtonChecked(int id, BOOL checked);
// A face-target button was pressed: starts picking its slot, or ends the
// pick that runs (back to creation or the move mode).
void PressTargetButton(ExpressionObject* obj, int id);
// The object is going away: no page, map or mode may keep it.
void DetachFromPanel(ExpressionObject* obj);

#endif
