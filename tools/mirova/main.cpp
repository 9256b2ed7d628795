// mirova: the command-line headless host. It loads the plug-in library and
// drives it as a user would; see README.md for the subcommands.
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <streambuf>

#include "cli.h"

namespace {

const char usage[] =
    "usage: mirova info [--plugin FILE]\n"
    "       mirova inspect FILE.asc\n"
    "       mirova inspect FILE.trc [--raw]\n"
    "       mirova face FILE.trc [--fps N] [--neutral FILE.obj] [--target NAME=FILE.obj ...]\n"
    "                   [--format json|gltf] [-o OUT.json|OUT.glb|OUT.gltf]\n"
    "       mirova view FILE.trc [--frame F | --frames A:B] [--fps N] [--trajectories] [--names]\n"
    "                   [--extents] -o OUT.png|DIR/\n"
    "       mirova panel utility|object [-o OUT.png]\n"
    "       mirova morph --neutral FILE.obj [--target NAME=FILE.obj ...] [--set \"PARAM=PERCENT\" ...]\n"
    "                    [--time TICKS] -o OUT.obj|OUT.glb|OUT.gltf\n"
    "       mirova camera FILE.asc [--fps N] [--no-east-west] [--no-track] [--no-north-south]\n"
    "                     [--no-tilt] [--no-roll] [--no-pan] [--format json|chan|gltf] [-o OUT]\n"
    "                     [--plugin FILE]\n";

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

int Run(const std::string& command, const cli::Args& args) {
  if (command == "info") return cli::RunInfo(args, std::cout, std::cerr);
  if (command == "inspect") return cli::RunInspect(args, std::cout, std::cerr);
  if (command == "face") return cli::RunFace(args, std::cout, std::cerr);
  if (command == "view") return cli::RunView(args, std::cout, std::cerr);
  if (command == "panel") return cli::RunPanel(args, std::cout, std::cerr);
  if (command == "morph") return cli::RunMorph(args, std::cout, std::cerr);
  if (command == "camera") return cli::RunCamera(args, std::cout, std::cerr);
  std::cerr << (command == "--help" || command == "-h" ? "" : "mirova: unknown command\n") << usage;
  return command == "--help" || command == "-h" ? cli::EXIT_OK : cli::EXIT_USAGE;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << usage;
    return cli::EXIT_USAGE;
  }
  const std::string command = argv[1];
  const cli::Args args(argv + 2, argv + argc);
  StdoutBuffer stdoutBuffer;
  std::streambuf* const standard = std::cout.rdbuf(&stdoutBuffer);
  const int status = CheckOutput(Run(command, args), stdoutBuffer);
  std::cout.rdbuf(standard);
  return status;
}
