// What mirova face and mirova view share: the bundled example face and the
// --fps option.
#ifndef MIROVA_CLI_BUNDLED_FACE_H
#define MIROVA_CLI_BUNDLED_FACE_H
#include <string>

namespace cli {

extern const char bundledNeutral[];

// The example face that ships with the sources, or "" when it is not found.
std::string FindBundledNeutral();

// A whole number of frames a second from 1 to 4800.
bool ParseFps(const std::string& s, int& fps);

}  // namespace cli

#endif
