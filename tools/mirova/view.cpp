// mirova view: a tracker recording as the tracker view window shows it. The
// expression object is made on the example face, the recording opened
// through the Face Tracker rollup's "Open...", the view opened with
// "Display", its menu items chosen, the time slider moved, and the view's
// client area saved as PNG pictures.
#include <headless.h>
#include <headless_gdi.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "commands.h"
#include "expression.h"
#include "file_names.h"
#include "picture_file.h"
#include "resource.h"

namespace cli {

namespace {

// frame_000120.png: zero-padded so that names sort as frames do.
std::string FramePath(const std::string& dir, int frame) {
  char name[32];
  std::snprintf(name, sizeof name, "frame_%06d.png", frame);
  return dir + name;
}

bool MakeFolder(const std::string& dir, std::ostream& err) {
  struct stat st;
  const bool exists = stat(dir.c_str(), &st) == 0;
  if (exists && S_ISDIR(st.st_mode)) return true;
  if (!exists && mkdir(dir.c_str(), 0777) == 0) return true;
  err << "mirova: cannot write " << Printable(dir) << ": " << (exists ? "it is not a folder" : std::strerror(errno))
      << "\n";
  return false;
}

const int kLastFrame = 1000000;

class ViewCommand : public Command {
 public:
  void Define(CLI::App& app) override {
    app.add_option("FILE.trc", recording, "The tracker recording, opened by the Face Tracker's \"Open...\"")
        ->required()
        ->type_name("");
    CLI::Option* one = app.add_option("--frame", first, "The frame the time slider is moved to (0)")
                           ->type_name("F")
                           ->transform(WholeNumber(0, kLastFrame));
    app.add_option("--frames", frames, "Every frame from A to B, one picture each, into -o DIR/")
        ->type_name("A:B")
        ->excludes(one);
    app.add_option("--fps", fps, "Frames a second of the scene (30), a whole number from 1 to 4800")
        ->type_name("N")
        ->transform(WholeNumber(1, TIME_TICKSPERSEC));
    app.add_flag("--trajectories", trajectories, "Choose the view's \"Trajectories\" menu item");
    app.add_flag("--names", names, "Choose the view's \"Names\" menu item");
    app.add_flag("--extents", extents, "Choose the view's \"Extents\" menu item");
    app.add_option("-o", output, "The picture, or the folder of pictures (made when missing)")
        ->required()
        ->type_name("OUT.png|DIR/");
  }

  std::string Check() override {
    range = !frames.empty();
    if (range && !ParseFrames()) return "--frames wants A:B, frame numbers from 0 to 1000000 with A not after B";
    if (!range) last = first;
    if (range && output.back() != '/') return "--frames wants -o DIR/";
    if (!range && output.back() == '/') return "one frame wants -o OUT.png";
    std::string problem;
    if (!range && OutputFormat(output, "png", false, {"png"}, &problem).empty()) return problem;
    // The slider's time is the frame's first tick, which must be a time.
    if (static_cast<long long>(last) * (TIME_TICKSPERSEC / fps) > INT_MAX)
      return "frame " + std::to_string(last) + " at " + std::to_string(fps) +
             " frames a second lies past the last time the scene can hold";
    return "";
  }

  std::vector<std::string> Inputs() const override { return {recording}; }
  std::string Output() const override { return output; }

  int Run(std::ostream&, std::ostream& err) override {
    Session session(ToolPluginPath(), err);
    if (!session.Ready()) return EXIT_USAGE;
    Face face;
    int status = MakeFace(session, "", fps, &face, err);
    if (status == EXIT_OK) status = OpenRecording(session, face.obj, recording, err);
    if (status != EXIT_OK) return status;
    ExpressionObject* obj = face.obj;
    if (obj->trackerInput.data.SampleCount() == 0) {
      err << "mirova: " << recording << ": no recording was opened\n";
      return EXIT_REFUSED;
    }
    headless::Click(RollupPage(session.host, "Face Tracker"), IDC_TRACKER_DISPLAY);
    HWND view = obj->trackerInput.view.hWnd;
    if (trajectories) headless::ChooseMenuItem(view, ID_VIEW_TRAJECTORIES);
    if (names) headless::ChooseMenuItem(view, ID_VIEW_NAMES);
    if (extents) headless::ChooseMenuItem(view, ID_VIEW_EXTENTS);
    status = SaveFrames(session.host, view, err);
    session.host.LeaveCreatePanel();
    return status;
  }

 private:
  bool ParseFrames() {
    long long a = 0, b = 0;
    if (!ReadRange(frames, kLastFrame, &a, &b)) return false;
    first = static_cast<int>(a);
    last = static_cast<int>(b);
    return true;
  }

  // Moves the time slider to each frame asked for and saves the view.
  int SaveFrames(headless::Host& host, HWND view, std::ostream& err) {
    if (range && !MakeFolder(output, err)) return EXIT_USAGE;
    const bool showProgress = range && isatty(STDERR_FILENO);
    for (int frame = first; frame <= last; ++frame) {
      if (showProgress) std::fprintf(stderr, "\rview: frame %d of %d..%d", frame, first, last);
      host.SetTime(frame * GetTicksPerFrame());
      const std::string path = range ? FramePath(output, frame) : output;
      // The progress line ends before a message does.
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

  std::string recording, frames, output;
  int first = 0, last = 0, fps = 30;
  bool range = false, trajectories = false, names = false, extents = false;
};

}  // namespace

std::unique_ptr<Command> MakeViewCommand() { return std::make_unique<ViewCommand>(); }

}  // namespace cli
