// A command of the tool run in this process, as main runs it.
#ifndef MIROVA_TESTS_CLI_COMMAND_H
#define MIROVA_TESTS_CLI_COMMAND_H
#include <ostream>
#include <string>

#include "cli.h"

inline int RunCli(const std::string& command, const cli::Args& args, std::ostream& out, std::ostream& err) {
  cli::Args line{command};
  line.insert(line.end(), args.begin(), args.end());
  return cli::RunTool(line, out, err);
}

#endif
