// mirova: the command-line headless host. It loads the plug-in library and
// drives it as a user would; see README.md or mirova --help for the
// subcommands.
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <streambuf>

#include "cli.h"

namespace {

// Standard output written with write(2), so that the reason of the first
// failed write is kept: a stream only says that it failed.
class StdoutBuffer : public std::streambuf {
 public:
  StdoutBuffer() { setp(buffer, buffer + sizeof buffer); }
  int error = 0;  // errno of the first failed write

 protected:
  int_type overflow(int_type c) override {
    if (sync() != 0) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) sputc(traits_type::to_char_type(c));
    return traits_type::not_eof(c);
  }
  int sync() override {
    for (const char* p = pbase(); p < pptr();) {
      const ssize_t written = write(STDOUT_FILENO, p, static_cast<size_t>(pptr() - p));
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) {
        if (!error) error = written < 0 ? errno : EIO;
        setp(buffer, buffer + sizeof buffer);
        return -1;
      }
      p += written;
    }
    setp(buffer, buffer + sizeof buffer);
    return 0;
  }

 private:
  char buffer[1 << 16];
};

// What a command printed must have reached standard output: a full disk or a
// closed pipe there is a failure, never a success.
int CheckOutput(int status, StdoutBuffer& stdoutBuffer) {
  if (std::cout.flush()) return status;
  std::cerr << "mirova: cannot write standard output: " << std::strerror(stdoutBuffer.error) << "\n";
  return status == cli::EXIT_OK ? cli::EXIT_USAGE : status;
}

}  // namespace

int main(int argc, char** argv) {
  const cli::Args args(argv + 1, argv + argc);
  StdoutBuffer stdoutBuffer;
  std::streambuf* const standard = std::cout.rdbuf(&stdoutBuffer);
  const int status = CheckOutput(cli::RunTool(args, std::cout, std::cerr), stdoutBuffer);
  std::cout.rdbuf(standard);
  return status;
}
