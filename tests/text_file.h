// Test helpers for the readers of recorded text files: a real FILE* holding
// a text, and the CR LF copy of a text written with LF.
#ifndef TESTS_TEXT_FILE_H
#define TESTS_TEXT_FILE_H

#include <cstdio>
#include <string>

namespace text_file {

inline std::string WithCrLf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

// A real FILE* with the text in it, rewound, closed when the holder goes.
class TempFile {
 public:
  explicit TempFile(const std::string& text) : file(std::tmpfile()) {
    std::fwrite(text.data(), 1, text.size(), file);
    std::rewind(file);
  }
  ~TempFile() { std::fclose(file); }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  FILE* get() const { return file; }

 private:
  FILE* file;
};

}  // namespace text_file

#endif
