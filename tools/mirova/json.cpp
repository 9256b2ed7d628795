#include "json.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace cli {

std::string JsonString(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
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

std::string JsonOptionalString(bool present, const std::string& s) {
  return present ? JsonString(s) : "null";
}

}  // namespace cli
