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

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bundled_face.h"
#include "cli.h"
#include "expression.h"
#include "messages.h"
#include "obj_file.h"
#include "plugin.h"
#include "read_fault.h"
#include "resource.h"

namespace cli {

namespace {

const char viewUsage[] =
    "usage: mirova view FILE.trc [--frame F | --frames A:B] [--fps N] [--trajectories] [--names]\n"
    "                  [--extents] -o OUT.png|DIR/\n";

struct ViewRequest {
  std::string recording, output;
  int first = 0, last = 0;
  bool range = false, framesGiven = false;
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

bool ParseValueOption(const std::string& a, const std::string& value, ViewRequest& request, std::string& problem) {
  if (a == "--fps" && !ParseFps(value, request.fps)) problem = "--fps wants a whole number of frames a second from 1 to 4800";
  if ((a == "--frame" || a == "--frames") && request.framesGiven) problem = "give one of --frame and --frames";
  if (a == "--frame" && problem.empty() && !ParseFrame(value, request.first))
    problem = "--frame wants a frame number from 0 to 1000000";
  if (a == "--frames" && problem.empty() && !ParseFrames(value, request))
    problem = "--frames wants A:B, frame numbers with A not after B";
  if (a == "--frame") request.last = request.first;
  if (a == "--frames") request.range = true;
  if (a == "--frame" || a == "--frames") request.framesGiven = true;
  if (a == "-o") request.output = value;
  return problem.empty();
}

bool ParseViewArgs(const Args& args, ViewRequest& request, std::string& problem) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--fps" || a == "--frame" || a == "--frames" || a == "-o") {
      if (i + 1 >= args.size()) {
        problem = a + " wants a value";
        return false;
      }
      if (!ParseValueOption(a, args[++i], request, problem)) return false;
    } else if (a == "--trajectories") {
      request.menuItems.push_back(ID_VIEW_TRAJECTORIES);
    } else if (a == "--names") {
      request.menuItems.push_back(ID_VIEW_NAMES);
    } else if (a == "--extents") {
      request.menuItems.push_back(ID_VIEW_EXTENTS);
    } else if (request.recording.empty() && a.rfind("-", 0) != 0) {
      request.recording = a;
    } else {
      problem = "unexpected argument " + a;
      return false;
    }
  }
  if (request.recording.empty()) problem = "a tracker recording (FILE.trc) is required";
  else if (request.output.empty()) problem = "-o OUT.png or -o DIR/ is required";
  else if (request.range && request.output.back() != '/') problem = "--frames wants -o DIR/";
  else if (!request.range && request.output.back() == '/') problem = "one frame wants -o OUT.png";
  return problem.empty();
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
  for (int frame = request.first; frame <= request.last; ++frame) {
    host.SetTime(frame * GetTicksPerFrame());
    const std::string path = request.range ? FramePath(request.output, frame) : request.output;
    std::string problem;
    if (!headless::SavePng(headless::Snapshot(view), path, &problem)) {
      err << "mirova: " << path << ": " << problem << "\n";
      return EXIT_USAGE;
    }
  }
  return EXIT_OK;
}

// The object on the example face, editing in the create panel with its rollups open.
ExpressionObject* MakeObject(headless::Host& host, const Plugin& plugin, std::ostream& err) {
  const std::string neutralPath = FindBundledNeutral();
  ObjMesh neutral;
  std::string problem;
  if (neutralPath.empty() || !ReadObj(neutralPath, neutral, &problem)) {
    err << "mirova: the bundled " << bundledNeutral << " was not found or not read\n";
    return nullptr;
  }
  INode* face = host.CreateNode(MakeTriObject(neutral), "Face");
  return CreateFromPanel(host, plugin.ExpressionObjectClass(), face);
}

}  // namespace

int RunView(const Args& args, std::ostream&, std::ostream& err) {
  ViewRequest request;
  std::string problem;
  if (!ParseViewArgs(args, request, problem)) {
    err << "mirova: " << problem << "\n" << viewUsage;
    return EXIT_USAGE;
  }
  if (FILE* probe = std::fopen(request.recording.c_str(), "rt")) {
    std::fclose(probe);
  } else {
    err << "mirova: cannot open " << request.recording << "\n";
    return EXIT_USAGE;
  }
  Plugin plugin(PluginPath(Args()));
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
