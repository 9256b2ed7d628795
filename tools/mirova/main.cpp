// mirova: the command-line headless host. It loads the plug-in library and
// drives it as a user would; see README.md for the subcommands.
#include <iostream>

#include "cli.h"

namespace {

const char usage[] =
    "usage: mirova info [--plugin FILE]\n"
    "       mirova inspect FILE.asc\n"
    "       mirova inspect FILE.trc [--raw]\n"
    "       mirova face FILE.trc [--fps N] [--neutral FILE.obj] [--target NAME=FILE.obj ...]\n"
    "                   [--format json|gltf] [-o OUT.json|OUT.glb|OUT.gltf]\n"
    "       mirova morph --neutral FILE.obj [--target NAME=FILE.obj ...] [--set \"PARAM=PERCENT\" ...]\n"
    "                    [--time TICKS] -o OUT.obj|OUT.glb|OUT.gltf\n"
    "       mirova camera FILE.asc [--fps N] [--no-east-west] [--no-track] [--no-north-south]\n"
    "                     [--no-tilt] [--no-roll] [--no-pan] [--format json|chan|gltf] [-o OUT]\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << usage;
    return cli::EXIT_USAGE;
  }
  std::string command = argv[1];
  cli::Args args(argv + 2, argv + argc);
  if (command == "info") return cli::RunInfo(args, std::cout, std::cerr);
  if (command == "inspect") return cli::RunInspect(args, std::cout, std::cerr);
  if (command == "face") return cli::RunFace(args, std::cout, std::cerr);
  if (command == "morph") return cli::RunMorph(args, std::cout, std::cerr);
  if (command == "camera") return cli::RunCamera(args, std::cout, std::cerr);
  std::cerr << (command == "--help" || command == "-h" ? "" : "mirova: unknown command\n") << usage;
  return command == "--help" || command == "-h" ? cli::EXIT_OK : cli::EXIT_USAGE;
}
