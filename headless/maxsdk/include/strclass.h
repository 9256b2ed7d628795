// Stand-in for the host's string class: a growable, always terminated
// character string with printf formatting.
#ifndef HEADLESS_STRCLASS_H
#define HEADLESS_STRCLASS_H
#include <windows.h>

#include <cstdarg>
#include <string>

class CStr {
 public:
  CStr() = default;
  CStr(const char* s) : text(s ? s : "") {}  // NOLINT: implicit as in the host
  CStr(const CStr&) = default;
  CStr& operator=(const CStr&) = default;
  CStr& operator=(const char* s);

  char* data() { return &text[0]; }
  const char* data() const { return text.c_str(); }
  operator char*() { return data(); }              // NOLINT
  operator const char*() const { return data(); }  // NOLINT
  int Length() const { return static_cast<int>(text.size()); }
  int length() const { return Length(); }
  bool isNull() const { return text.empty(); }
  // Makes room for n characters; a shorter string is cut.
  void Resize(int n);

  CStr& operator+=(const CStr& s);
  CStr operator+(const CStr& s) const;
  bool operator==(const CStr& s) const { return text == s.text; }
  bool operator!=(const CStr& s) const { return text != s.text; }
  char& operator[](int i) { return text[static_cast<size_t>(i)]; }
  char operator[](int i) const { return text[static_cast<size_t>(i)]; }

  // Replaces the content with the formatted text (C printf rules).
  int printf(const char* format, ...) __attribute__((format(printf, 2, 3)));
  int vprintf(const char* format, va_list args);

 private:
  std::string text;
};

typedef CStr TSTR;
typedef CStr MSTR;

#endif
