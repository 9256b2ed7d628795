// mirova camera FILE.asc: keys a free camera from a motion-control take by
// working the utility's panel as a user does, then writes the camera's keys.
#include <headless_host.h>
#include <standard_objects.h>
#include <unistd.h>

#include "camera_panel.h"
#include "camera_report.h"
#include "commands.h"
#include "fault_message.h"
#include "file_names.h"
#include "gltf_scene_camera.h"
#include "gltf_write.h"
#include "output_file.h"
#include "session.h"
#include "tzmotion.h"

namespace cli {

namespace {

// The FPS box takes digits only; anything else could not be typed into it.
// Their range is the utility's to judge.
CLI::Validator Digits() {
  return CLI::Validator(
      [](std::string& text) {
        return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos
                   ? std::string()
                   : "wants digits, as the FPS box takes them: " + text;
      },
      "");
}

// The take as the module's utility read it; the class descriptor hands out
// the one utility object.
const MotionData& LoadedTake(ClassDesc* cd) {
  return static_cast<MotionControlUtility*>(cd->Create(FALSE))->motionData;
}

class CameraCommand : public Command {
 public:
  void Define(CLI::App& app) override {
    app.add_option("FILE.asc", work.file, "The motion-control take, opened with the panel's \"Open...\"")
        ->required()
        ->type_name("");
    app.add_option("--fps", work.fps, "Frames a second typed into the FPS box (30); digits only, 1 to 4800")
        ->type_name("N")
        ->check(Digits());
    for (int i = 0; i < kAxes; ++i)
      app.add_flag(axisBoxes[i].option, off[i], std::string("Clear the \"") + axisBoxes[i].label + "\" box");
    formatOption = app.add_option("--format", format, "json (default), chan, or gltf to -o OUT.glb or OUT.gltf; "
                                  "-o's extension chooses when it has one")
        ->type_name("json|chan|gltf")
        ->check(OneOf({"json", "chan", "gltf"}));
    app.add_option("-o", output, "Write to OUT, whole or not at all, instead of standard output")->type_name("OUT");
    app.add_option("--into", into, "Add the keyed camera to this glTF scene (-o OUT.glb|OUT.gltf)")
        ->type_name("SCENE.glb|.gltf");
    app.add_option("--camera-name", cameraName,
                   "With --into: the camera node's name (the take's file name less its extension)")
        ->type_name("NAME");
    app.add_option("--plugin", plugin, "The plug-in module to load (mirova.dlu of this install)")->type_name("FILE");
  }

  std::string Check() override {
    for (int i = 0; i < kAxes; ++i) work.use[i] = !off[i];
    std::string problem;
    format = OutputFormat(output, format, formatOption->count() > 0, {"json", "chan", "gltf"}, &problem);
    if (problem.empty() && format == "gltf" && !IsGltfPath(output)) return "glTF wants -o OUT.glb or OUT.gltf";
    if (problem.empty() && !into.empty() && format != "gltf") return "--into wants -o OUT.glb or OUT.gltf";
    if (!cameraName.empty() && into.empty()) return "--camera-name is for --into";
    return problem;
  }

  std::vector<std::string> Inputs() const override {
    return into.empty() ? std::vector<std::string>{work.file} : std::vector<std::string>{work.file, into};
  }
  std::string Output() const override { return output; }

  int Run(std::ostream& out, std::ostream& err) override {
    const std::string node = cameraName.empty() ? StemOf(work.file) : cameraName;
    const int loaded = into.empty() ? EXIT_OK : scene.Load(into, node, err);
    if (loaded != EXIT_OK) return loaded;
    Session session(plugin.empty() ? PluginPath() : plugin, err);
    if (!session.Ready()) return EXIT_USAGE;
    headless::Host& host = session.host;
    INode* camera = host.CreateNode(NewDefaultCamera(FREE_CAMERA), "Camera01");
    host.Select(camera);
    ClassDesc* cd = session.plugin.MotionControlClass();
    if (!cd || !host.OpenUtility(cd) || host.RollupPages().empty()) {
      err << "mirova: " << session.plugin.Path() << " does not open the motion-control utility\n";
      return EXIT_REFUSED;
    }
    HWND panel = host.RollupPages().back().page;
    std::unique_ptr<PanelProgressEcho> progress;
    if (isatty(STDERR_FILENO)) progress = std::make_unique<PanelProgressEcho>(panel, stderr);
    int status = WorkPanel(panel, work, session.messages, err);
    progress.reset();
    if (status == EXIT_REFUSED) PrintReadFault(err, work.file, LoadedTake(cd).fault);
    if (status == EXIT_OK) {
      const PanelTake take = ReadPanel(panel);
      // The library takes an empty take as a success; the user should still hear of it.
      if (take.samples == 0)
        err << "mirova: " << Printable(work.file) << ": the take holds no samples, so the camera has no keys\n";
      bool binary = false;
      IsGltfPath(output, &binary);
      status = WriteReportTo(output, out, err, [&](std::ostream& to, std::string* problem) {
        if (!into.empty())
          return scene.Write(CameraKeys(camera), CameraFov(camera), output, binary, to, err, problem);
        return WriteCameraReport(camera, take, session.messages, format, binary, to, problem);
      });
    }
    host.CloseUtility();
    return status;
  }

 private:
  PanelWork work{"", "30"};
  bool off[kAxes] = {};
  std::string format = "json", output, plugin, into, cameraName;
  GltfSceneCamera scene;
  CLI::Option* formatOption = nullptr;
};

}  // namespace

std::unique_ptr<Command> MakeCameraCommand() { return std::make_unique<CameraCommand>(); }

}  // namespace cli
