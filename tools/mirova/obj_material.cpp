#include "obj_material.h"

#include <tiny_obj_loader.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>

#include "obj_lines.h"
#include "obj_text.h"

namespace cli {

namespace {

namespace fs = std::filesystem;

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  return first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(" \t") + 1 - first);
}

// A path as a file names it: Windows writers separate folders with '\'.
fs::path FilePath(std::string name) {
  std::replace(name.begin(), name.end(), '\\', '/');
  return fs::path(name);
}

// The libraries an mtllib line names, as paths from the OBJ's folder: its
// whole value when that is a file (a name may hold blanks), else each word.
std::vector<fs::path> LibraryPaths(const fs::path& folder, const ObjLine& line) {
  const std::string value = ObjLineValue(line);
  std::error_code failed;
  if (fs::is_regular_file(folder / FilePath(value), failed)) return {folder / FilePath(value)};
  std::vector<fs::path> paths;
  std::istringstream words(value);
  for (std::string word; words >> word;) paths.push_back(folder / FilePath(word));
  return paths;
}

ObjMaterial MaterialOf(const tinyobj::material_t& read, const fs::path& folder) {
  ObjMaterial material;
  material.name = Trimmed(read.name);
  std::copy(read.diffuse, read.diffuse + 3, material.color);
  material.color[3] = read.dissolve;
  if (!read.diffuse_texname.empty())
    material.texture = (folder / FilePath(read.diffuse_texname)).lexically_normal().generic_string();
  return material;
}

bool Defines(const ObjMesh& mesh, const std::string& name) {
  return std::any_of(mesh.materials.begin(), mesh.materials.end(),
                     [&](const ObjMaterial& m) { return m.name == name; });
}

// Adds the library's materials; false, with *problem, when it cannot be
// read. The file's text names it, so a device or a pipe, which might never
// end, is not opened.
bool ReadLibrary(const fs::path& path, ObjMesh& mesh, std::string* problem) {
  std::error_code failed;
  if (fs::exists(path, failed) && !fs::is_regular_file(path, failed)) {
    *problem = path.string() + ": not a file";
    return false;
  }
  std::string text;
  if (!ReadObjFileText(path.string(), text, problem)) return false;
  std::map<std::string, int> names;
  std::vector<tinyobj::material_t> read;
  std::istringstream stream(text);
  std::string warning, error;
  tinyobj::LoadMtl(&names, &read, &stream, &warning, &error);
  for (const tinyobj::material_t& material : read)
    if (!Defines(mesh, Trimmed(material.name))) mesh.materials.push_back(MaterialOf(material, path.parent_path()));
  return true;
}

std::string Where(const std::string& objPath, const ObjLine& line) {
  return objPath + ":" + std::to_string(line.number) + ": ";
}

}  // namespace

void ReadMaterialLibraries(const std::string& objPath, ObjMesh& mesh) {
  const fs::path folder = fs::path(objPath).parent_path();
  bool allRead = true;
  for (const ObjLine& line : mesh.lines) {
    if (ObjKeyword(line.text) != "mtllib") continue;
    for (const fs::path& library : LibraryPaths(folder, line)) {
      std::string problem;
      if (ReadLibrary(library, mesh, &problem)) continue;
      mesh.warnings.push_back(Where(objPath, line) + "the material library cannot be read (" + problem +
                              "); its materials are written by name only");
      allRead = false;
    }
  }
  // Where a library is missing, its materials are said missing once.
  std::vector<std::string> said;
  for (const ObjLine& line : mesh.lines) {
    const std::string name = ObjLineValue(line);
    if (!allRead || ObjKeyword(line.text) != "usemtl" || name.empty() || Defines(mesh, name) ||
        std::find(said.begin(), said.end(), name) != said.end())
      continue;
    said.push_back(name);
    mesh.warnings.push_back(Where(objPath, line) + "no material library defines \"" + name +
                            "\"; it is written by name only");
  }
}

}  // namespace cli
