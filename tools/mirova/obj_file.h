// Wavefront OBJ meshes for the command line: positions and polygons, and
// what else a face modelled elsewhere brings (texture coordinates, normals,
// the material and group lines, the materials), kept to be written back.
#ifndef MIROVA_CLI_OBJ_FILE_H
#define MIROVA_CLI_OBJ_FILE_H
#include <point3.h>

#include <ostream>
#include <string>
#include <vector>

class TriObject;

namespace cli {

struct ObjTexcoord {
  float u = 0.0f, v = 0.0f;  // as the file holds them: v up from the image's bottom
};

// A line kept as read (mtllib, usemtl, g, o, s), and where it stood: after
// that many points, texture coordinates, normals and polygons.
struct ObjLine {
  std::string text;
  size_t number = 0;  // in the file, from 1
  size_t points = 0, texcoords = 0, normals = 0, polygons = 0;
};

// A material a library that mtllib names defines.
struct ObjMaterial {
  std::string name;
  float color[4] = {1.0f, 1.0f, 1.0f, 1.0f};  // Kd and d (opacity), fractions
  std::string texture;  // map_Kd as a path from where the OBJ was opened, "" for none
};

struct ObjMesh {
  std::vector<Point3> points;
  std::vector<std::vector<int>> polygons;  // point indices from 0, as in the file
  std::vector<ObjTexcoord> texcoords;
  std::vector<Point3> normals;             // as the file holds them, not made unit
  // For each polygon, per corner, the texture coordinate and the normal it
  // names (from 0), -1 where it names none.
  std::vector<std::vector<int>> texcoordIndices, normalIndices;
  std::vector<ObjLine> lines;
  std::vector<ObjMaterial> materials;
  // What was read with a fault that loses nothing, "PATH:LINE: why" (a
  // material library that cannot be read), for the user to hear.
  std::vector<std::string> warnings;
};

// Reads an OBJ file and the material libraries its mtllib lines name
// (relative to its folder); false with *error ("PATH: why", or
// "PATH:LINE: why" where a line is at fault) when it cannot be read or is no
// text OBJ mesh (see obj_text.h): reading stops at the first byte no text
// holds and at kMaxObjBytes (256 MiB), and a face corner is refused unless
// it names a vertex, texture coordinate and normal the file has. A UTF-8
// byte-order mark is skipped.
bool ReadObj(const std::string& path, ObjMesh& mesh, std::string* error);
// The same from the file's text, without material libraries; path names it
// in *error.
bool ReadObjText(const std::string& path, const std::string& text, ObjMesh& mesh, std::string* error);
// Writes the points, texture coordinates, normals and polygons (1-based, as
// OBJ counts, each corner in the form read), with the kept lines where they
// stood.
void WriteObj(std::ostream& out, const ObjMesh& mesh);

// A new mesh object of the points and the polygons cut into triangle fans;
// the caller owns it.
TriObject* MakeTriObject(const ObjMesh& mesh);

}  // namespace cli

#endif
