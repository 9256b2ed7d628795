// The commands of the tool, each made by its own file; the list that names
// them is in command.cpp.
#ifndef MIROVA_CLI_COMMANDS_H
#define MIROVA_CLI_COMMANDS_H
#include <memory>

#include "command.h"

namespace cli {

std::unique_ptr<Command> MakeInfoCommand();
std::unique_ptr<Command> MakeInspectCommand();
std::unique_ptr<Command> MakeCameraCommand();
std::unique_ptr<Command> MakeTakeCommand();
std::unique_ptr<Command> MakeMorphCommand();
std::unique_ptr<Command> MakeFaceCommand();
std::unique_ptr<Command> MakeViewCommand();
std::unique_ptr<Command> MakePanelCommand();

}  // namespace cli

#endif
