#include "json_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "file_names.h"

namespace cli {

bool ReadFileBytes(const std::string& path, std::size_t limit, std::string* bytes, std::string* error) {
  bytes->clear();
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    *error = Printable(path) + ": " + std::strerror(errno);
    return false;
  }
  std::string problem;
  char block[1 << 16];
  for (size_t n; problem.empty() && (n = std::fread(block, 1, sizeof block, file)) > 0;) {
    if (n > limit - bytes->size())
      problem = "more than " + std::to_string(limit >> 20) + " MiB: too large to be read";
    else
      bytes->append(block, n);
  }
  // A folder opens, then fails to read.
  if (problem.empty() && std::ferror(file)) problem = std::strerror(errno);
  std::fclose(file);
  if (problem.empty()) return true;
  *error = Printable(path) + ": " + problem;
  return false;
}

std::size_t LineAt(const std::string& text, std::size_t at) {
  at = std::min(at, text.size());
  return 1 + static_cast<size_t>(std::count(text.begin(), text.begin() + static_cast<long>(at), '\n'));
}

std::string ParseFault(const std::string& what) {
  const size_t colon = what.find(": ");
  return colon == std::string::npos ? what : what.substr(colon + 2);
}

}  // namespace cli
