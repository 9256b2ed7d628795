// mirova inspect FILE: what the library's readers make of a recorded file,
// chosen by its extension (.asc motion take, .trc tracker recording).
#include <max.h>

#include <cstdio>

#include "cli.h"
#include "command_line.h"
#include "file_names.h"
#include "inspect_formats.h"

namespace cli {

std::string FileNameOf(const std::string& path) {
  TSTR full(path.c_str()), file;
  SplitPathFile(full, nullptr, &file);
  return file.data();
}

int RunInspect(const Args& args, std::ostream& out, std::ostream& err) {
  std::string path;
  bool raw = false;
  CommandLine line("inspect");
  line.App()
      .add_option("FILE", path, "A motion-control take (.asc) or a tracker recording (.trc)")
      ->required()
      ->type_name("");
  line.App().add_flag("--raw", raw, "A recording's positions as read, not stabilised against nose_bridge");
  const int parsed = line.Parse(args, out, err);
  if (parsed >= 0) return parsed;
  const bool tracker = HasExtension(path, ".trc");
  if (!tracker && !HasExtension(path, ".asc")) return line.Refuse("FILE must end in .asc or .trc: " + path, err);
  if (raw && !tracker) return line.Refuse("--raw is for a tracker recording (.trc)", err);
  // Opened as the utility and the Face Tracker rollup open it.
  FILE* stream = std::fopen(path.c_str(), "rt");
  if (!stream) {
    err << "mirova: cannot open " << path << "\n";
    return EXIT_USAGE;
  }
  int status = tracker ? InspectTrackerFile(path, stream, raw, out, err)
                       : InspectMotionFile(path, stream, out, err);
  std::fclose(stream);
  return status;
}

}  // namespace cli
