#include "obj_lines.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "obj_text.h"

namespace cli {

namespace {

bool IsKept(std::string_view keyword) {
  return keyword == "mtllib" || keyword == "usemtl" || keyword == "g" || keyword == "o" || keyword == "s";
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

size_t CornerCount(std::string_view corners) {
  size_t count = 0;
  for (size_t at = 0; at < corners.size(); ++at)
    count += !IsBlank(corners[at]) && (at == 0 || IsBlank(corners[at - 1]));
  return count;
}

// The smoothing group an s line's value gives: off, 0 and what is no whole
// number turn smoothing off, as the parser reads them.
long long SmoothingGroup(const std::string& value) {
  char* end = nullptr;
  const long long group = std::strtoll(value.c_str(), &end, 10);
  return end != value.c_str() && group > 0 ? group : 0;
}

}  // namespace

std::vector<ObjLine> KeptObjLines(const std::string& text) {
  std::vector<ObjLine> kept;
  ObjLine so_far;
  ForEachObjLine(text, [&](std::string_view line, size_t number) {
    const std::string_view keyword = ObjKeyword(line);
    const std::string_view rest = line.substr(static_cast<size_t>(keyword.data() - line.data()) + keyword.size());
    // The parser takes v, vt, vn and f only with a blank after them.
    if (rest.empty() && !IsKept(keyword)) return true;
    if (keyword == "v") ++so_far.points;
    if (keyword == "vt") ++so_far.texcoords;
    if (keyword == "vn") ++so_far.normals;
    if (keyword == "f" && CornerCount(rest) >= 3) ++so_far.polygons;
    if (IsKept(keyword)) {
      kept.push_back(so_far);
      kept.back().text = std::string(line);
      kept.back().number = number;
    }
    return true;
  });
  return kept;
}

std::string ObjLineValue(const ObjLine& line) {
  const std::string_view keyword = ObjKeyword(line.text);
  const size_t after = static_cast<size_t>(keyword.data() - line.text.data()) + keyword.size();
  const size_t first = line.text.find_first_not_of(" \t", after);
  if (first == std::string::npos) return "";
  return line.text.substr(first, line.text.find_last_not_of(" \t") + 1 - first);
}

PolygonStyles StylesOf(const ObjMesh& mesh) {
  PolygonStyles styles;
  int material = -1;
  long long smoothing = kSmoothByDefault;
  size_t next = 0;
  for (size_t p = 0; p < mesh.polygons.size(); ++p) {
    for (; next < mesh.lines.size() && mesh.lines[next].polygons <= p; ++next) {
      const ObjLine& line = mesh.lines[next];
      const std::string_view keyword = ObjKeyword(line.text);
      if (keyword == "s") smoothing = SmoothingGroup(ObjLineValue(line));
      if (keyword != "usemtl") continue;
      const std::string name = ObjLineValue(line);
      if (name.empty()) {
        material = -1;
        continue;
      }
      const auto known = std::find(styles.materialNames.begin(), styles.materialNames.end(), name);
      material = static_cast<int>(known - styles.materialNames.begin());
      if (known == styles.materialNames.end()) styles.materialNames.push_back(name);
    }
    styles.material.push_back(material);
    styles.smoothing.push_back(smoothing);
  }
  return styles;
}

}  // namespace cli
