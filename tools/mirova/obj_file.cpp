// OBJ files read through tinyobjloader and written by hand.
#include "obj_file.h"

#include <tiny_obj_loader.h>
#include <triobj.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace cli {

namespace {

// The whole file; false with *error saying why it cannot be read (a folder
// opens, then fails to read).
bool ReadText(const std::string& path, std::string& text, std::string* error) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    if (error) *error = path + ": " + std::strerror(errno);
    return false;
  }
  char chunk[1 << 16];
  size_t n = 0;
  while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, n);
  const int failure = std::ferror(file) ? errno : 0;
  std::fclose(file);
  if (failure != 0 && error) *error = path + ": " + std::strerror(failure);
  return failure == 0;
}

// A coordinate as the OBJ reader reads it: [+-] digits [. digits]
// [e [+-] digits], with a digit on one side of the point at least.
bool IsDecimal(const std::string& s) {
  size_t i = 0, digits = 0;
  auto skipDigits = [&](size_t& count) {
    for (; i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])); ++i) ++count;
  };
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  skipDigits(digits);
  if (i < s.size() && s[i] == '.') {
    ++i;
    skipDigits(digits);
  }
  if (digits == 0) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t exponent = 0;
    skipDigits(exponent);
    if (exponent == 0) return false;
  }
  return i == s.size();
}

// What is wrong with the coordinates of a vertex line (the text after its
// "v"), or "".
std::string VertexProblem(const std::string& coordinates) {
  std::istringstream fields(coordinates);
  std::string field;
  for (int axis = 0; axis < 3; ++axis) {
    if (!(fields >> field)) return "a vertex needs three coordinates";
    // Past a float's range the reader would give infinity.
    if (!IsDecimal(field) || !std::isfinite(std::strtof(field.c_str(), nullptr)))
      return "vertex coordinate \"" + field + "\" is not a finite number";
  }
  return "";
}

// What is wrong with the line text[at, end), ended by text[end], or "".
std::string LineProblem(const std::string& text, size_t at, size_t end) {
  if (end < text.size() && text[end] == '\0')
    return "holds a zero byte: an OBJ file is plain text (is it UTF-16, or not a mesh?)";
  const size_t first = text.find_first_not_of(" \t", at);
  const bool vertex = first != std::string::npos && first + 1 < end && text[first] == 'v' &&
                      (text[first + 1] == ' ' || text[first + 1] == '\t');
  return vertex ? VertexProblem(text.substr(first + 1, end - first - 1)) : "";
}

// Refuses what the OBJ reader would quietly read as something else: text
// with zero bytes (UTF-16, binary data) and vertices whose coordinates are
// missing or not finite numbers (read as 0 or infinity). Lines end as the
// reader ends them: LF, CR LF or CR.
bool CheckText(const std::string& path, const std::string& text, std::string* error) {
  const std::string lineEnds("\r\n\0", 3);
  size_t line = 1;
  for (size_t at = 0; at < text.size(); ++line) {
    const size_t end = std::min(text.find_first_of(lineEnds, at), text.size());
    const std::string problem = LineProblem(text, at, end);
    if (!problem.empty()) {
      if (error) *error = path + ":" + std::to_string(line) + ": " + problem;
      return false;
    }
    at = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return true;
}

}  // namespace

bool ReadObj(const std::string& path, ObjMesh& mesh, std::string* error) {
  std::string text;
  return ReadText(path, text, error) && ReadObjText(path, text, mesh, error);
}

bool ReadObjText(const std::string& path, const std::string& text, ObjMesh& mesh, std::string* error) {
  if (!CheckText(path, text, error)) return false;
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
  if (v.size() < 3) {
    if (error) *error = path + ": no vertices: not an OBJ mesh";
    return false;
  }
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
