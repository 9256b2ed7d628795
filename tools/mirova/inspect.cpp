// mirova inspect FILE: what the library's readers make of a recorded file,
// chosen by its extension (.asc motion take, .trc tracker recording).
#include <max.h>

#include <cstdio>

#include "commands.h"
#include "file_names.h"
#include "inspect_formats.h"

namespace cli {

namespace {

class InspectCommand : public Command {
 public:
  void Define(CLI::App& app) override {
    app.add_option("FILE", path, "A motion-control take (.asc) or a tracker recording (.trc)")
        ->required()
        ->type_name("FILE.asc|FILE.trc");
    app.add_flag("--raw", raw, "A recording's positions as read, not stabilised against nose_bridge");
  }

  std::string Check() override {
    tracker = HasExtension(path, ".trc");
    if (!tracker && !HasExtension(path, ".asc")) return "FILE must end in .asc or .trc: " + path;
    if (raw && !tracker) return "--raw is for a tracker recording (.trc)";
    return "";
  }

  std::vector<std::string> Inputs() const override { return {path}; }

  int Run(std::ostream& out, std::ostream& err) override {
    // Opened as the utility and the Face Tracker rollup open it.
    FILE* stream = std::fopen(path.c_str(), "rt");
    if (!stream) {
      err << "mirova: cannot open " << path << "\n";
      return EXIT_USAGE;
    }
    const int status = tracker ? InspectTrackerFile(path, stream, raw, out, err)
                               : InspectMotionFile(path, stream, out, err);
    std::fclose(stream);
    return status;
  }

 private:
  std::string path;
  bool raw = false, tracker = false;
};

}  // namespace

std::unique_ptr<Command> MakeInspectCommand() { return std::make_unique<InspectCommand>(); }

}  // namespace cli
