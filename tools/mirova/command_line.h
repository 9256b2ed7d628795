// How every subcommand reads its command line: one CLI11 parser per
// command, built by the command's Run function, so that main and the tests
// that call Run directly go through the same parser. --help prints the
// command's help on standard output; a wrong command line is named on
// standard error with the command's usage (exit 2).
#ifndef MIROVA_CLI_COMMAND_LINE_H
#define MIROVA_CLI_COMMAND_LINE_H
#include <CLI/CLI.hpp>
#include <ostream>
#include <string>
#include <vector>

#include "cli.h"

namespace cli {

using RunFunction = int (*)(const Args&, std::ostream&, std::ostream&);

struct Command {
  const char* name;
  const char* summary;   // one line, for the list of commands
  const char* synopsis;  // the usage, one or more lines starting "mirova NAME"
  RunFunction run;
};

// Every subcommand, in the order the help lists them.
const std::vector<Command>& Commands();
// The command called name, or null.
const Command* FindCommand(const std::string& name);
// The names of the commands, "info, inspect, ...".
std::string CommandNames();

class CommandLine {
 public:
  explicit CommandLine(const std::string& command);
  CLI::App& App() { return app; }

  // Parses args. Returns -1 when the command goes on; otherwise the exit
  // status, the help or the error already printed.
  int Parse(const Args& args, std::ostream& out, std::ostream& err);
  // Says what is wrong on err, with the usage; returns EXIT_USAGE.
  int Refuse(const std::string& problem, std::ostream& err) const;

 private:
  const Command& command;
  CLI::App app;
};

// The text of mirova --help: what the tool is and its commands.
std::string ToolHelp();

}  // namespace cli

#endif
