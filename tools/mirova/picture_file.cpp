// PNG pictures: encoded in memory by the stand-in, committed like every
// other output file.
#include "picture_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli.h"
#include "output_file.h"

namespace cli {

namespace {

// A picture is nothing a terminal can show, and its bytes would garble it.
int WriteToStandardOutput(const std::string& png, std::ostream& err) {
  if (isatty(STDOUT_FILENO)) {
    err << "mirova: -o -: standard output is a terminal; a PNG picture goes to a file or a pipe\n";
    return EXIT_USAGE;
  }
  if (std::fwrite(png.data(), 1, png.size(), stdout) != png.size() || std::fflush(stdout) != 0) {
    err << "mirova: cannot write standard output: " << std::strerror(errno) << "\n";
    return EXIT_USAGE;
  }
  return EXIT_OK;
}

}  // namespace

int WritePicture(const headless::Image& picture, const std::string& path, std::ostream& err) {
  std::string png, problem;
  if (!headless::EncodePng(picture, &png, &problem)) {
    err << "mirova: " << path << ": " << problem << "\n";
    return EXIT_REFUSED;
  }
  if (path == "-") return WriteToStandardOutput(png, err);
  OutputFile file(path);
  file.Stream().write(png.data(), static_cast<std::streamsize>(png.size()));
  return file.Commit(err) ? EXIT_OK : EXIT_USAGE;
}

}  // namespace cli
