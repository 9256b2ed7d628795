// The readers behind mirova inspect, one per recorded format.
#ifndef MIROVA_CLI_INSPECT_FORMATS_H
#define MIROVA_CLI_INSPECT_FORMATS_H
#include <cstdio>
#include <ostream>
#include <string>

#include "file_names.h"

namespace cli {

// Reads a motion-control take from stream (opened from path) and reports the
// record and the messages as JSON, and where the file went wrong on err: 0
// when the reader succeeded, 1 when it failed.
int InspectMotionFile(const std::string& path, FILE* stream, std::ostream& out,
                      std::ostream& err);

// Reads a tracker recording from stream (opened from path) as the Face
// Tracker rollup does, stabilised unless raw, and reports the record and the
// messages as JSON, and where the file went wrong on err: 0 when no message
// was shown, 1 when one reported a fault in the file.
int InspectTrackerFile(const std::string& path, FILE* stream, bool raw, std::ostream& out,
                       std::ostream& err);

}  // namespace cli

#endif
