// mirova inspect FILE: what the library's readers make of a recorded file.
#include <max.h>

#include <cstdio>

#include "cli.h"
#include "inspect_formats.h"

namespace cli {

namespace {

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

std::string FileNameOf(const std::string& path) {
  TSTR full(path.c_str()), file;
  SplitPathFile(full, nullptr, &file);
  return file.data();
}

int RunInspect(const Args& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 1 || !EndsWith(Lower(args[0]), ".asc")) {
    err << "usage: mirova inspect FILE.asc\n";
    return EXIT_USAGE;
  }
  // Opened as the utility opens it.
  FILE* stream = std::fopen(args[0].c_str(), "rt");
  if (!stream) {
    err << "mirova: cannot open " << args[0] << "\n";
    return EXIT_USAGE;
  }
  int status = InspectMotionFile(FileNameOf(args[0]), stream, out, err);
  std::fclose(stream);
  return status;
}

}  // namespace cli
