// Host operations that no part of the library calls yet: each stops the
// program naming itself, so a missing piece of the stand-in cannot pass
// unnoticed.
#include <headless_host.h>

#include "missing.h"

namespace headless {

CommandMode* Host::GetCommandMode() { Missing("Interface::GetCommandMode"); }
void Host::SetCommandMode(CommandMode*) { Missing("Interface::SetCommandMode"); }
void Host::PushCommandMode(CommandMode*) { Missing("Interface::PushCommandMode"); }
void Host::RemoveMode(CommandMode*) { Missing("Interface::RemoveMode"); }
void Host::SetStdCommandMode(int) { Missing("Interface::SetStdCommandMode"); }
void Host::SetPickMode(PickModeCallback*) { Missing("Interface::SetPickMode"); }
void Host::ClearPickMode() { Missing("Interface::ClearPickMode"); }
void Host::StopCreating() { Missing("Interface::StopCreating"); }
void Host::SetActiveViewport(HWND) { Missing("Interface::SetActiveViewport"); }
INode* Host::PickNode(HWND, IPoint2, PickNodeCallback*) { Missing("Interface::PickNode"); }

}  // namespace headless
