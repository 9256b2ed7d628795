// Test helpers for the readers of recorded text files: a real FILE* holding
// a text (a file, or a pipe), and the CR LF copy of a text written with LF.
#ifndef TESTS_TEXT_FILE_H
#define TESTS_TEXT_FILE_H

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

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

#ifdef _WIN32
// On Windows the readers get what the panels give them: a file opened in
// text mode ("rt"), whose C runtime turns CR LF into LF.
class TempFile {
 public:
  explicit TempFile(const std::string& text) {
    char dir[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, dir);
    GetTempFileNameA(dir, "mir", 0, path);
    FILE* out = std::fopen(path, "wb");
    if (out == nullptr) return;
    std::fwrite(text.data(), 1, text.size(), out);
    std::fclose(out);
    file = std::fopen(path, "rt");
  }
  ~TempFile() {
    if (file != nullptr) std::fclose(file);
    DeleteFileA(path);
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  FILE* get() const { return file; }

 private:
  char path[MAX_PATH] = "";
  FILE* file = nullptr;
};

// The text through an anonymous pipe read in text mode.
class PipeFile {
 public:
  explicit PipeFile(const std::string& text) {
    int ends[2];
    if (_pipe(ends, 65536, _O_BINARY) != 0) return;
    const bool written = _write(ends[1], text.data(), static_cast<unsigned>(text.size())) ==
                         static_cast<int>(text.size());
    _close(ends[1]);
    _setmode(ends[0], _O_TEXT);
    file = written ? _fdopen(ends[0], "rt") : nullptr;
    if (file == nullptr) _close(ends[0]);
  }
  ~PipeFile() {
    if (file != nullptr) std::fclose(file);
  }
  PipeFile(const PipeFile&) = delete;
  PipeFile& operator=(const PipeFile&) = delete;
  FILE* get() const { return file; }

 private:
  FILE* file = nullptr;
};
#else
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

// The text coming through a pipe, as standard input or a FIFO gives it: a
// stream that cannot seek. The text must fit the pipe's buffer (64 KiB).
class PipeFile {
 public:
  explicit PipeFile(const std::string& text) {
    int ends[2];
    if (pipe(ends) != 0) return;
    const bool written = write(ends[1], text.data(), text.size()) == static_cast<ssize_t>(text.size());
    close(ends[1]);
    file = written ? fdopen(ends[0], "r") : nullptr;
    if (file == nullptr) close(ends[0]);
  }
  ~PipeFile() {
    if (file != nullptr) std::fclose(file);
  }
  PipeFile(const PipeFile&) = delete;
  PipeFile& operator=(const PipeFile&) = delete;
  FILE* get() const { return file; }

 private:
  FILE* file = nullptr;
};

#endif

}  // namespace text_file

#endif
