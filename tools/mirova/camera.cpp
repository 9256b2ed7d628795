// mirova camera FILE.asc: keys a free camera from a motion-control take by
// working the utility's panel as a user does, then writes the camera's keys.
#include <headless.h>
#include <headless_host.h>
#include <standard_objects.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "chan.h"
#include "cli.h"
#include "command_line.h"
#include "gltf_camera.h"
#include "gltf_write.h"
#include "interchange.h"
#include "json.h"
#include "messages.h"
#include "output_file.h"
#include "plugin.h"
#include "read_fault.h"
#include "tzmotion.h"

namespace cli {

namespace {

// The panel's six axis check boxes, by their labels.
const struct {
  const char* option;
  const char* label;
} axisBoxes[] = {
    {"--no-east-west", "East-West (X Axis)"}, {"--no-track", "Track (Y Axis)"},
    {"--no-north-south", "North-South (Z Axis)"}, {"--no-tilt", "Tilt (About X Axis)"},
    {"--no-roll", "Roll (About Y Axis)"}, {"--no-pan", "Pan (About Z Axis)"},
};
const int kAxes = 6;

struct CameraOptions {
  std::string file;
  std::string fps = "30";
  bool use[kAxes] = {true, true, true, true, true, true};
  std::string format = "json";
  std::string output;
  std::string plugin;
};

bool AllDigits(const std::string& s) {
  if (s.empty()) return false;
  for (char c : s)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

// The command line as CameraOptions; -1 to go on, else the exit status.
int ParseOptions(const Args& args, CameraOptions* o, std::ostream& out, std::ostream& err) {
  CommandLine line("camera");
  CLI::App& app = line.App();
  app.add_option("FILE.asc", o->file, "The motion-control take, opened with the panel's \"Open...\"")
      ->required()
      ->type_name("");
  app.add_option("--fps", o->fps, "Frames a second typed into the FPS box (30); digits only, 1 to 4800")
      ->type_name("N");
  bool off[kAxes] = {};
  for (int i = 0; i < kAxes; ++i)
    app.add_flag(axisBoxes[i].option, off[i], std::string("Clear the \"") + axisBoxes[i].label + "\" box");
  app.add_option("--format", o->format, "json (default), chan, or gltf to -o OUT.glb or OUT.gltf")
      ->type_name("json|chan|gltf")
      ->check(CLI::IsMember({"json", "chan", "gltf"}).description(""));
  app.add_option("-o", o->output, "Write to OUT, whole or not at all, instead of standard output")
      ->type_name("OUT");
  app.add_option("--plugin", o->plugin, "The plug-in module to load (mirova.dlu of this install)")
      ->type_name("FILE");
  const int parsed = line.Parse(args, out, err);
  if (parsed >= 0) return parsed;
  for (int i = 0; i < kAxes; ++i) o->use[i] = !off[i];
  // The FPS box takes digits only; anything else could not be typed into it.
  if (!AllDigits(o->fps)) return line.Refuse("--fps wants digits, as the FPS box takes them: " + o->fps, err);
  if (o->format == "gltf" && !IsGltfPath(o->output))
    return line.Refuse("--format gltf wants -o OUT.glb or OUT.gltf", err);
  return -1;
}

// A control of the panel found as a user finds it: by its kind and label.
HWND FindControl(HWND panel, const std::string& className, const char* text = nullptr) {
  for (HWND child : headless::Children(panel)) {
    headless::WindowInfo info = headless::Inspect(child);
    if (info.className == className && (!text || info.text == text)) return child;
  }
  return nullptr;
}

std::string TextOf(HWND control) { return headless::Inspect(control).text; }

// The display to the right of a label ("Name:", "Samples:").
std::string DisplayAfter(HWND panel, const char* label) {
  HWND found = FindControl(panel, "Static", label);
  return found ? TextOf(GetWindow(found, GW_HWNDNEXT)) : std::string();
}

// What the panel shows of the take; the keys stay on the camera, where the
// report reads them.
struct CameraTake {
  std::string name;
  int fps = 0;
  int samples = 0;
  INode* camera = nullptr;
};

CameraTake ReadCamera(INode* camera, HWND panel) {
  CameraTake take;
  take.name = DisplayAfter(panel, "Name:");
  take.samples = std::atoi(DisplayAfter(panel, "Samples:").c_str());
  take.fps = std::atoi(TextOf(FindControl(panel, "Edit")).c_str());
  take.camera = camera;
  return take;
}

int KeyCount(INode* camera) { return camera->GetTMController()->GetPositionController()->NumKeys(); }

// The camera at its i-th position key.
CameraKey KeyOf(INode* camera, int i) {
  Control* tm = camera->GetTMController();
  CameraKey key;
  key.ticks = tm->GetPositionController()->GetKeyTime(i);
  Interval valid = FOREVER;
  tm->GetPositionController()->GetValue(key.ticks, &key.position, valid, CTRL_ABSOLUTE);
  tm->GetRotationController()->GetValue(key.ticks, &key.rotation, valid, CTRL_ABSOLUTE);
  return key;
}

// Every key, for the writers that take them whole.
std::vector<CameraKey> KeysOf(INode* camera) {
  std::vector<CameraKey> keys(static_cast<size_t>(KeyCount(camera)));
  for (size_t i = 0; i < keys.size(); ++i) keys[i] = KeyOf(camera, static_cast<int>(i));
  return keys;
}

Point3 ScaleOf(INode* camera) {
  ScaleValue scale;
  Interval valid = FOREVER;
  camera->GetTMController()->GetScaleController()->GetValue(0, &scale, valid, CTRL_ABSOLUTE);
  return scale.s;
}

// Horizontal, in radians.
float FovOf(INode* camera) { return static_cast<GenCamera*>(camera->GetObjectRef())->GetFOV(); }

void WriteTakeJson(std::ostream& out, const CameraTake& take, const MessageLog& messages) {
  JsonWriter json(out);
  json.BeginObject().Key("file").String(take.name).Key("fps").Int(take.fps).Key("samples").Int(take.samples);
  const int keys = KeyCount(take.camera);
  json.Key("position").BeginArray();
  for (int i = 0; i < keys; ++i) {
    const CameraKey key = KeyOf(take.camera, i);
    const Point3& p = key.position;
    json.BeginArray().Int(key.ticks).Float(p.x).Float(p.y).Float(p.z).EndArray();
  }
  json.EndArray().Key("rotation").BeginArray();
  for (int i = 0; i < keys; ++i) {
    const CameraKey key = KeyOf(take.camera, i);
    const Quat q = RightHanded(key.rotation);
    json.BeginArray().Int(key.ticks).Float(q.x).Float(q.y).Float(q.z).Float(q.w).EndArray();
  }
  const Point3 scale = ScaleOf(take.camera);
  json.EndArray().Key("scale").BeginArray().Float(scale.x).Float(scale.y).Float(scale.z).EndArray();
  json.Key("messages");
  messages.WriteJson(json);
  json.EndObject();
  out << "\n";
}

// The user at the panel: Open... with the file, the rate typed, the check
// boxes set, Apply To Camera. EXIT_REFUSED when the library said no in a
// message box or the panel could not be worked; EXIT_USAGE when the open
// dialog would not take the file.
int WorkPanel(HWND panel, const CameraOptions& o, const MessageLog& messages, std::ostream& err) {
  size_t shown = messages.Boxes().size();
  headless::AnswerNextOpenDialog(o.file);
  if (!headless::Click(FindControl(panel, "Button", "Open..."))) return EXIT_REFUSED;
  if (headless::OpenDialogs().empty() || headless::OpenDialogs().back().cancelled) {
    err << "mirova: cannot open " << o.file << "\n";
    return EXIT_USAGE;
  }
  if (messages.Boxes().size() > shown) return EXIT_REFUSED;
  HWND fps = FindControl(panel, "Edit");
  if (!fps || !headless::Type(panel, GetDlgCtrlID(fps), o.fps)) return EXIT_REFUSED;
  for (int i = 0; i < kAxes; ++i) {
    HWND box = FindControl(panel, "Button", axisBoxes[i].label);
    if (!box) return EXIT_REFUSED;
    bool checked = SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (checked != o.use[i] && !headless::Click(box)) return EXIT_REFUSED;
  }
  bool applied = headless::Click(FindControl(panel, "Button", "Apply To Camera"));
  return applied && messages.Boxes().size() == shown ? EXIT_OK : EXIT_REFUSED;
}

// Writes the take in the format asked for; false, with *problem, when its
// keys do not fit that format.
bool WriteTake(const CameraTake& take, const CameraOptions& o, const MessageLog& messages, std::ostream& to,
               std::string* problem) {
  bool binary = false;
  if (o.format == "chan")
    WriteChan(to, KeysOf(take.camera), take.fps);
  else if (o.format == "gltf" && IsGltfPath(o.output, &binary))
    return WriteCameraGltf(KeysOf(take.camera), FovOf(take.camera), binary, to, problem);
  else
    WriteTakeJson(to, take, messages);
  return true;
}

// The take as the module's utility read it; the class descriptor hands out
// the one utility object.
const MotionData& LoadedTake(ClassDesc* cd) {
  return static_cast<MotionControlUtility*>(cd->Create(FALSE))->motionData;
}

}  // namespace

int RunCamera(const Args& args, std::ostream& out, std::ostream& err) {
  CameraOptions o;
  const int parsed = ParseOptions(args, &o, out, err);
  if (parsed >= 0) return parsed;
  if (std::FILE* probe = std::fopen(o.file.c_str(), "rt")) {
    std::fclose(probe);
  } else {
    err << "mirova: cannot open " << o.file << "\n";
    return EXIT_USAGE;
  }
  // First in, last out: the host, and the utility it holds open, go before
  // the module does.
  Plugin plugin(o.plugin.empty() ? PluginPath(Args()) : o.plugin);
  if (!plugin.Loaded()) {
    ReportNotLoaded(plugin, err);
    return EXIT_USAGE;
  }
  int status = EXIT_REFUSED;
  MessageLog messages(err);
  headless::Host host;
  INode* camera = host.CreateNode(NewDefaultCamera(FREE_CAMERA), "Camera01");
  host.Select(camera);
  ClassDesc* cd = plugin.MotionControlClass();
  if (!cd || !host.OpenUtility(cd) || host.RollupPages().empty()) {
    err << "mirova: " << plugin.Path() << " does not open the motion-control utility\n";
  } else {
    HWND panel = host.RollupPages().back().page;
    status = WorkPanel(panel, o, messages, err);
    if (status == EXIT_REFUSED) PrintReadFault(err, o.file, LoadedTake(cd).fault);
    if (status == EXIT_OK) {
      const CameraTake take = ReadCamera(camera, panel);
      status = WriteReportTo(o.output, out, err, [&](std::ostream& to, std::string* problem) {
        return WriteTake(take, o, messages, to, problem);
      });
    }
    host.CloseUtility();
  }
  return status;
}

}  // namespace cli
