#include "bundled_face.h"

#include <max.h>

#include <cstddef>
#include <cstdlib>

// Generated at build time from examples/face/neutral.obj (embed_text.cmake).
extern const char mirova_built_in_neutral[];
extern const std::size_t mirova_built_in_neutral_size;

namespace cli {

bool ReadBuiltInFace(ObjMesh& mesh, std::string* error) {
  const std::string text(mirova_built_in_neutral, mirova_built_in_neutral_size);
  return ReadObjText("the built-in face", text, mesh, error);
}

bool ParseFps(const std::string& s, int& fps) {
  char* end = nullptr;
  const long v = std::strtol(s.c_str(), &end, 10);
  if (s.empty() || *end != '\0' || v < 1 || v > TIME_TICKSPERSEC) return false;
  fps = static_cast<int>(v);
  return true;
}

}  // namespace cli
