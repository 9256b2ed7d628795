// The headless host's command and pick modes, and the create panel.
#include <headless_host.h>

#include <algorithm>

#include "host_modes.h"
#include "missing.h"

namespace headless {

namespace {

// Command-mode classes of the host's own modes.
const int moveCommandClass = 2;
const int pickCommandClass = 12;

}  // namespace

int MoveMode::Class() { return moveCommandClass; }

MouseCallBack* MoveMode::MouseProc(int* numPoints) {
  if (numPoints) *numPoints = 1;
  return this;
}

int MoveMode::proc(HWND, int msg, int, int, IPoint2 m) {
  if (msg == MOUSE_POINT) select(m);
  return TRUE;
}

int StdPickMode::Class() { return pickCommandClass; }

MouseCallBack* StdPickMode::MouseProc(int* numPoints) {
  if (numPoints) *numPoints = 1;
  return &none;
}

void StdPickMode::EnterMode() {
  entered = callback;
  if (entered) entered->EnterMode(&ip);
}

void StdPickMode::ExitMode() {
  PickModeCallback* was = entered;
  entered = nullptr;
  if (was) was->ExitMode(&ip);
}

CommandMode* Host::CurrentMode() const {
  return modes->stack.empty() ? static_cast<CommandMode*>(&modes->move) : modes->stack.back();
}

void Host::SyncModes() {
  ModeState& m = *modes;
  // A callback that changes modes while being entered or exited leaves the
  // rest to the loop already running.
  if (m.syncing) return;
  m.syncing = true;
  auto upToDate = [&] {
    CommandMode* top = CurrentMode();
    return m.entered == top && (top != &m.pick || m.pick.entered == m.pick.callback);
  };
  while (!upToDate()) {
    if (m.entered) {
      CommandMode* was = m.entered;
      m.entered = nullptr;
      was->ExitMode();
    } else {
      m.entered = CurrentMode();
      m.entered->EnterMode();
    }
  }
  m.syncing = false;
}

void Host::DropPickMode() {
  ModeState& m = *modes;
  m.pick.callback = nullptr;
  m.stack.erase(std::remove(m.stack.begin(), m.stack.end(), &m.pick), m.stack.end());
}

CommandMode* Host::GetCommandMode() { return CurrentMode(); }

void Host::SetCommandMode(CommandMode* m) {
  if (!m || m == &modes->pick) return;
  DropPickMode();
  if (modes->stack.empty()) modes->stack.push_back(m);
  else modes->stack.back() = m;
  SyncModes();
}

void Host::PushCommandMode(CommandMode* m) {
  if (!m || m == &modes->pick) return;
  DropPickMode();
  modes->stack.push_back(m);
  SyncModes();
}

void Host::RemoveMode(CommandMode* m) {
  if (m == &modes->pick) {
    ClearPickMode();
    return;
  }
  std::vector<CommandMode*>& stack = modes->stack;
  stack.erase(std::remove(stack.begin(), stack.end(), m), stack.end());
  SyncModes();
}

void Host::SetStdCommandMode(int cid) {
  if (cid != CID_OBJMOVE) Missing("Interface::SetStdCommandMode for a mode other than move");
  SetCommandMode(&modes->move);
}

void Host::SetPickMode(PickModeCallback* pc) {
  if (!pc) return;
  StdPickMode& pick = modes->pick;
  if (pick.callback == pc) return;  // already picking with it
  DropPickMode();
  pick.callback = pc;
  ++pick.serial;
  modes->stack.push_back(&pick);
  SyncModes();
}

void Host::ClearPickMode() {
  if (!modes->pick.callback) return;
  DropPickMode();
  SyncModes();
}

bool Host::PickModeActive() const { return modes->pick.callback != nullptr; }

void Host::EndPickIfStill(PickModeCallback* pc, unsigned serial) {
  // The callback may have ended this pick, or started another, meanwhile.
  if (modes->pick.callback == pc && modes->pick.serial == serial) ClearPickMode();
}

void Host::EndModes() {
  ClearPickMode();
  LeaveCreatePanel();
  modes->stack.clear();
  SyncModes();
}

bool Host::CreateFromPanel(ClassDesc* cd) {
  LeaveCreatePanel();
  if (!cd || !cd->OkToCreate(this)) return false;
  // Creating already while BeginCreate runs, so that it can be stopped.
  creatingClass = cd;
  if (cd->BeginCreate(this)) return Creating();
  creatingClass = nullptr;
  return false;
}

void Host::LeaveCreatePanel() {
  ClassDesc* cd = creatingClass;
  if (!cd) return;
  // Forgotten first: EndCreate may lead back here (a node deleted, the
  // selection changed), and must run once.
  creatingClass = nullptr;
  cd->EndCreate(this);
}

void Host::StopCreating() { LeaveCreatePanel(); }

}  // namespace headless
