// mirova view: a tracker recording as the tracker view window shows it. The
// expression object is made on the example face, the recording opened
// through the Face Tracker rollup's "Open...", the view opened with
// "Display", its menu items chosen, the time slider moved, and the view's
// client area saved as PNG pictures.
#include <headless.h>
#include <headless_gdi.h>
#include <headless_host.h>
#include <sys/stat.h>
#include <triobj.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "bundled_face.h"
#include "cli.h"
#include "command_line.h"
#include "expression.h"
#include "messages.h"
#include "obj_file.h"
#include "picture_file.h"
#include "plugin.h"
#include "read_fault.h"
#include "resource.h"

namespace cli {

namespace {

struct ViewRequest {
  std::string recording, output;
  int first = 0, last = 0;
  bool range = false;
  int fps = 30;
  std::vector<int> menuItems;
};

bool ParseFrame(const std::string& s, int& frame) {
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(s.c_str(), &end, 10);
  // Frames whose time still fits the host's ticks at the slowest rate.
  if (s.empty() || *end != '\0' || errno || v < 0 || v > 1000000) return false;
  frame = static_cast<int>(v);
  return true;
}

bool ParseFrames(const std::string& s, ViewRequest& request) {
  const size_t colon = s.find(':');
  return colon != std::string::npos && ParseFrame(s.substr(0, colon), request.first) &&
         ParseFrame(s.substr(colon + 1), request.last) && request.first <= request.last;
}

// The words of the command line before their checks.
struct ViewWords {
  std::string frame, frames, fps = "30";
  bool trajectories = false, names = false, extents = false;
};

void DefineViewOptions(CLI::App& app, ViewRequest& request, ViewWords& words) {
  app.add_option("FILE.trc", request.recording, "The tracker recording, opened by the Face Tracker's \"Open...\"")
      ->type_name("");
  app.add_option("--frame", words.frame, "The frame the time slider is moved to (0)")->type_name("F");
  app.add_option("--frames", words.frames, "Every frame from A to B, one picture each, into -o DIR/")
      ->type_name("A:B");
  app.add_option("--fps", words.fps, "Frames a second of the scene (30), a whole number from 1 to 4800")
      ->type_name("N");
  app.add_flag("--trajectories", words.trajectories, "Choose the view's \"Trajectories\" menu item");
  app.add_flag("--names", words.names, "Choose the view's \"Names\" menu item");
  app.add_flag("--extents", words.extents, "Choose the view's \"Extents\" menu item");
  app.add_option("-o", request.output, "The picture, or the folder of pictures (made when missing)")
      ->type_name("OUT.png|DIR/");
}

// "" when the words make a request, else what is wrong.
std::string CheckViewWords(const ViewWords& words, ViewRequest& request) {
  if (!ParseFps(words.fps, request.fps)) return "--fps wants a whole number of frames a second from 1 to 4800";
  if (!words.frame.empty() && !words.frames.empty()) return "give one of --frame and --frames";
  if (!words.frame.empty() && !ParseFrame(words.frame, request.first))
    return "--frame wants a frame number from 0 to 1000000";
  request.last = request.first;
  request.range = !words.frames.empty();
  if (request.range && !ParseFrames(words.frames, request))
    return "--frames wants A:B, frame numbers with A not after B";
  if (words.trajectories) request.menuItems.push_back(ID_VIEW_TRAJECTORIES);
  if (words.names) request.menuItems.push_back(ID_VIEW_NAMES);
  if (words.extents) request.menuItems.push_back(ID_VIEW_EXTENTS);
  if (request.recording.empty()) return "a tracker recording (FILE.trc) is required";
  if (request.output.empty()) return "-o OUT.png or -o DIR/ is required";
  if (request.range && request.output.back() != '/') return "--frames wants -o DIR/";
  if (!request.range && request.output.back() == '/') return "one frame wants -o OUT.png";
  return "";
}

// frame_000120.png: zero-padded so that names sort as frames do.
std::string FramePath(const std::string& dir, int frame) {
  char name[32];
  std::snprintf(name, sizeof name, "frame_%06d.png", frame);
  return dir + name;
}

bool MakeFolder(const std::string& dir, std::ostream& err) {
  struct stat st;
  if (stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return true;
  if (mkdir(dir.c_str(), 0777) == 0) return true;
  err << "mirova: " << dir << ": " << std::strerror(errno) << "\n";
  return false;
}

// Moves the time slider to each frame asked for and saves the view.
int SaveFrames(headless::Host& host, HWND view, const ViewRequest& request, std::ostream& err) {
  if (request.range && !MakeFolder(request.output, err)) return EXIT_USAGE;
  const bool showProgress = request.range && isatty(STDERR_FILENO);
  for (int frame = request.first; frame <= request.last; ++frame) {
    if (showProgress) std::fprintf(stderr, "\rview: frame %d of %d..%d", frame, request.first, request.last);
    host.SetTime(frame * GetTicksPerFrame());
    const std::string path = request.range ? FramePath(request.output, frame) : request.output;
    std::ostringstream problem;
    if (const int written = WritePicture(headless::Snapshot(view), path, problem)) {
      if (showProgress) std::fputc('\n', stderr);
      err << problem.str();
      return written;
    }
  }
  if (showProgress) std::fputs(" done\n", stderr);
  return EXIT_OK;
}

// The object on the example face, editing in the create panel with its rollups open.
ExpressionObject* MakeObject(headless::Host& host, const Plugin& plugin, std::ostream& err) {
  ObjMesh neutral;
  std::string problem;
  if (!ReadBuiltInFace(neutral, &problem)) {
    err << "mirova: " << problem << "\n";
    return nullptr;
  }
  INode* face = host.CreateNode(MakeTriObject(neutral), "Face");
  return CreateFromPanel(host, plugin.ExpressionObjectClass(), face);
}

}  // namespace

int RunView(const Args& args, std::ostream& out, std::ostream& err) {
  ViewRequest request;
  ViewWords words;
  CommandLine line("view");
  DefineViewOptions(line.App(), request, words);
  const int parsed = line.Parse(args, out, err);
  if (parsed >= 0) return parsed;
  const std::string problem = CheckViewWords(words, request);
  if (!problem.empty()) return line.Refuse(problem, err);
  if (FILE* probe = std::fopen(request.recording.c_str(), "rt")) {
    std::fclose(probe);
  } else {
    err << "mirova: cannot open " << request.recording << "\n";
    return EXIT_USAGE;
  }
  Plugin plugin(ToolPluginPath());
  if (!plugin.Loaded()) {
    ReportNotLoaded(plugin, err);
    return EXIT_USAGE;
  }
  headless::Host host;
  host.SetFrameRate(request.fps);
  MessageLog messages(err);
  ExpressionObject* obj = MakeObject(host, plugin, err);
  HWND rollup = obj ? RollupPage(host, "Face Tracker") : nullptr;
  if (!rollup) {
    if (obj) err << "mirova: the Face Tracker rollup did not open\n";
    return EXIT_USAGE;
  }
  headless::AnswerNextOpenDialog(request.recording);
  headless::Click(rollup, IDC_TRACKER_OPEN);
  if (obj->trackerInput.data.SampleCount() == 0) {
    err << "mirova: " << request.recording << ": no recording was opened\n";
    return EXIT_REFUSED;
  }
  PrintReadFault(err, request.recording, obj->trackerInput.data.fault);
  headless::Click(rollup, IDC_TRACKER_DISPLAY);
  HWND view = obj->trackerInput.view.hWnd;
  for (int id : request.menuItems) headless::ChooseMenuItem(view, id);
  const int status = SaveFrames(host, view, request, err);
  host.LeaveCreatePanel();
  return status;
}

}  // namespace cli
