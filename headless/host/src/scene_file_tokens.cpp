// The words of a scene file's lines and the numbers they spell.
#include "scene_file_tokens.h"

#include <cstdlib>

namespace headless::detail {

namespace {

bool ToLong(const std::string& s, long& v, int base) {
  if (s.empty()) return false;
  char* end = nullptr;
  v = std::strtol(s.c_str(), &end, base);
  return *end == '\0';
}

}  // namespace

bool Tokenize(const std::string& line, std::vector<std::string>& tokens) {
  tokens.clear();
  size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t') {
      ++i;
      continue;
    }
    std::string token;
    if (line[i] != '"') {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t') token += line[i++];
      tokens.push_back(token);
      continue;
    }
    // A quoted name; its quotes are dropped, its escapes resolved.
    for (++i; i < line.size() && line[i] != '"'; ++i) {
      if (line[i] == '\\' && i + 1 < line.size()) {
        ++i;
        token += line[i] == 'n' ? '\n' : line[i];
      } else {
        token += line[i];
      }
    }
    if (i >= line.size()) return false;
    ++i;
    tokens.push_back(token);
  }
  return true;
}

bool ToInt(const std::string& s, int& v) {
  long l = 0;
  if (!ToLong(s, l, 10) || l < -2147483648L || l > 2147483647L) return false;
  v = static_cast<int>(l);
  return true;
}

bool ToHexId(const std::string& s, ULONG& v) {
  if (s.size() < 3 || s[0] != '0' || (s[1] != 'x' && s[1] != 'X')) return false;
  char* end = nullptr;
  unsigned long u = std::strtoul(s.c_str(), &end, 16);
  if (*end != '\0' || u > 0xffffffffUL) return false;
  v = static_cast<ULONG>(u);
  return true;
}

bool ToFloat(const std::string& s, float& v) {
  if (s.empty()) return false;
  char* end = nullptr;
  v = std::strtof(s.c_str(), &end);
  return *end == '\0';
}

}  // namespace headless::detail
