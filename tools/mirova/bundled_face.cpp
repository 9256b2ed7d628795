#include "bundled_face.h"

#include <max.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <fstream>

namespace cli {

const char bundledNeutral[] = "examples/face/neutral.obj";

// Looked for above the program's own folder (the build tree lives inside
// the source tree).
std::string FindBundledNeutral() {
  char self[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  if (length <= 0) return "";
  std::string dir(self, static_cast<size_t>(length));
  for (int up = 0; up < 5; ++up) {
    const size_t slash = dir.rfind('/');
    if (slash == std::string::npos) break;
    dir.erase(slash);
    const std::string candidate = dir + "/" + bundledNeutral;
    if (std::ifstream(candidate).good()) return candidate;
  }
  return "";
}

bool ParseFps(const std::string& s, int& fps) {
  char* end = nullptr;
  const long v = std::strtol(s.c_str(), &end, 10);
  if (s.empty() || *end != '\0' || v < 1 || v > TIME_TICKSPERSEC) return false;
  fps = static_cast<int>(v);
  return true;
}

}  // namespace cli
