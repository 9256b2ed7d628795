// Helpers the reader fuzzers share: streams holding bytes, and the words a
// structured case is written from (with the suite's CR LF helper).
#ifndef MIROVA_FUZZ_TEXT_H
#define MIROVA_FUZZ_TEXT_H

#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "text_file.h"

namespace fuzz_text {

inline void Require(bool condition) {
  if (!condition) __builtin_trap();
}

// A read-only stream over a copy of the bytes, closed when the holder goes.
// fmemopen refuses an empty buffer on older C libraries; an empty file then
// comes from tmpfile.
class Stream {
 public:
  explicit Stream(std::string bytes) : copy(std::move(bytes)) {
    file = copy.empty() ? tmpfile() : fmemopen(&copy[0], copy.size(), "r");
  }
  ~Stream() {
    if (file != nullptr) fclose(file);
  }
  Stream(const Stream&) = delete;
  Stream& operator=(const Stream&) = delete;
  FILE* get() const { return file; }

 private:
  std::string copy;
  FILE* file = nullptr;
};

// A number as the recorders write them: thousandths, printed in full.
inline std::string Number(FuzzedDataProvider& in) {
  char text[32];
  snprintf(text, sizeof text, "%.3f", in.ConsumeIntegralInRange<int>(-1000000, 1000000) / 1000.0);
  return text;
}

// A word (no white space) that is not a finite number: what spoils a value.
inline std::string BadWord(FuzzedDataProvider& in) {
  std::string word;
  for (char c : in.ConsumeRandomLengthString(12)) {
    if (!std::isspace(static_cast<unsigned char>(c))) word += c;
  }
  if (word.empty()) return "x";
  char* end = nullptr;
  const float value = std::strtof(word.c_str(), &end);
  if (end == word.c_str() + word.size() && std::isfinite(value)) word += "x";
  return word;
}

using text_file::WithCrLf;

}  // namespace fuzz_text

#endif
