// Pictures (view, panel) written as PNG files by the command line's one
// output-file policy (output_file.h).
#ifndef MIROVA_CLI_PICTURE_FILE_H
#define MIROVA_CLI_PICTURE_FILE_H
#include <headless_gdi.h>

#include <ostream>
#include <string>

namespace cli {

// Writes the picture as a PNG to path, whole or not at all, as an
// OutputFile does; "-" is standard output, unless that is a terminal. The
// exit status: EXIT_OK; EXIT_USAGE, with "mirova: cannot write PATH:
// reason" on err, when it cannot be written; EXIT_REFUSED when the picture
// cannot be encoded.
int WritePicture(const headless::Image& picture, const std::string& path, std::ostream& err);

}  // namespace cli

#endif
