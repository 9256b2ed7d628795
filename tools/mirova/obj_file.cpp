// OBJ files read through tinyobjloader and written by hand.
#include "obj_file.h"

#include <tiny_obj_loader.h>
#include <triobj.h>

#include <algorithm>
#include <cstdio>
#include <initializer_list>

#include "obj_lines.h"
#include "obj_material.h"
#include "obj_text.h"

namespace cli {

namespace {

// A UTF-8 byte-order mark, which the parser would take for part of the first
// line's keyword and so lose that line.
const char kByteOrderMark[] = "\xEF\xBB\xBF";

// An index the parser gives for a corner, from 0 (-1 for none), checked
// against count: CheckObjLines refuses a file whose corner names what it
// lacks, and this guards the mesh all the same.
bool TakeIndex(int index, size_t count, bool optional, std::vector<int>& into) {
  into.push_back(index);
  return (optional && index == -1) || (index >= 0 && static_cast<size_t>(index) < count);
}

// The faces of every shape, in the order of the file, into mesh.polygons
// and their texture and normal indices; false when one names what the file
// lacks.
bool TakePolygons(const tinyobj::ObjReader& reader, ObjMesh& mesh) {
  for (const tinyobj::shape_t& shape : reader.GetShapes()) {
    size_t next = 0;
    for (unsigned int corners : shape.mesh.num_face_vertices) {
      std::vector<int> polygon, texcoords, normals;
      for (unsigned int c = 0; c < corners; ++c) {
        const tinyobj::index_t& corner = shape.mesh.indices[next + c];
        if (!TakeIndex(corner.vertex_index, mesh.points.size(), false, polygon) ||
            !TakeIndex(corner.texcoord_index, mesh.texcoords.size(), true, texcoords) ||
            !TakeIndex(corner.normal_index, mesh.normals.size(), true, normals))
          return false;
      }
      next += corners;
      mesh.polygons.push_back(polygon);
      mesh.texcoordIndices.push_back(texcoords);
      mesh.normalIndices.push_back(normals);
    }
  }
  return true;
}

// The points, texture coordinates and normals the parser read.
void TakeAttributes(const tinyobj::attrib_t& attributes, ObjMesh& mesh) {
  const std::vector<tinyobj::real_t>& v = attributes.vertices;
  for (size_t i = 0; i + 2 < v.size(); i += 3) mesh.points.emplace_back(v[i], v[i + 1], v[i + 2]);
  const std::vector<tinyobj::real_t>& vt = attributes.texcoords;
  for (size_t i = 0; i + 1 < vt.size(); i += 2) mesh.texcoords.push_back({vt[i], vt[i + 1]});
  const std::vector<tinyobj::real_t>& vn = attributes.normals;
  for (size_t i = 0; i + 2 < vn.size(); i += 3) mesh.normals.emplace_back(vn[i], vn[i + 1], vn[i + 2]);
}

// Parses text whose bytes passed CheckObjBytes.
bool ParseObjText(const std::string& path, const std::string& text, ObjMesh& mesh, std::string* error) {
  if (text.compare(0, 3, kByteOrderMark) == 0) return ParseObjText(path, text.substr(3), mesh, error);
  if (!CheckObjLines(path, text, error)) return false;
  tinyobj::ObjReaderConfig config;
  config.triangulate = false;  // the faces are written back as they came
  config.vertex_color = false;
  tinyobj::ObjReader reader;
  // The material libraries are read apart, from where the file is.
  if (!reader.ParseFromString(text, "", config)) {
    std::string why = reader.Error();
    while (!why.empty() && why.back() == '\n') why.pop_back();
    if (error) *error = path + ": " + (why.empty() ? "cannot read" : why);
    return false;
  }
  mesh = ObjMesh();
  TakeAttributes(reader.GetAttrib(), mesh);
  mesh.lines = KeptObjLines(text);
  if (TakePolygons(reader, mesh)) return true;
  if (error) *error = path + ": a face names a point, texture coordinate or normal the file does not have";
  return false;
}

// A corner as the file wrote it: v, v/vt, v//vn or v/vt/vn, counted from 1.
void WriteCorner(std::ostream& out, int point, int texcoord, int normal) {
  out << ' ' << point + 1;
  if (texcoord >= 0 || normal >= 0) out << '/';
  if (texcoord >= 0) out << texcoord + 1;
  if (normal >= 0) out << '/' << normal + 1;
}

void WriteCoordinates(std::ostream& out, const char* keyword, std::initializer_list<float> values) {
  char number[32];
  out << keyword;
  for (float value : values) {
    std::snprintf(number, sizeof number, " %.9g", static_cast<double>(value));
    out << number;
  }
  out << "\n";
}

void WritePoint(std::ostream& out, const char* keyword, const Point3& p) {
  WriteCoordinates(out, keyword, {p.x, p.y, p.z});
}

// Writes mesh's elements from *written up to the counts in upTo.
void WriteUpTo(std::ostream& out, const ObjMesh& mesh, const ObjLine& upTo, ObjLine& written) {
  for (; written.points < std::min(upTo.points, mesh.points.size()); ++written.points)
    WritePoint(out, "v", mesh.points[written.points]);
  for (; written.texcoords < std::min(upTo.texcoords, mesh.texcoords.size()); ++written.texcoords)
    WriteCoordinates(out, "vt", {mesh.texcoords[written.texcoords].u, mesh.texcoords[written.texcoords].v});
  for (; written.normals < std::min(upTo.normals, mesh.normals.size()); ++written.normals)
    WritePoint(out, "vn", mesh.normals[written.normals]);
  for (; written.polygons < std::min(upTo.polygons, mesh.polygons.size()); ++written.polygons) {
    const size_t p = written.polygons;
    out << "f";
    for (size_t c = 0; c < mesh.polygons[p].size(); ++c)
      WriteCorner(out, mesh.polygons[p][c], mesh.texcoordIndices[p][c], mesh.normalIndices[p][c]);
    out << "\n";
  }
}

}  // namespace

bool ReadObj(const std::string& path, ObjMesh& mesh, std::string* error) {
  std::string text;
  if (!ReadObjFileText(path, text, error) || !ParseObjText(path, text, mesh, error)) return false;
  ReadMaterialLibraries(path, mesh);
  return true;
}

bool ReadObjText(const std::string& path, const std::string& text, ObjMesh& mesh, std::string* error) {
  return CheckObjBytes(path, text, error) && ParseObjText(path, text, mesh, error);
}

void WriteObj(std::ostream& out, const ObjMesh& mesh) {
  out << "# made by mirova morph\n";
  ObjLine written;
  for (const ObjLine& line : mesh.lines) {
    WriteUpTo(out, mesh, line, written);
    out << line.text << "\n";
  }
  const size_t all = ~size_t(0);
  WriteUpTo(out, mesh, ObjLine{"", 0, all, all, all, all}, written);
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
