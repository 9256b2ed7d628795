// What the scene file's writer and reader share (internal to the headless stand-in).
#ifndef HEADLESS_SCENE_FORMAT_H
#define HEADLESS_SCENE_FORMAT_H
#include <maxtypes.h>

#include <string>

namespace headless::detail {

// The kind of value a controller record carries, by the controller's super
// class.
enum class ValueKind { Float, Position, Rotation, Scale, None, NotAController };
ValueKind KindOfController(SClass_ID superID);
// How many floats a value of the kind has.
inline int ValueSize(ValueKind kind) {
  switch (kind) {
    case ValueKind::Float: return 1;
    case ValueKind::Position: return 3;
    case ValueKind::Rotation: return 4;
    case ValueKind::Scale: return 7;
    default: return 0;
  }
}

// A float with nine significant digits (reads back to the same float).
std::string FormatFloat(float v);
// A name in double quotes with backslash escapes.
std::string Quote(const std::string& s);

}  // namespace headless::detail

#endif
