#include <strclass.h>

#include <cstdio>

CStr& CStr::operator=(const char* s) {
  text = s ? s : "";
  return *this;
}

void CStr::Resize(int n) { text.resize(n > 0 ? static_cast<size_t>(n) : 0); }

CStr& CStr::operator+=(const CStr& s) {
  text += s.text;
  return *this;
}

CStr CStr::operator+(const CStr& s) const {
  CStr result(*this);
  result += s;
  return result;
}

int CStr::printf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  int n = vprintf(format, args);
  va_end(args);
  return n;
}

int CStr::vprintf(const char* format, va_list args) {
  va_list measure;
  va_copy(measure, args);
  int n = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  if (n < 0) {
    text.clear();
    return n;
  }
  text.assign(static_cast<size_t>(n) + 1, '\0');
  std::vsnprintf(&text[0], text.size(), format, args);
  text.resize(static_cast<size_t>(n));
  return n;
}
