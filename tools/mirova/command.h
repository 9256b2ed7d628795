// What every command of the tool is: its options, the rules between them, the
// files it reads and writes, and its body. RunCommand does everything else
// the same way for each: parses the command line (help on standard output; a
// wrong line named on standard error with the usage, exit 2), checks the
// rules, checks that every input can be opened and that the output is none of
// them, and only then runs the body. A command's usage is made from its
// options, so it is written once.
#ifndef MIROVA_CLI_COMMAND_H
#define MIROVA_CLI_COMMAND_H
#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "cli.h"

namespace cli {

class Command {
 public:
  virtual ~Command() = default;
  // Declares the options; their values land in the command's members.
  virtual void Define(CLI::App& app) = 0;
  // What is wrong with the options taken together, once each has passed its
  // own check; "" when nothing is.
  virtual std::string Check() { return ""; }
  // The files the body will read, and the one it writes ("" for none).
  virtual std::vector<std::string> Inputs() const { return {}; }
  virtual std::string Output() const { return ""; }
  // The work, on a checked command line; returns the exit status.
  virtual int Run(std::ostream& out, std::ostream& err) = 0;
};

struct CommandEntry {
  const char* name;
  const char* summary;  // one line, for the list of commands
  std::unique_ptr<Command> (*make)();
};

// Every command, in the order the help lists them.
const std::vector<CommandEntry>& Commands();
const CommandEntry* FindCommand(const std::string& name);
// "info, inspect, ...".
std::string CommandNames();

// Runs the command called name (which must exist) on args.
int RunCommand(const CommandEntry& entry, const Args& args, std::ostream& out, std::ostream& err);

// The text of mirova --help: what the tool is and its commands.
std::string ToolHelp();

// An option's value as a whole decimal number from lo to hi, written as
// digits with a '-' before them where lo is negative: no sign, space,
// exponent or other base, so that "010" is ten and " 30" is refused.
CLI::Validator WholeNumber(long long lo, long long hi);
// The same rule for text a command takes apart itself ("A:B"): false when
// text is no such number.
bool ReadWhole(const std::string& text, long long lo, long long hi, long long* value);
// "A:B", two such numbers from 0 to hi with A not after B (--frames).
bool ReadRange(const std::string& text, long long hi, long long* first, long long* last);
// The format an output is written in: the one its extension names (.json,
// .chan, .obj, .png; .glb and .gltf both "gltf"); the one --format gave
// (given, when the option was used: explicit) where it has none, or there is
// no output; else the first of formats. "" with *problem when an extension
// names a format that is not among formats (or none that is known), or
// contradicts an explicit --format.
std::string OutputFormat(const std::string& output, const std::string& given, bool explicit_,
                         const std::vector<std::string>& formats, std::string* problem);

// An option's value as one of names: "wants json, chan or gltf, not ..."
CLI::Validator OneOf(const std::vector<std::string>& names);

}  // namespace cli

#endif
