// The command-line host: mirova COMMAND ..., mirova help [COMMAND], mirova
// --help, mirova --version. Each command (command.h) takes its own
// arguments, writes its report to out and what the library shows the user to
// err, and returns the exit status.
#ifndef MIROVA_CLI_CLI_H
#define MIROVA_CLI_CLI_H
#include <ostream>
#include <string>
#include <vector>

namespace cli {

using Args = std::vector<std::string>;

enum ExitStatus { EXIT_OK = 0, EXIT_REFUSED = 1, EXIT_USAGE = 2 };

// args are what follows the program's name.
int RunTool(const Args& args, std::ostream& out, std::ostream& err);

}  // namespace cli

#endif
