// Wavefront OBJ meshes for the command line: positions and polygons only.
#ifndef MIROVA_CLI_OBJ_FILE_H
#define MIROVA_CLI_OBJ_FILE_H
#include <point3.h>

#include <ostream>
#include <string>
#include <vector>

class TriObject;

namespace cli {

struct ObjMesh {
  std::vector<Point3> points;
  std::vector<std::vector<int>> polygons;  // point indices from 0, as in the file
};

// Reads the positions and polygon faces of an OBJ file; false with *error
// ("PATH: why", or "PATH:LINE: why" where a line is at fault) when it cannot
// be read or is no text OBJ mesh (see obj_text.h): reading stops at the
// first byte no text holds and at kMaxObjBytes (256 MiB), and a face corner
// is refused unless it names a vertex the file has. A UTF-8 byte-order mark
// is skipped.
bool ReadObj(const std::string& path, ObjMesh& mesh, std::string* error);
// The same from the file's text; path names it in *error.
bool ReadObjText(const std::string& path, const std::string& text, ObjMesh& mesh, std::string* error);
// Writes positions and polygons (1-based, as OBJ counts).
void WriteObj(std::ostream& out, const ObjMesh& mesh);

// A new mesh object of the points and the polygons cut into triangle fans;
// the caller owns it.
TriObject* MakeTriObject(const ObjMesh& mesh);

}  // namespace cli

#endif
