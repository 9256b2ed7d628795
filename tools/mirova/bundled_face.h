// What mirova face, view and panel share: the example face built into the
// program, and the --fps option.
#ifndef MIROVA_CLI_BUNDLED_FACE_H
#define MIROVA_CLI_BUNDLED_FACE_H
#include <string>

#include "obj_file.h"

namespace cli {

// The example face (examples/face/neutral.obj as the program was built),
// read as ReadObj reads a file.
bool ReadBuiltInFace(ObjMesh& mesh, std::string* error);

// A whole number of frames a second from 1 to 4800.
bool ParseFps(const std::string& s, int& fps);

}  // namespace cli

#endif
