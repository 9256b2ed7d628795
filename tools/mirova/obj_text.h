// The text of an OBJ file, read and checked before tinyobjloader parses it:
// the parser quietly reads what is no OBJ text as something else (a zero
// byte ends a line, a coordinate that is no number reads as 0, a face index
// past an int's range wraps round to another vertex).
#ifndef MIROVA_CLI_OBJ_TEXT_H
#define MIROVA_CLI_OBJ_TEXT_H

#include <cstddef>
#include <string>
#include <string_view>

namespace cli {

// The largest OBJ file read: a face of millions of points fits, and a file
// that never ends (a pipe, a device) stops here.
constexpr std::size_t kMaxObjBytes = std::size_t(256) << 20;

// Reads the file into text a block at a time, and stops at the first byte no
// text holds (see CheckObjBytes) and past kMaxObjBytes, having kept no more
// than that. False with *error ("PATH: why" or "PATH:LINE: why") when the
// file cannot be read or is refused.
bool ReadObjFileText(const std::string& path, std::string& text, std::string* error);

// False with *error at the first byte no text holds: a zero byte or another
// control byte than tab, LF, VT, FF and CR. Bytes from 0x80 up pass, as
// UTF-8 (and older 8-bit code pages) write names and comments.
bool CheckObjBytes(const std::string& path, const std::string& text, std::string* error);

// False with *error when text holds no vertex, or at the first line the
// parser would misread: a vertex or normal whose three coordinates, or a
// texture coordinate whose one to three, are not all finite decimals, a face
// corner that is not v, v/vt, v//vn or v/vt/vn in whole numbers, or whose
// vertex, texture coordinate or normal the file does not have (counted from
// 1, or back from -1 before the line).
bool CheckObjLines(const std::string& path, const std::string& text, std::string* error);

// The first word of an OBJ line, its keyword ("v", "f", "usemtl" ...); empty
// for a blank line.
std::string_view ObjKeyword(std::string_view line);

// Calls visit(line, number) for each line of text, numbered from 1, until it
// returns false. Lines end as the parser ends them: LF, CR LF or CR.
template <typename Visit>
void ForEachObjLine(const std::string& text, Visit visit) {
  size_t number = 1;
  for (size_t at = 0; at < text.size(); ++number) {
    // A plain loop: find_first_of would search its set once for every byte.
    size_t end = at;
    while (end < text.size() && text[end] != '\n' && text[end] != '\r') ++end;
    if (!visit(std::string_view(text).substr(at, end - at), number)) return;
    at = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
}

}  // namespace cli

#endif
