// mirova morph: blends a face from OBJ meshes through the expression object,
// as a user would set it up in the host.
#include <custcont.h>
#include <headless.h>
#include <headless_controls.h>
#include <headless_host.h>
#include <triobj.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "cli.h"
#include "expression.h"
#include "face_morph.h"
#include "face_targets.h"
#include "gltf_write.h"
#include "json.h"
#include "messages.h"
#include "mirovaobj_ui.h"
#include "obj_file.h"
#include "output_file.h"
#include "plugin.h"

namespace cli {

namespace {

const char morphUsage[] =
    "usage: mirova morph --neutral FILE.obj [--target NAME=FILE.obj ...] "
    "[--method copy|reference|instance|move] [--set \"PARAM=PERCENT\" ...] [--time TICKS] "
    "-o OUT.obj|OUT.glb|OUT.gltf\n";

// One --set: the parameter's name, the text typed into its spinner and the
// number it reads as.
struct Setting {
  std::string name, text;
  float percent = 0.0f;
};

struct MorphRequest {
  std::string neutral, output;
  std::vector<TargetFile> targets;
  int method = PICK_INSTANCE;
  std::vector<Setting> settings;
  TimeValue time = 0;
};

bool SplitAtEquals(const std::string& s, std::string& left, std::string& right) {
  size_t at = s.find('=');
  if (at == std::string::npos || at == 0) return false;
  left = s.substr(0, at);
  right = s.substr(at + 1);
  return true;
}

// A finite number: inf, nan and what overflows a float are not percentages.
bool ToNumber(const std::string& s, float& v) {
  char* end = nullptr;
  v = std::strtof(s.c_str(), &end);
  return !s.empty() && *end == '\0' && std::isfinite(v);
}

bool ToTicks(const std::string& s, TimeValue& t) {
  char* end = nullptr;
  long v = std::strtol(s.c_str(), &end, 10);
  if (s.empty() || *end != '\0' || v < -2147483647L || v > 2147483647L) return false;
  t = static_cast<TimeValue>(v);
  return true;
}

bool ParseOption(const std::string& option, const std::string& value, MorphRequest& request,
                 std::string& problem) {
  std::string left, right;
  if (option == "--neutral") {
    request.neutral = value;
  } else if (option == "-o") {
    request.output = value;
  } else if (option == "--target") {
    return ParseTargetOption(value, &request.targets, &problem);
  } else if (option == "--set") {
    float percent = 0.0f;
    if (!SplitAtEquals(value, left, right) || !ToNumber(right, percent)) {
      problem = "--set wants \"PARAM=PERCENT\" with a finite number, for example \"Mouth Vertical=50\"";
      return false;
    }
    request.settings.push_back({left, right, percent});
  } else if (option == "--method") {
    request.method = ParsePickMethod(value);
    if (request.method < 0) {
      problem = "--method wants copy, reference, instance or move";
      return false;
    }
  } else if (option == "--time") {
    if (!ToTicks(value, request.time)) {
      problem = "--time wants a whole number of ticks";
      return false;
    }
  } else {
    problem = "unknown option " + option;
    return false;
  }
  return true;
}

bool ParseMorphArgs(const Args& args, MorphRequest& request, std::string& problem) {
  for (size_t i = 0; i < args.size(); i += 2) {
    if (i + 1 >= args.size()) {
      problem = args[i] + " wants a value";
      return false;
    }
    if (!ParseOption(args[i], args[i + 1], request, problem)) return false;
  }
  if (request.neutral.empty() || request.output.empty()) {
    problem = "--neutral and -o are required";
    return false;
  }
  return true;
}

// The parameter the host lists under name, or -1.
int FindParameter(ExpressionObject* obj, const std::string& name) {
  for (int i = 0; i < obj->pblock->NumSubs(); ++i)
    if (name == obj->pblock->SubAnimName(i).data()) return i;
  return -1;
}

// Where a user finds parameter param: its rollup and its spinner there.
const ParamUIDesc* SpinnerOf(int param, const char** title) {
  for (int k = 0; k < NUM_CHANNELS; ++k) {
    if (percentDescs[k].index == param) return *title = "Percentages", &percentDescs[k];
    if (scaleDescs[k].index == param) return *title = "Scales", &scaleDescs[k];
  }
  return nullptr;
}

// Types the setting into its spinner, opening its rollup first as a user
// must. The spinner keeps to its range; a value it clamped is told on err.
bool TypeSetting(headless::Host& host, const Setting& setting, int param, std::ostream& err) {
  const char* title = "";
  const ParamUIDesc* desc = SpinnerOf(param, &title);
  HWND page = desc ? RollupPage(host, title) : nullptr;
  if (!page) return false;
  host.SetRollupOpen(page, true);
  if (!headless::TypeInCustEdit(page, desc->idEdit, setting.text)) return false;
  ISpinnerControl* spinner = GetISpinner(GetDlgItem(page, desc->idSpin));
  if (!spinner) return false;
  const float used = spinner->GetFVal();
  ReleaseISpinner(spinner);
  if (std::fabs(used - setting.percent) > 1e-5f * std::max(1.0f, std::fabs(setting.percent)))
    err << "mirova: " << setting.name << "=" << setting.text << " is outside the spinner's range "
        << desc->lowLim << " to " << desc->highLim << "; " << used << " was used\n";
  return true;
}

// Each --set typed into its spinner; a name the host does not list is a
// usage error.
int TypeSettings(headless::Host& host, ExpressionObject* obj, const std::vector<Setting>& settings,
                 std::ostream& err) {
  for (const Setting& setting : settings) {
    int param = FindParameter(obj, setting.name);
    if (param < 0) {
      err << "mirova: no parameter is called \"" << setting.name << "\"\n";
      return EXIT_USAGE;
    }
    if (!TypeSetting(host, setting, param, err)) {
      err << "mirova: the spinner of " << setting.name << " cannot be reached\n";
      return EXIT_REFUSED;
    }
  }
  return EXIT_OK;
}

void WriteSummaryJson(std::ostream& out, const MorphRequest& request, const ObjMesh& result,
                      const MessageLog& messages) {
  JsonWriter json(out);
  json.BeginObject().Key("output").String(request.output);
  json.Key("points").Int(static_cast<long long>(result.points.size()));
  json.Key("faces").Int(static_cast<long long>(result.polygons.size())).Key("time").Int(request.time);
  json.Key("messages");
  messages.WriteJson(json);
  json.EndObject();
  out << "\n";
}

// Settings far past 100 % can carry points past a float's range, which no
// reader takes back.
bool AllFinite(const std::vector<Point3>& points) {
  for (const Point3& p : points)
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return false;
  return true;
}

// The blended mesh as OBJ, or the mesh with its targets and the set weights
// as glTF (by the output's extension).
bool WriteMorph(const MorphRequest& request, ExpressionObject* obj, const ObjMesh& result, std::ostream& to,
                std::string* problem) {
  bool binary = false;
  if (!IsGltfPath(request.output, &binary)) {
    WriteObj(to, result);
    return true;
  }
  return ExpressionGltf(obj, request.time, false, binary, to, problem);
}

}  // namespace

int RunMorph(const Args& args, std::ostream& out, std::ostream& err) {
  MorphRequest request;
  std::string problem;
  if (!ParseMorphArgs(args, request, problem)) {
    err << "mirova: " << problem << "\n" << morphUsage;
    return EXIT_USAGE;
  }
  Plugin plugin(PluginPath(Args()));
  if (!plugin.Loaded()) {
    ReportNotLoaded(plugin, err);
    return EXIT_USAGE;
  }
  headless::Host host;
  MessageLog messages(err);
  size_t assertsBefore = headless::AssertReports().size();
  ObjMesh neutral;
  if (!ReadObj(request.neutral, neutral, &problem)) {
    err << "mirova: " << problem << "\n";
    return EXIT_USAGE;
  }
  INode* node = host.CreateNode(MakeTriObject(neutral), "Face");
  ExpressionObject* obj = CreateFromPanel(host, plugin.ExpressionObjectClass(), node);
  if (!obj) {
    err << "mirova: the expression object cannot be created on the Neutral\n";
    return EXIT_REFUSED;
  }
  int status = PickTargets(host, request.targets, request.method, neutral, err);
  if (status == EXIT_OK) status = TypeSettings(host, obj, request.settings, err);
  host.LeaveCreatePanel();
  if (status != EXIT_OK) return status;

  ObjectState os = node->GetObjectRef()->Eval(request.time);
  ObjMesh result;
  result.polygons = neutral.polygons;
  for (int i = 0; i < os.obj->NumPoints(); ++i) result.points.push_back(os.obj->GetPoint(i));
  bool failed = headless::AssertReports().size() != assertsBefore || !messages.Boxes().empty();
  if (!AllFinite(result.points)) {
    err << "mirova: the blend carries points past a float's range; nothing is written\n";
    failed = true;
  }
  if (!failed) {
    const int written = WriteReportTo(request.output, out, err, [&](std::ostream& to, std::string* problem) {
      return WriteMorph(request, obj, result, to, problem);
    });
    if (written != EXIT_OK) return written;
  }
  WriteSummaryJson(out, request, result, messages);
  return failed ? EXIT_REFUSED : EXIT_OK;
}

}  // namespace cli
