#include "bundled_face.h"

#include <cstddef>

#include "channels.h"

// Generated at build time from examples/face/*.obj (embed_text.cmake).
#define MIROVA_BUILT_IN(name)                  \
  extern const char mirova_built_in_##name[];  \
  extern const std::size_t mirova_built_in_##name##_size;
MIROVA_BUILT_IN(neutral)
MIROVA_BUILT_IN(open)
MIROVA_BUILT_IN(puckered)
MIROVA_BUILT_IN(left_eyelid)
MIROVA_BUILT_IN(left_eyebrow)
MIROVA_BUILT_IN(left_cheek)
MIROVA_BUILT_IN(frown)
MIROVA_BUILT_IN(left_squint)
MIROVA_BUILT_IN(right_eyelid)
MIROVA_BUILT_IN(right_eyebrow)
MIROVA_BUILT_IN(right_cheek)
MIROVA_BUILT_IN(right_squint)
#undef MIROVA_BUILT_IN

namespace cli {

namespace {

struct Shape {
  const char* text;
  const std::size_t& size;
};

// In target order: the Neutral, then open ... right-squint.
#define MIROVA_SHAPE(name) {mirova_built_in_##name, mirova_built_in_##name##_size}
const Shape shapes[NUM_FACE_TARGETS] = {
    MIROVA_SHAPE(neutral),      MIROVA_SHAPE(open),          MIROVA_SHAPE(puckered),     MIROVA_SHAPE(left_eyelid),
    MIROVA_SHAPE(left_eyebrow), MIROVA_SHAPE(left_cheek),    MIROVA_SHAPE(frown),        MIROVA_SHAPE(left_squint),
    MIROVA_SHAPE(right_eyelid), MIROVA_SHAPE(right_eyebrow), MIROVA_SHAPE(right_cheek),  MIROVA_SHAPE(right_squint),
};
#undef MIROVA_SHAPE

}  // namespace

bool ReadBuiltInShape(int target, ObjMesh& mesh, std::string* error) {
  const Shape& shape = shapes[target];
  const std::string name = target == TARGET_NEUTRAL ? "the built-in face" : "the built-in face's target";
  return ReadObjText(name, std::string(shape.text, shape.size), mesh, error);
}

bool ReadBuiltInFace(ObjMesh& mesh, std::string* error) { return ReadBuiltInShape(TARGET_NEUTRAL, mesh, error); }

bool ReadNeutral(const std::string& path, ObjMesh& mesh, std::string* error) {
  return path.empty() ? ReadBuiltInFace(mesh, error) : ReadObj(path, mesh, error);
}

}  // namespace cli
