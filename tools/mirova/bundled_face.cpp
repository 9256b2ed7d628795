#include "bundled_face.h"

#include <cstddef>

// Generated at build time from examples/face/neutral.obj (embed_text.cmake).
extern const char mirova_built_in_neutral[];
extern const std::size_t mirova_built_in_neutral_size;

namespace cli {

bool ReadBuiltInFace(ObjMesh& mesh, std::string* error) {
  const std::string text(mirova_built_in_neutral, mirova_built_in_neutral_size);
  return ReadObjText("the built-in face", text, mesh, error);
}

bool ReadNeutral(const std::string& path, ObjMesh& mesh, std::string* error) {
  return path.empty() ? ReadBuiltInFace(mesh, error) : ReadObj(path, mesh, error);
}

}  // namespace cli
