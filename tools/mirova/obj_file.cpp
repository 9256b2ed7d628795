// OBJ files read through tinyobjloader and written by hand.
#include "obj_file.h"

#include <tiny_obj_loader.h>
#include <triobj.h>

#include <cstdio>
#include <fstream>

namespace cli {

bool ReadObj(const std::string& path, ObjMesh& mesh, std::string* error) {
  tinyobj::ObjReaderConfig config;
  config.triangulate = false;  // the faces are written back as they came
  config.vertex_color = false;
  tinyobj::ObjReader reader;
  if (!reader.ParseFromFile(path, config)) {
    std::string why = reader.Error();
    while (!why.empty() && why.back() == '\n') why.pop_back();
    if (error) *error = path + ": " + (why.empty() ? "cannot read" : why);
    return false;
  }
  const std::vector<tinyobj::real_t>& v = reader.GetAttrib().vertices;
  mesh.points.clear();
  for (size_t i = 0; i + 2 < v.size(); i += 3) mesh.points.emplace_back(v[i], v[i + 1], v[i + 2]);
  mesh.polygons.clear();
  for (const tinyobj::shape_t& shape : reader.GetShapes()) {
    size_t next = 0;
    for (unsigned int corners : shape.mesh.num_face_vertices) {
      std::vector<int> polygon;
      for (unsigned int c = 0; c < corners; ++c) polygon.push_back(shape.mesh.indices[next + c].vertex_index);
      next += corners;
      for (int index : polygon) {
        if (index < 0 || static_cast<size_t>(index) >= mesh.points.size()) {
          if (error) *error = path + ": a face names a point the file does not have";
          return false;
        }
      }
      mesh.polygons.push_back(polygon);
    }
  }
  return true;
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
