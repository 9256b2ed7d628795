// OBJ text checks: bytes while the file streams in, then lines.
#include "obj_text.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string_view>

namespace cli {

namespace {

bool Refuse(const std::string& path, size_t line, const std::string& problem, std::string* error) {
  if (error) *error = path + (line > 0 ? ":" + std::to_string(line) : "") + ": " + problem;
  return false;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsTextByte(unsigned char c) { return c >= 0x20 ? c != 0x7f : c >= '\t' && c <= '\r'; }

size_t FirstNonTextByte(const char* bytes, size_t count) {
  size_t i = 0;
  while (i < count && IsTextByte(static_cast<unsigned char>(bytes[i]))) ++i;
  return i;
}

std::string ByteProblem(unsigned char c) {
  if (c == 0) return "holds a zero byte: an OBJ file is plain text (is it UTF-16, or not a mesh?)";
  char hex[8];
  std::snprintf(hex, sizeof hex, "0x%02x", c);
  return std::string("holds control byte ") + hex + ": an OBJ file is plain text (is it a mesh?)";
}

// The line of text[at] as an editor counts it: LF, CR LF and CR each end one.
size_t LineOf(const std::string& text, size_t at) {
  size_t line = 1;
  for (size_t i = 0; i < at; ++i)
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) ++line;
  return line;
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

// What is wrong with the coordinates of a v, vt or vn line (the text after
// its keyword), or "": at least `least` finite decimals, of which no more
// than `most` are looked at (a vertex may carry a colour after its three).
std::string CoordinatesProblem(const std::string& coordinates, const char* what, int least, int most,
                               const char* needs) {
  std::istringstream fields(coordinates);
  std::string field;
  int read = 0;
  for (; read < most && fields >> field; ++read) {
    // Past a float's range the reader would give infinity.
    if (!IsDecimal(field) || !std::isfinite(std::strtof(field.c_str(), nullptr)))
      return std::string(what) + " coordinate \"" + field + "\" is not a finite number";
  }
  return read < least ? needs : "";
}

// Far past any count a file of kMaxObjBytes holds, and far from overflowing.
constexpr long long kIndexCap = 1LL << 40;

// An index as written, [+-] digits, its size capped at kIndexCap; false when
// it is no whole number. The parser's own conversion wraps past an int.
bool ParseIndex(std::string_view s, long long& value) {
  const size_t sign = !s.empty() && (s[0] == '+' || s[0] == '-') ? 1 : 0;
  if (sign == s.size()) return false;
  long long size = 0;
  for (size_t i = sign; i < s.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(s[i]))) return false;
    size = std::min(size * 10 + (s[i] - '0'), kIndexCap);
  }
  value = s[0] == '-' ? -size : size;
  return true;
}

// What a face corner names: v, vt and vn, in the order a corner writes them.
enum CornerPart { kVertex, kTexture, kNormal, kCornerParts };
const char* const kPartName[kCornerParts] = {"vertex", "texture coordinate", "normal"};

// What is wrong with a face corner whose line follows before[part] vertices,
// texture coordinates and normals, or ""; index[part] is each index as
// written, 0 where the corner names none.
std::string CornerProblem(std::string_view corner, const size_t before[kCornerParts],
                          long long index[kCornerParts]) {
  auto problem = [&](const std::string& what) { return "face corner \"" + std::string(corner) + "\" " + what; };
  // The parts between slashes: v, then vt and vn, of which "v//vn" leaves vt out.
  for (size_t part = 0, start = 0;; ++part) {
    const size_t slash = std::min(corner.find('/', start), corner.size());
    const std::string_view text = corner.substr(start, slash - start);
    const bool noTexture = part == kTexture && text.empty() && slash < corner.size();
    if (part == kCornerParts || (!noTexture && !ParseIndex(text, index[part])))
      return problem("is not v, v/vt, v//vn or v/vt/vn in whole numbers");
    if (part > kVertex && !noTexture && (index[part] == 0 || std::llabs(index[part]) > INT_MAX))
      return problem("has a texture or normal index of 0 or past an int");
    if (slash == corner.size()) break;
    start = slash + 1;
  }
  if (index[kVertex] == 0) return problem("names vertex 0: OBJ counts them from 1");
  for (int part = kVertex; part < kCornerParts; ++part)
    if (-index[part] > static_cast<long long>(before[part]))
      return problem(std::string("names a ") + kPartName[part] + " the file does not have: " +
                     std::to_string(before[part]) + " come before its line");
  return "";
}

// What the lines so far hold: their vertices, texture coordinates and
// normals, and for each the corner naming the farthest one past its own line
// (a later line may make it good).
struct LinesSoFar {
  size_t counts[kCornerParts] = {};
  long long farthest[kCornerParts] = {};
  size_t farthestLine[kCornerParts] = {};
  std::string farthestCorner[kCornerParts];
};

// What is wrong with the corners of a face line (the text after its "f"), or "".
std::string FaceProblem(std::string_view corners, size_t line, LinesSoFar& lines) {
  for (size_t at = 0; at < corners.size();) {
    if (IsBlank(corners[at])) {
      ++at;
      continue;
    }
    size_t end = at;
    while (end < corners.size() && !IsBlank(corners[end])) ++end;
    const std::string_view corner = corners.substr(at, end - at);
    long long index[kCornerParts] = {};
    const std::string problem = CornerProblem(corner, lines.counts, index);
    if (!problem.empty()) return problem;
    for (int part = kVertex; part < kCornerParts; ++part) {
      if (index[part] > lines.farthest[part] && index[part] > static_cast<long long>(lines.counts[part])) {
        lines.farthest[part] = index[part];
        lines.farthestLine[part] = line;
        lines.farthestCorner[part] = std::string(corner);
      }
    }
    at = end;
  }
  return "";
}

// What is wrong with the line numbered `number`, or "". The parser takes a
// keyword only when a blank follows it.
std::string LineProblem(std::string_view text, size_t number, LinesSoFar& lines) {
  const std::string_view keyword = ObjKeyword(text);
  const size_t after = static_cast<size_t>(keyword.data() - text.data()) + keyword.size();
  if (after >= text.size()) return "";
  const std::string rest(text.substr(after + 1));
  if (keyword == "f") return FaceProblem(rest, number, lines);
  const int part = keyword == "v" ? kVertex : keyword == "vt" ? kTexture : keyword == "vn" ? kNormal : -1;
  if (part < 0) return "";
  ++lines.counts[part];
  if (part == kTexture) return CoordinatesProblem(rest, "texture", 1, 3, "a texture coordinate needs a value");
  return part == kVertex ? CoordinatesProblem(rest, "vertex", 3, 3, "a vertex needs three coordinates")
                         : CoordinatesProblem(rest, "normal", 3, 3, "a normal needs three coordinates");
}

}  // namespace

bool ReadObjFileText(const std::string& path, std::string& text, std::string* error) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return Refuse(path, 0, std::strerror(errno), error);
  std::string problem;
  size_t line = 0;
  char block[1 << 16];
  size_t n = 0;
  while (problem.empty() && (n = std::fread(block, 1, sizeof block, file)) > 0) {
    const size_t room = std::min(n, kMaxObjBytes - text.size());
    const size_t good = FirstNonTextByte(block, room);
    text.append(block, good);
    if (good < room) {
      line = LineOf(text, text.size());
      problem = ByteProblem(static_cast<unsigned char>(block[good]));
    } else if (room < n) {
      problem = "more than " + std::to_string(kMaxObjBytes >> 20) + " MiB: too large for an OBJ face";
    }
  }
  // A folder opens, then fails to read.
  if (problem.empty() && std::ferror(file)) problem = std::strerror(errno);
  std::fclose(file);
  return problem.empty() || Refuse(path, line, problem, error);
}

bool CheckObjBytes(const std::string& path, const std::string& text, std::string* error) {
  const size_t bad = FirstNonTextByte(text.data(), text.size());
  return bad == text.size() ||
         Refuse(path, LineOf(text, bad), ByteProblem(static_cast<unsigned char>(text[bad])), error);
}

std::string_view ObjKeyword(std::string_view line) {
  const size_t first = std::min(line.find_first_not_of(" \t"), line.size());
  const size_t end = std::min(line.find_first_of(" \t", first), line.size());
  return line.substr(first, end - first);
}

bool CheckObjLines(const std::string& path, const std::string& text, std::string* error) {
  LinesSoFar lines;
  std::string problem;
  size_t where = 0;
  ForEachObjLine(text, [&](std::string_view line, size_t number) {
    problem = LineProblem(line, number, lines);
    where = number;
    return problem.empty();
  });
  if (!problem.empty()) return Refuse(path, where, problem, error);
  if (lines.counts[kVertex] == 0) return Refuse(path, 0, "no vertices: not an OBJ mesh", error);
  for (int part = kVertex; part < kCornerParts; ++part) {
    if (lines.farthest[part] <= static_cast<long long>(lines.counts[part])) continue;
    return Refuse(path, lines.farthestLine[part],
                  "face corner \"" + lines.farthestCorner[part] + "\" names a " + kPartName[part] +
                      " the file does not have: it has " + std::to_string(lines.counts[part]),
                  error);
  }
  return true;
}

}  // namespace cli
