#include <custcont.h>
#include <utillib.h>

#include <cstdio>

#include "custom_controls.h"
#include "records.h"

FilterList::FilterList() = default;

void FilterList::Append(const TCHAR* s) {
  buffer += s;
  buffer += '\0';
}

// Each entry keeps its own terminator and the string's own ends the list, so
// the buffer is double-terminated as the open-file dialog expects.
FilterList::operator TCHAR*() { return &buffer[0]; }

void SplitPathFile(TSTR& name, TSTR* path, TSTR* file) {
  std::string full = name.data();
  // Windows takes both separators; the headless user hands POSIX paths.
  size_t cut = full.find_last_of("\\/:");
  std::string folder = cut == std::string::npos ? std::string() : full.substr(0, cut);
  std::string leaf = cut == std::string::npos ? full : full.substr(cut + 1);
  if (path) *path = folder.c_str();
  if (file) *file = leaf.c_str();
}

void assert1(int line, const char* file) {
  headless::detail::SdkRecords().asserts.push_back({line, file ? file : ""});
  std::fprintf(stderr, "assertion failed: %s, line %d\n", file ? file : "?", line);
}

void InitCustomControls(HINSTANCE hInst) {
  ++headless::detail::SdkRecords().customControlsInits;
  headless::detail::SdkRecords().customControlsInstance = hInst;
  headless::detail::RegisterCustomControlClasses();
}
