// mirova itself: the commands by name, help and version.
#include <cstdio>

#include "cli.h"
#include "command.h"
#include "plugin.h"

#ifndef MIROVA_VERSION
#error "MIROVA_VERSION comes from the project's version (CMakeLists.txt)"
#endif

namespace cli {

namespace {

int UnknownCommand(const std::string& name, std::ostream& err) {
  err << "mirova: unknown command \"" << name << "\"; the commands are " << CommandNames() << "\n"
      << "Run \"mirova --help\" for more.\n";
  return EXIT_USAGE;
}

// mirova help [COMMAND]
int RunHelp(const Args& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    out << ToolHelp();
    return EXIT_OK;
  }
  if (args.size() > 1) {
    err << "mirova: help takes one command, not " << args.size() << "\n";
    return EXIT_USAGE;
  }
  const CommandEntry* command = FindCommand(args[0]);
  return command ? RunCommand(*command, {"--help"}, out, err) : UnknownCommand(args[0], err);
}

// The tool's version always; the plug-in's version word when its module
// loads. A module that cannot be loaded is an install that cannot work:
// said on err, exit 2, as any command that needs it would.
int RunVersion(std::ostream& out, std::ostream& err) {
  out << "mirova " << MIROVA_VERSION << "\n";
  const Plugin plugin(PluginPath());
  const int status = CheckExports(plugin, err);
  if (status != EXIT_OK) return status;
  char word[16];
  std::snprintf(word, sizeof word, "0x%08X", static_cast<unsigned>(plugin.Version()));
  out << "plug-in " << plugin.Path() << " version word " << word << "\n";
  return EXIT_OK;
}

}  // namespace

int RunTool(const Args& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    err << ToolHelp();
    return EXIT_USAGE;
  }
  const std::string& first = args[0];
  const Args rest(args.begin() + 1, args.end());
  if (const CommandEntry* command = FindCommand(first)) return RunCommand(*command, rest, out, err);
  if (first == "help") return RunHelp(rest, out, err);
  const bool help = first == "--help" || first == "-h";
  if ((help || first == "--version") && !rest.empty()) {
    err << "mirova: " << first << " takes nothing after it, not " << rest[0] << "\n";
    return EXIT_USAGE;
  }
  if (help) {
    out << ToolHelp();
    return EXIT_OK;
  }
  if (first == "--version") return RunVersion(out, err);
  if (first.size() > 1 && first[0] == '-') {
    err << "mirova: unknown option " << first << "\nRun \"mirova --help\" for more.\n";
    return EXIT_USAGE;
  }
  return UnknownCommand(first, err);
}

}  // namespace cli
