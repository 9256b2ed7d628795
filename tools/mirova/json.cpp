#include "json.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace cli {

namespace {

// The length of the well-formed UTF-8 sequence starting at s[i], or 0.
size_t Utf8SequenceLength(const std::string& s, size_t i) {
  auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  unsigned char lead = byte(i);
  size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
  if (lead >= 0xF8 || length == 0 || i + length > s.size()) return 0;
  for (size_t k = 1; k < length; ++k)
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
  // Overlong, surrogate and out-of-range forms are not characters.
  unsigned char second = byte(i + 1);
  if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) ||
      (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90))
    return 0;
  return length;
}

}  // namespace

// Files name things in whatever code page they were written in; a byte that
// is not part of well-formed UTF-8 is taken as Latin-1, so the report is
// always valid JSON.
std::string JsonString(const std::string& s) {
  std::string out = "\"";
  for (size_t i = 0; i < s.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    size_t length = c >= 0x80 ? Utf8SequenceLength(s, i) : 0;
    if (length) {
      out.append(s, i, length);
      i += length - 1;
      continue;
    }
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20 || c >= 0x80) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
          out += escaped;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

std::string JsonFloat(float f) {
  if (!std::isfinite(f)) return "null";
  char text[32];
  auto result = std::to_chars(text, text + sizeof text, f);  // shortest round trip
  return std::string(text, result.ptr);
}

void JsonWriter::Separate() {
  if (afterKey) {
    afterKey = false;
  } else if (!stillEmpty.empty()) {
    if (!stillEmpty.back()) out << ", ";
    stillEmpty.back() = false;
  }
}

JsonWriter& JsonWriter::BeginObject() {
  Separate();
  out << '{';
  stillEmpty.push_back(true);
  return *this;
}

JsonWriter& JsonWriter::EndObject() {
  stillEmpty.pop_back();
  out << '}';
  return *this;
}

JsonWriter& JsonWriter::BeginArray() {
  Separate();
  out << '[';
  stillEmpty.push_back(true);
  return *this;
}

JsonWriter& JsonWriter::EndArray() {
  stillEmpty.pop_back();
  out << ']';
  return *this;
}

JsonWriter& JsonWriter::Key(const std::string& key) {
  Separate();
  out << JsonString(key) << ": ";
  afterKey = true;
  return *this;
}

JsonWriter& JsonWriter::String(const std::string& s) {
  Separate();
  out << JsonString(s);
  return *this;
}

JsonWriter& JsonWriter::OptionalString(bool present, const std::string& s) {
  return present ? String(s) : Null();
}

JsonWriter& JsonWriter::Float(float f) {
  Separate();
  out << JsonFloat(f);
  return *this;
}

JsonWriter& JsonWriter::Int(long long i) {
  Separate();
  out << i;
  return *this;
}

JsonWriter& JsonWriter::Bool(bool b) {
  Separate();
  out << (b ? "true" : "false");
  return *this;
}

JsonWriter& JsonWriter::Null() {
  Separate();
  out << "null";
  return *this;
}

}  // namespace cli
