#include "json.h"

#include <algorithm>
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

namespace {

// The shortest digits in positional notation: "12345679" at exponent 8 is
// "123456790", at -3 "0.0012345679".
std::string Positional(const std::string& digits, int exponent) {
  const int count = static_cast<int>(digits.size());
  if (exponent >= count - 1) return digits + std::string(static_cast<size_t>(exponent - count + 1), '0');
  if (exponent >= 0) return digits.substr(0, static_cast<size_t>(exponent + 1)) + "." + digits.substr(exponent + 1);
  return "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
}

}  // namespace

// The fewest significant digits that read back, in whichever notation is
// shorter. Plain std::to_chars is shortest in characters only: it writes a
// large whole float exactly ("123456792") where fewer digits read back
// ("123456790").
std::string JsonFloat(float f) {
  if (!std::isfinite(f)) return "null";
  // Readers take "-0" for the integer 0 and lose the sign; a fraction keeps it.
  if (f == 0.0f && std::signbit(f)) return "-0.0";
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, f, std::chars_format::scientific);
  const std::string scientific(text, result.ptr);
  const bool negative = scientific[0] == '-';
  const size_t e = scientific.find('e');
  std::string digits = scientific.substr(negative ? 1 : 0, e - (negative ? 1 : 0));
  digits.erase(std::remove(digits.begin(), digits.end(), '.'), digits.end());
  const std::string positional =
      (negative ? "-" : "") + Positional(digits, std::atoi(scientific.c_str() + e + 1));
  return positional.size() <= scientific.size() ? positional : scientific;
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
