#include "file_names.h"

#include <algorithm>
#include <cctype>

namespace cli {

bool HasExtension(const std::string& path, const std::string& extension) {
  if (path.size() < extension.size()) return false;
  return std::equal(extension.begin(), extension.end(), path.end() - static_cast<long>(extension.size()),
                    [](char a, char b) {
                      return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
                    });
}

std::string FileNameOf(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

std::string StemOf(const std::string& path) {
  const std::string name = FileNameOf(path);
  const size_t dot = name.rfind('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string Printable(const std::string& path) {
  static const char hex[] = "0123456789abcdef";
  std::string shown;
  for (char c : path) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (c == '\n') shown += "\\n";
    else if (c == '\t') shown += "\\t";
    else if (u < 0x20 || u == 0x7f) shown += std::string("\\x") + hex[u >> 4] + hex[u & 15];
    else shown += c;
  }
  return shown;
}

}  // namespace cli
