#include "command_line.h"

#include <memory>

namespace cli {

namespace {

const std::vector<Command> commands = {
    {"info", "Load the plug-in through its exports and list its description, version word and classes",
     "mirova info [--plugin FILE]", RunInfo},
    {"inspect", "Print what the library's readers make of a motion take (.asc) or a tracker recording (.trc)",
     "mirova inspect FILE.asc\nmirova inspect FILE.trc [--raw]", RunInspect},
    {"camera", "Key a free camera from a motion-control take through the utility's panel",
     "mirova camera FILE.asc [--fps N] [--no-east-west] [--no-track] [--no-north-south] [--no-tilt] [--no-roll] "
     "[--no-pan] [--format json|chan|gltf] [-o OUT] [--plugin FILE]",
     RunCamera},
    {"morph", "Blend a face from OBJ meshes through the expression object",
     "mirova morph --neutral FILE.obj [--target NAME=FILE.obj ...] [--method copy|reference|instance|move] "
     "[--set \"PARAM=PERCENT\" ...] [--time TICKS] -o OUT.obj|OUT.glb|OUT.gltf",
     RunMorph},
    {"face", "Turn a tracker recording into expression keys (JSON) or an animated face (glTF)",
     "mirova face FILE.trc [--fps N] [--neutral FILE.obj] [--target NAME=FILE.obj ...] [--format json|gltf] "
     "[-o OUT]",
     RunFace},
    {"view", "Save a recording as the tracker view shows it, one PNG picture a frame",
     "mirova view FILE.trc [--frame F | --frames A:B] [--fps N] [--trajectories] [--names] [--extents] "
     "-o OUT.png|DIR/",
     RunView},
    {"panel", "Save a picture of the utility's or the expression object's command panel",
     "mirova panel utility|object [-o OUT.png]", RunPanel},
};

// "usage: " before the first line of a synopsis, the others lined up under it.
std::string UsageText(const std::string& synopsis) {
  std::string text = "usage: ";
  for (char c : synopsis) text += c == '\n' ? std::string("\n       ") : std::string(1, c);
  return text + "\n";
}

// CLI11's help with the command's own synopsis as its usage.
class CommandFormatter : public CLI::Formatter {
 public:
  explicit CommandFormatter(std::string synopsis) : synopsis(std::move(synopsis)) {
    column_width(30);
    label("Subcommands", "Commands");
    label("Positionals", "Arguments");
    label("REQUIRED", "(required)");
  }
  std::string make_usage(const CLI::App*, std::string) const override { return UsageText(synopsis); }

 private:
  std::string synopsis;
};

// "-o: 1 required TEXT missing" says "-o wants a value".
std::string MismatchText(const std::string& what) {
  const size_t colon = what.find(": ");
  const bool missing = what.size() > 8 && what.compare(what.size() - 8, 8, " missing") == 0;
  return colon != std::string::npos && missing ? what.substr(0, colon) + " wants a value" : what;
}

}  // namespace

const std::vector<Command>& Commands() { return commands; }

const Command* FindCommand(const std::string& name) {
  for (const Command& c : commands)
    if (name == c.name) return &c;
  return nullptr;
}

std::string CommandNames() {
  std::string names;
  for (const Command& c : commands) names += (names.empty() ? "" : ", ") + std::string(c.name);
  return names;
}

CommandLine::CommandLine(const std::string& name)
    : command(*FindCommand(name)), app(command.summary, "mirova " + name) {
  app.formatter(std::make_shared<CommandFormatter>(command.synopsis));
  app.set_help_flag("-h,--help", "Print this help and exit");
  // What no option takes is named by Parse, in our words.
  app.allow_extras();
}

int CommandLine::Parse(const Args& args, std::ostream& out, std::ostream& err) {
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    out << app.help();
    return EXIT_OK;
  } catch (const CLI::ArgumentMismatch& e) {
    return Refuse(MismatchText(e.what()), err);
  } catch (const CLI::ParseError& e) {
    return Refuse(e.what(), err);
  }
  for (const std::string& extra : app.remaining()) {
    if (extra == "--") continue;
    const bool option = extra.size() > 1 && extra[0] == '-';
    return Refuse((option ? "unknown option " : "unexpected argument ") + extra, err);
  }
  return -1;
}

int CommandLine::Refuse(const std::string& problem, std::ostream& err) const {
  err << "mirova: " << problem << "\n"
      << UsageText(command.synopsis) << "Run \"mirova " << command.name << " --help\" for the options.\n";
  return EXIT_USAGE;
}

std::string ToolHelp() {
  CLI::App app("mirova: the headless host that loads the plug-in and drives it as a user would.\n"
               "Exit status: 0 done, 1 the library refused, 2 a wrong command line or a file that cannot be "
               "opened or written.",
               "mirova");
  app.set_help_flag("-h,--help", "Print this help and exit");
  app.add_flag("--version", "Print the tool's version and the plug-in's version word");
  for (const Command& c : commands) app.add_subcommand(c.name, c.summary);
  app.footer("Run \"mirova help COMMAND\" or \"mirova COMMAND --help\" for a command's options.");
  app.formatter(std::make_shared<CommandFormatter>("mirova COMMAND [OPTIONS]\nmirova help [COMMAND]\n"
                                                   "mirova --version"));
  return app.help();
}

}  // namespace cli
