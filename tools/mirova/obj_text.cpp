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

// What is wrong with a face corner whose line follows `before` vertices, or
// ""; *vertex is its vertex index as written.
std::string CornerProblem(std::string_view corner, size_t before, long long* vertex) {
  auto problem = [&](const std::string& what) { return "face corner \"" + std::string(corner) + "\" " + what; };
  // The parts between slashes: v, then vt and vn, of which "v//vn" leaves vt out.
  for (size_t part = 0, start = 0;; ++part) {
    const size_t slash = std::min(corner.find('/', start), corner.size());
    const std::string_view text = corner.substr(start, slash - start);
    const bool noTexture = part == 1 && text.empty() && slash < corner.size();
    long long other = 0;
    if (part == 3 || (!noTexture && !ParseIndex(text, part == 0 ? *vertex : other)))
      return problem("is not v, v/vt, v//vn or v/vt/vn in whole numbers");
    if (part > 0 && !noTexture && (other == 0 || std::llabs(other) > INT_MAX))
      return problem("has a texture or normal index of 0 or past an int");
    if (slash == corner.size()) break;
    start = slash + 1;
  }
  if (*vertex == 0) return problem("names vertex 0: OBJ counts them from 1");
  if (-*vertex > static_cast<long long>(before))
    return problem("names a vertex the file does not have: " + std::to_string(before) + " come before its line");
  return "";
}

// What the lines so far hold: their vertices, and the corner naming the
// farthest vertex past its own line (a later vertex line may make it good).
struct LinesSoFar {
  size_t vertices = 0;
  long long farthest = 0;
  size_t farthestLine = 0;
  std::string farthestCorner;
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
    long long vertex = 0;
    const std::string problem = CornerProblem(corner, lines.vertices, &vertex);
    if (!problem.empty()) return problem;
    if (vertex > lines.farthest && vertex > static_cast<long long>(lines.vertices))
      lines = {lines.vertices, vertex, line, std::string(corner)};
    at = end;
  }
  return "";
}

// What is wrong with the line numbered `number`, or "".
std::string LineProblem(std::string_view text, size_t number, LinesSoFar& lines) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos || first + 1 >= text.size() || !IsBlank(text[first + 1])) return "";
  const std::string_view rest = text.substr(first + 2);
  if (text[first] == 'v') {
    ++lines.vertices;
    return VertexProblem(std::string(rest));
  }
  return text[first] == 'f' ? FaceProblem(rest, number, lines) : "";
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

bool CheckObjLines(const std::string& path, const std::string& text, std::string* error) {
  LinesSoFar lines;
  size_t line = 1;
  for (size_t at = 0; at < text.size(); ++line) {
    size_t end = at;
    while (end < text.size() && text[end] != '\n' && text[end] != '\r') ++end;
    const std::string problem = LineProblem(std::string_view(text).substr(at, end - at), line, lines);
    if (!problem.empty()) return Refuse(path, line, problem, error);
    at = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  if (lines.vertices == 0) return Refuse(path, 0, "no vertices: not an OBJ mesh", error);
  if (lines.farthest <= static_cast<long long>(lines.vertices)) return true;
  return Refuse(path, lines.farthestLine,
                "face corner \"" + lines.farthestCorner + "\" names a vertex the file does not have: it has " +
                    std::to_string(lines.vertices),
                error);
}

}  // namespace cli
