// The lines of an OBJ file a mesh keeps besides its data (mtllib, usemtl, g,
// o, s), and what they say of its polygons.
#ifndef MIROVA_CLI_OBJ_LINES_H
#define MIROVA_CLI_OBJ_LINES_H
#include <string>
#include <vector>

#include "obj_file.h"

namespace cli {

// The mtllib, usemtl, g, o and s lines of text (checked by CheckObjLines), as
// read, each with what came before it. A polygon is counted as the parser
// keeps one: an f line of three corners or more.
std::vector<ObjLine> KeptObjLines(const std::string& text);

// What a kept line says after its keyword, blanks around it left out.
std::string ObjLineValue(const ObjLine& line);

// A polygon's smoothing group before any s line: smooth, as a face that
// says nothing of its edges is meant to look.
constexpr long long kSmoothByDefault = -1;

// What the kept lines say of each polygon of mesh.
struct PolygonStyles {
  std::vector<std::string> materialNames;  // as usemtl names them, in order of first use
  std::vector<int> material;               // per polygon: into materialNames, -1 before any usemtl
  std::vector<long long> smoothing;        // per polygon: s N gives N, s off 0 (flat)
};
PolygonStyles StylesOf(const ObjMesh& mesh);

}  // namespace cli

#endif
