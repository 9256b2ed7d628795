#include "command.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

#include "commands.h"
#include "file_names.h"

namespace cli {

namespace {

const std::vector<CommandEntry> commands = {
    {"info", "Load the plug-in through its exports and list its description, version word and classes",
     MakeInfoCommand},
    {"inspect", "Print what the library's readers make of a motion take (.asc) or a tracker recording (.trc)",
     MakeInspectCommand},
    {"camera", "Key a free camera from a motion-control take through the utility's panel", MakeCameraCommand},
    {"take", "Write the motion-control take that keys a camera as a glTF or .chan camera moves", MakeTakeCommand},
    {"morph", "Blend a face from OBJ meshes through the expression object", MakeMorphCommand},
    {"face", "Turn a tracker recording into expression keys (JSON) or an animated face (glTF)", MakeFaceCommand},
    {"view", "Save a recording as the tracker view shows it, one PNG picture a frame", MakeViewCommand},
    {"panel", "Save a picture of the utility's or the expression object's command panel", MakePanelCommand},
};

// One option as the usage shows it: "--fps N", "--names", "FILE.trc".
std::string OptionUsage(const CLI::Option* option) {
  if (option->get_positional()) {
    const std::string& type = option->get_type_name();
    return type.empty() ? option->get_name(true) : type;
  }
  std::string text = option->get_name();
  if (option->get_type_size_max() > 0 && !option->get_type_name().empty()) text += " " + option->get_type_name();
  if (option->get_multi_option_policy() == CLI::MultiOptionPolicy::TakeAll) text += " ...";
  return text;
}

// "mirova NAME" and each option in the order defined: a required one as it
// is, the others in brackets, options that exclude each other in one pair of
// brackets ("[--frame F | --frames A:B]").
std::string Synopsis(const CLI::App& app) {
  std::string text = app.get_name();
  const std::vector<const CLI::Option*> options = app.get_options();
  for (size_t i = 0; i < options.size(); ++i) {
    const CLI::Option* option = options[i];
    if (option == app.get_help_ptr()) continue;
    std::string usage = OptionUsage(option);
    while (i + 1 < options.size() && option->get_excludes().count(const_cast<CLI::Option*>(options[i + 1])))
      usage += " | " + OptionUsage(options[++i]);
    text += " " + (option->get_required() ? usage : "[" + usage + "]");
  }
  return text;
}

std::string UsageText(const std::string& synopsis) {
  std::string text = "usage: ";
  for (char c : synopsis) text += c == '\n' ? std::string("\n       ") : std::string(1, c);
  return text + "\n";
}

// CLI11's help with the command's own synopsis as its usage.
class CommandFormatter : public CLI::Formatter {
 public:
  CommandFormatter() {
    column_width(30);
    label("Subcommands", "Commands");
    label("Positionals", "Arguments");
    label("REQUIRED", "(required)");
  }
  std::string make_usage(const CLI::App* app, std::string) const override { return UsageText(Synopsis(*app)); }
};

// CLI11's words made ours: "-o: 1 required TEXT missing" says "-o wants a
// value", and a validator's "--fps: wants ..." reads "--fps wants ...".
std::string ProblemText(const std::string& what, bool mismatch) {
  const size_t colon = what.find(": ");
  if (colon == std::string::npos) return what;
  const bool missing = what.size() > 8 && what.compare(what.size() - 8, 8, " missing") == 0;
  if (mismatch && missing) return what.substr(0, colon) + " wants a value";
  if (what.compare(colon + 2, 6, "wants ") == 0) return what.substr(0, colon) + " " + what.substr(colon + 2);
  return what;
}

int Refuse(const CLI::App& app, const std::string& problem, std::ostream& err) {
  err << "mirova: " << problem << "\n"
      << UsageText(Synopsis(app)) << "Run \"" << app.get_name() << " --help\" for the options.\n";
  return EXIT_USAGE;
}

// -1 when the command goes on; otherwise the exit status, the help or the
// error already printed.
int Parse(CLI::App& app, const Args& args, std::ostream& out, std::ostream& err) {
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    out << app.help();
    return EXIT_OK;
  } catch (const CLI::ArgumentMismatch& e) {
    return Refuse(app, ProblemText(e.what(), true), err);
  } catch (const CLI::ParseError& e) {
    return Refuse(app, ProblemText(e.what(), false), err);
  }
  for (const CLI::Option* option : app.get_options())
    for (const std::string& value : option->results())
      if (value.empty() && option->get_type_size_max() > 0)
        return Refuse(app, option->get_name(option->get_positional()) + " wants a value, not an empty one", err);
  for (const std::string& extra : app.remaining()) {
    if (extra == "--") continue;
    const bool option = extra.size() > 1 && extra[0] == '-';
    return Refuse(app, (option ? "unknown option " : "unexpected argument ") + extra, err);
  }
  return -1;
}

// Why path cannot be read, or "".
std::string Unreadable(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return "it is a folder";
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::strerror(errno);
  close(fd);
  return "";
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// Every input readable, and the output none of them: said on err (exit 2)
// before any work is done.
int CheckFiles(const Command& command, std::ostream& err) {
  const std::string output = command.Output();
  for (const std::string& input : command.Inputs()) {
    const std::string why = Unreadable(input);
    if (!why.empty()) {
      err << "mirova: cannot open " << Printable(input) << ": " << why << "\n";
      return EXIT_USAGE;
    }
    if (!output.empty() && SameFile(input, output)) {
      err << "mirova: the output " << Printable(output) << " is the input " << Printable(input)
          << "; it is not written over\n";
      return EXIT_USAGE;
    }
  }
  return EXIT_OK;
}

}  // namespace

const std::vector<CommandEntry>& Commands() { return commands; }

const CommandEntry* FindCommand(const std::string& name) {
  for (const CommandEntry& c : commands)
    if (name == c.name) return &c;
  return nullptr;
}

std::string CommandNames() {
  std::string names;
  for (const CommandEntry& c : commands) names += (names.empty() ? "" : ", ") + std::string(c.name);
  return names;
}

int RunCommand(const CommandEntry& entry, const Args& args, std::ostream& out, std::ostream& err) {
  CLI::App app(entry.summary, std::string("mirova ") + entry.name);
  app.formatter(std::make_shared<CommandFormatter>());
  app.set_help_flag("-h,--help", "Print this help and exit");
  // What no option takes is named by Parse, in our words.
  app.allow_extras();
  const std::unique_ptr<Command> command = entry.make();
  command->Define(app);
  const int parsed = Parse(app, args, out, err);
  if (parsed >= 0) return parsed;
  const std::string problem = command->Check();
  if (!problem.empty()) return Refuse(app, problem, err);
  const int files = CheckFiles(*command, err);
  return files != EXIT_OK ? files : command->Run(out, err);
}

std::string ToolHelp() {
  CLI::App app("mirova: the headless host that loads the plug-in and drives it as a user would.\n"
               "Exit status: 0 done, 1 the library refused, 2 a wrong command line or a file that cannot be "
               "opened or written.",
               "mirova");
  app.set_help_flag("-h,--help", "Print this help and exit");
  app.add_flag("--version", "Print the tool's version and the plug-in's version word");
  for (const CommandEntry& c : commands) app.add_subcommand(c.name, c.summary);
  app.footer("Run \"mirova help COMMAND\" or \"mirova COMMAND --help\" for a command's options.");
  class ToolFormatter : public CommandFormatter {
    std::string make_usage(const CLI::App*, std::string) const override {
      return UsageText("mirova COMMAND [OPTIONS]\nmirova help [COMMAND]\nmirova --version");
    }
  };
  app.formatter(std::make_shared<ToolFormatter>());
  return app.help();
}

bool ReadWhole(const std::string& text, long long lo, long long hi, long long* value) {
  const bool negative = !text.empty() && text[0] == '-' && lo < 0;
  const std::string digits = negative ? text.substr(1) : text;
  if (digits.empty() || digits.size() > 18 || digits.find_first_not_of("0123456789") != std::string::npos)
    return false;
  const long long v = negative ? -std::stoll(digits) : std::stoll(digits);
  if (v < lo || v > hi) return false;
  *value = v;
  return true;
}

bool ReadRange(const std::string& text, long long hi, long long* first, long long* last) {
  const size_t colon = text.find(':');
  return colon != std::string::npos && ReadWhole(text.substr(0, colon), 0, hi, first) &&
         ReadWhole(text.substr(colon + 1), 0, hi, last) && *first <= *last;
}

CLI::Validator WholeNumber(long long lo, long long hi) {
  return CLI::Validator(
      [lo, hi](std::string& text) {
        long long v = 0;
        if (!ReadWhole(text, lo, hi, &v))
          return "wants a whole number from " + std::to_string(lo) + " to " + std::to_string(hi) + ", not \"" +
                 text + "\"";
        text = std::to_string(v);
        return std::string();
      },
      "");
}

std::string OutputFormat(const std::string& output, const std::string& given, bool explicit_,
                         const std::vector<std::string>& formats, std::string* problem) {
  const std::string name = FileNameOf(output);
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0) return explicit_ || formats.empty() ? given : formats.front();
  std::string extension = name.substr(dot + 1);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const std::string format = extension == "glb" ? "gltf" : extension;
  const bool known = std::find(formats.begin(), formats.end(), format) != formats.end();
  std::string list;
  for (size_t i = 0; i < formats.size(); ++i)
    list += (i == 0 ? "." : i + 1 == formats.size() ? " or ." : ", .") + (formats[i] == "gltf" ? "glb, .gltf" : formats[i]);
  if (!known)
    *problem = "-o " + output + " names no format written here; its name must end in " + list;
  else if (explicit_ && given != format)
    *problem = "--format " + given + " contradicts -o " + output + ", whose name says " + format;
  return problem->empty() ? format : "";
}

CLI::Validator OneOf(const std::vector<std::string>& names) {
  std::string list;
  for (size_t i = 0; i < names.size(); ++i)
    list += (i == 0 ? "" : i + 1 == names.size() ? " or " : ", ") + names[i];
  return CLI::Validator(
      [names, list](std::string& text) {
        for (const std::string& name : names)
          if (text == name) return std::string();
        return "wants " + list + ", not \"" + text + "\"";
      },
      "");
}

}  // namespace cli
