// mirova inspect FILE: what the library's readers make of a recorded file,
// chosen by its extension (.asc motion take, .trc tracker recording).
#include <max.h>

#include <cstdio>

#include "cli.h"
#include "file_names.h"
#include "inspect_formats.h"

namespace cli {

std::string FileNameOf(const std::string& path) {
  TSTR full(path.c_str()), file;
  SplitPathFile(full, nullptr, &file);
  return file.data();
}

int RunInspect(const Args& args, std::ostream& out, std::ostream& err) {
  const bool tracker = !args.empty() && HasExtension(args[0], ".trc");
  const bool raw = tracker && args.size() == 2 && args[1] == "--raw";
  const bool motion = args.size() == 1 && HasExtension(args[0], ".asc");
  if (!motion && !(tracker && (args.size() == 1 || raw))) {
    err << "usage: mirova inspect FILE.asc\n"
           "       mirova inspect FILE.trc [--raw]\n";
    return EXIT_USAGE;
  }
  // Opened as the utility and the Face Tracker rollup open it.
  FILE* stream = std::fopen(args[0].c_str(), "rt");
  if (!stream) {
    err << "mirova: cannot open " << args[0] << "\n";
    return EXIT_USAGE;
  }
  int status = motion ? InspectMotionFile(args[0], stream, out, err)
                      : InspectTrackerFile(args[0], stream, raw, out, err);
  std::fclose(stream);
  return status;
}

}  // namespace cli
