// The example face and its eleven targets built into the program, so that
// the commands with a default face work from any folder and from an
// installed copy.
#ifndef MIROVA_CLI_BUNDLED_FACE_H
#define MIROVA_CLI_BUNDLED_FACE_H
#include <string>

#include "obj_file.h"

namespace cli {

// The example face (examples/face/neutral.obj as the program was built),
// read as ReadObj reads a file.
bool ReadBuiltInFace(ObjMesh& mesh, std::string* error);

// The built-in shape of a target (TARGET_NEUTRAL: the face itself, then
// TARGET_OPEN ... ), examples/face/NAME.obj as the program was built.
bool ReadBuiltInShape(int target, ObjMesh& mesh, std::string* error);

// The Neutral a command was given: the OBJ file at path, or the built-in
// face when path is empty.
bool ReadNeutral(const std::string& path, ObjMesh& mesh, std::string* error);

}  // namespace cli

#endif
