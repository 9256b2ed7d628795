// Stand-in: the host's small utilities.
#ifndef HEADLESS_UTILLIB_H
#define HEADLESS_UTILLIB_H
#include <strclass.h>

#include <string>

// Builds the double-terminated filter string of the open-file dialog from
// alternating descriptions and patterns.
class FilterList {
 public:
  FilterList();
  void Append(const TCHAR* s);
  void SetFilterIndex(int i) { filterIndex = i; }
  int GetFilterIndex() const { return filterIndex; }
  operator TCHAR*();  // NOLINT: the host's conversion

 private:
  std::string buffer;
  int filterIndex = -1;
};

// Splits a full file name into its folder (without the separator) and its
// file name with extension. Either output may be null.
void SplitPathFile(TSTR& name, TSTR* path, TSTR* file);

// The host's report of a failed debug assertion: recorded (line, source file)
// and shown; it returns, so the caller goes on.
void assert1(int line, const char* file);

#define DbgAssert(expr) ((expr) ? (void)0 : assert1(__LINE__, __FILE__))

#endif
