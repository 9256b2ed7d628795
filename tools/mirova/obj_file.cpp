// OBJ files read through tinyobjloader and written by hand.
#include "obj_file.h"

#include <tiny_obj_loader.h>
#include <triobj.h>

#include <cstdio>

#include "obj_text.h"

namespace cli {

namespace {

// A UTF-8 byte-order mark, which the parser would take for part of the first
// line's keyword and so lose that line.
const char kByteOrderMark[] = "\xEF\xBB\xBF";

// The faces of every shape into mesh.polygons; false when one names a point
// mesh.points lacks (a guard: CheckObjLines refuses such a file first).
bool TakePolygons(const std::vector<tinyobj::shape_t>& shapes, ObjMesh& mesh) {
  mesh.polygons.clear();
  for (const tinyobj::shape_t& shape : shapes) {
    size_t next = 0;
    for (unsigned int corners : shape.mesh.num_face_vertices) {
      std::vector<int> polygon;
      for (unsigned int c = 0; c < corners; ++c) {
        const int index = shape.mesh.indices[next + c].vertex_index;
        if (index < 0 || static_cast<size_t>(index) >= mesh.points.size()) return false;
        polygon.push_back(index);
      }
      next += corners;
      mesh.polygons.push_back(polygon);
    }
  }
  return true;
}

// Parses text whose bytes passed CheckObjBytes.
bool ParseObjText(const std::string& path, const std::string& text, ObjMesh& mesh, std::string* error) {
  if (text.compare(0, 3, kByteOrderMark) == 0) return ParseObjText(path, text.substr(3), mesh, error);
  if (!CheckObjLines(path, text, error)) return false;
  tinyobj::ObjReaderConfig config;
  config.triangulate = false;  // the faces are written back as they came
  config.vertex_color = false;
  tinyobj::ObjReader reader;
  if (!reader.ParseFromString(text, "", config)) {
    std::string why = reader.Error();
    while (!why.empty() && why.back() == '\n') why.pop_back();
    if (error) *error = path + ": " + (why.empty() ? "cannot read" : why);
    return false;
  }
  const std::vector<tinyobj::real_t>& v = reader.GetAttrib().vertices;
  mesh.points.clear();
  for (size_t i = 0; i + 2 < v.size(); i += 3) mesh.points.emplace_back(v[i], v[i + 1], v[i + 2]);
  if (TakePolygons(reader.GetShapes(), mesh)) return true;
  if (error) *error = path + ": a face names a point the file does not have";
  return false;
}

}  // namespace

bool ReadObj(const std::string& path, ObjMesh& mesh, std::string* error) {
  std::string text;
  return ReadObjFileText(path, text, error) && ParseObjText(path, text, mesh, error);
}

bool ReadObjText(const std::string& path, const std::string& text, ObjMesh& mesh, std::string* error) {
  return CheckObjBytes(path, text, error) && ParseObjText(path, text, mesh, error);
}

void WriteObj(std::ostream& out, const ObjMesh& mesh) {
  out << "# made by mirova morph\n";
  char line[96];
  for (const Point3& p : mesh.points) {
    std::snprintf(line, sizeof line, "v %.9g %.9g %.9g\n", static_cast<double>(p.x), static_cast<double>(p.y),
                  static_cast<double>(p.z));
    out << line;
  }
  for (const std::vector<int>& polygon : mesh.polygons) {
    out << "f";
    for (int index : polygon) out << " " << index + 1;
    out << "\n";
  }
}

TriObject* MakeTriObject(const ObjMesh& obj) {
  TriObject* tri = CreateNewTriObject();
  Mesh& mesh = tri->GetMesh();
  mesh.setNumVerts(static_cast<int>(obj.points.size()));
  for (size_t i = 0; i < obj.points.size(); ++i) mesh.setVert(static_cast<int>(i), obj.points[i]);
  int triangles = 0;
  for (const std::vector<int>& polygon : obj.polygons)
    triangles += polygon.size() >= 3 ? static_cast<int>(polygon.size()) - 2 : 0;
  mesh.setNumFaces(triangles);
  int f = 0;
  for (const std::vector<int>& polygon : obj.polygons)
    for (size_t c = 2; c < polygon.size(); ++c) mesh.faces[f++].setVerts(polygon[0], polygon[c - 1], polygon[c]);
  return tri;
}

}  // namespace cli
