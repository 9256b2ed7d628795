// The subcommands of the command-line host. Each takes its own arguments
// (after the subcommand's name), writes its report to out and what the
// library shows the user to err, and returns the exit status.
#ifndef MIROVA_CLI_CLI_H
#define MIROVA_CLI_CLI_H
#include <ostream>
#include <string>
#include <vector>

namespace cli {

using Args = std::vector<std::string>;

enum ExitStatus { EXIT_OK = 0, EXIT_REFUSED = 1, EXIT_USAGE = 2 };

// mirova COMMAND ..., mirova help [COMMAND], mirova --help, mirova
// --version: args are what follows the program's name.
int RunTool(const Args& args, std::ostream& out, std::ostream& err);

// mirova info [--plugin FILE]: the plug-in's description, version and class
// table, read through its exports only.
int RunInfo(const Args& args, std::ostream& out, std::ostream& err);

// mirova inspect FILE: what the library's reader makes of a recorded file.
int RunInspect(const Args& args, std::ostream& out, std::ostream& err);

// mirova camera FILE.asc [--fps N] [--no-<axis>...] [--format json|chan|gltf]
// [-o OUT] [--plugin FILE]: a headless scene with one selected free camera,
// keyed through the motion-control utility's panel as a user would; writes
// the camera's keys (glTF to -o OUT.glb or OUT.gltf only).
int RunCamera(const Args& args, std::ostream& out, std::ostream& err);

// mirova morph --neutral FILE.obj [--target NAME=FILE.obj ...]
// [--method copy|reference|instance|move] [--set "PARAM=PERCENT" ...]
// [--time TICKS] -o OUT.obj|OUT.glb|OUT.gltf: the expression object created
// in the create panel on a node of the Neutral mesh, each named target
// picked from a node of its mesh by the method (instance by default), each
// value typed into its spinner (in percent, at time 0; the spinner clamps),
// evaluated at TICKS;
// writes the blended mesh with the Neutral's faces (OBJ), or the mesh with
// its morph targets and the weights at TICKS (glTF).
int RunMorph(const Args& args, std::ostream& out, std::ostream& err);

// mirova face FILE.trc [--fps N] [--neutral FILE.obj] [--target NAME=FILE.obj
// ...] [--format json|gltf] [-o OUT]: the expression object made on a
// neutral face (the bundled example face by default) with the named targets
// in a scene of N frames a second, the recording opened into its tracker
// input and applied; writes the keys of all 22 parameters (JSON), or the
// face with its targets and their weights at every frame (glTF, to -o
// OUT.glb or OUT.gltf). No output file when the recording gave no keys.
int RunFace(const Args& args, std::ostream& out, std::ostream& err);

// mirova view FILE.trc [--frame F | --frames A:B] [--fps N] [--trajectories]
// [--names] [--extents] -o OUT.png|DIR/: the recording opened through the
// expression object's Face Tracker rollup on the example face and shown in
// its tracker view with the switches asked for, the time slider at frame F
// (0 by default); the view's client area saved as OUT.png, or one picture
// per frame A..B as DIR/frame_NNNNNN.png.
int RunView(const Args& args, std::ostream& out, std::ostream& err);

// mirova panel utility|object [-o OUT.png]: the command panel as one
// picture: the motion-control utility's panel, or the expression object's
// five rollups on the example face, About and Scales rolled up to their
// title bars. Written to panel-utility.png or panel-object.png without -o.
int RunPanel(const Args& args, std::ostream& out, std::ostream& err);

// The plug-in module the host loads: --plugin FILE when given, otherwise
// mirova.dlu beside the program (a build), or in ../lib/mirova/ from the
// program's folder (an installed copy).
std::string PluginPath(const Args& args);

}  // namespace cli

#endif
