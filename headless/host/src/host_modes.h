// The host's own command modes and the state of its mode stack (internal to
// the host).
#ifndef HEADLESS_HOST_MODES_H
#define HEADLESS_HOST_MODES_H
#include <cmdmode.h>
#include <mouseman.h>

#include <functional>
#include <vector>

namespace headless {

// The move mode, the host's default. Stand-in: a click selects the node
// under it (or clears the selection); nothing moves.
class MoveMode final : public CommandMode, private MouseCallBack {
 public:
  explicit MoveMode(std::function<void(IPoint2)> select) : select(std::move(select)) {}
  int Class() override;
  int ID() override { return CID_OBJMOVE; }
  MouseCallBack* MouseProc(int* numPoints) override;
  ChangeForegroundCallback* ChangeFGProc() override { return CHANGE_FG_SELECTED; }
  BOOL ChangeFG(CommandMode*) override { return FALSE; }
  void EnterMode() override {}
  void ExitMode() override {}

 private:
  int proc(HWND, int msg, int point, int flags, IPoint2 m) override;
  std::function<void(IPoint2)> select;
};

// The standard pick mode that runs a plug-in's PickModeCallback. Entering and
// exiting it enters and exits the callback that runs at that moment, so that
// a new callback replacing another exits the old one and enters the new.
class StdPickMode final : public CommandMode {
 public:
  explicit StdPickMode(IObjParam& ip) : ip(ip) {}
  int Class() override;
  int ID() override { return CID_STDPICK; }
  MouseCallBack* MouseProc(int* numPoints) override;
  ChangeForegroundCallback* ChangeFGProc() override { return nullptr; }
  BOOL ChangeFG(CommandMode*) override { return FALSE; }
  void EnterMode() override;
  void ExitMode() override;

  PickModeCallback* callback = nullptr;  // the running pick; null when none
  PickModeCallback* entered = nullptr;   // the one whose EnterMode ran last
  unsigned serial = 0;                   // counts SetPickMode calls

 private:
  IObjParam& ip;
  MouseCallBack none;
};

struct ModeState {
  ModeState(IObjParam& ip, std::function<void(IPoint2)> select) : move(std::move(select)), pick(ip) {}
  MoveMode move;
  StdPickMode pick;
  std::vector<CommandMode*> stack;  // top last; empty: the move mode
  CommandMode* entered = nullptr;   // entered and not yet exited
  bool syncing = false;
};

}  // namespace headless

#endif
