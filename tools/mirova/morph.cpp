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
#include "command_line.h"
#include "expression.h"
#include "face_morph.h"
#include "face_targets.h"
#include "gltf_write.h"
#include "json.h"
#include "messages.h"
#include "mirovaobj.h"
#include "obj_file.h"
#include "output_file.h"
#include "plugin.h"

namespace cli {

namespace {

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

// The words of the command line before their checks.
struct MorphWords {
  std::vector<std::string> targets, settings;
  std::string method = "instance", time = "0";
};

void DefineMorphOptions(CLI::App& app, MorphRequest& request, MorphWords& words) {
  app.add_option("--neutral", request.neutral, "The Neutral face the object is created on")->type_name("FILE.obj");
  app.add_option("--target", words.targets, "A target's mesh, picked on Face Targets; NAME is one of " + TargetNames())
      ->type_name("NAME=FILE.obj")
      ->expected(1)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  app.add_option("--method", words.method, "The pick method's radio (instance)")
      ->type_name("copy|reference|instance|move");
  app.add_option("--set", words.settings,
                 "A value typed into a spinner, by the parameter's name (\"Mouth Vertical=50\", \"Scale: Frown=100\")")
      ->type_name("\"PARAM=PERCENT\"")
      ->expected(1)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  app.add_option("--time", words.time, "The time the object is evaluated at (0)")->type_name("TICKS");
  app.add_option("-o", request.output, "The blended mesh (OBJ), or the face with its targets (glTF)")
      ->type_name("OUT.obj|OUT.glb|OUT.gltf");
}

// "" when the words make a request, else what is wrong.
std::string CheckMorphWords(const MorphWords& words, MorphRequest& request) {
  std::string problem, left, right;
  for (const std::string& target : words.targets)
    if (!ParseTargetOption(target, &request.targets, &problem)) return problem;
  for (const std::string& setting : words.settings) {
    float percent = 0.0f;
    if (!SplitAtEquals(setting, left, right) || !ToNumber(right, percent))
      return "--set wants \"PARAM=PERCENT\" with a finite number, for example \"Mouth Vertical=50\"";
    request.settings.push_back({left, right, percent});
  }
  request.method = ParsePickMethod(words.method);
  if (request.method < 0) return "--method wants copy, reference, instance or move";
  if (!ToTicks(words.time, request.time)) return "--time wants a whole number of ticks";
  if (request.neutral.empty() || request.output.empty()) return "--neutral and -o are required";
  return "";
}

// The parameter the host lists under name, or -1.
int FindParameter(ExpressionObject* obj, const std::string& name) {
  for (int i = 0; i < obj->pblock->NumSubs(); ++i)
    if (name == obj->pblock->SubAnimName(i).data()) return i;
  return -1;
}

// The names the host lists the parameters under, quoted, for a name it
// does not know.
std::string ParameterNames(ExpressionObject* obj) {
  std::string names;
  for (int i = 0; i < obj->pblock->NumSubs(); ++i)
    names += (i ? ", \"" : "\"") + std::string(obj->pblock->SubAnimName(i).data()) + "\"";
  return names;
}

// Types the setting into its spinner, opening its rollup first as a user
// must. The spinner keeps to its range; a value it clamped is told on err.
bool TypeSetting(headless::Host& host, const LibraryAccess& library, const Setting& setting, int param,
                 std::ostream& err) {
  const char* title = "";
  const ParamUIDesc* desc = library.spinnerOf(param, &title);
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
int TypeSettings(headless::Host& host, const LibraryAccess& library, ExpressionObject* obj,
                 const std::vector<Setting>& settings, std::ostream& err) {
  for (const Setting& setting : settings) {
    int param = FindParameter(obj, setting.name);
    if (param < 0) {
      err << "mirova: no parameter is called \"" << setting.name << "\"; the parameters are "
          << ParameterNames(obj) << "\n";
      return EXIT_USAGE;
    }
    if (!TypeSetting(host, library, setting, param, err)) {
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
bool WriteMorph(const MorphRequest& request, const LibraryAccess& library, ExpressionObject* obj,
                const ObjMesh& result, std::ostream& to, std::string* problem) {
  bool binary = false;
  if (!IsGltfPath(request.output, &binary)) {
    WriteObj(to, result);
    return true;
  }
  return ExpressionGltf(library, obj, request.time, false, binary, to, problem);
}

}  // namespace

int RunMorph(const Args& args, std::ostream& out, std::ostream& err) {
  MorphRequest request;
  MorphWords words;
  CommandLine line("morph");
  DefineMorphOptions(line.App(), request, words);
  const int parsed = line.Parse(args, out, err);
  if (parsed >= 0) return parsed;
  std::string problem = CheckMorphWords(words, request);
  if (!problem.empty()) return line.Refuse(problem, err);
  Plugin plugin(ToolPluginPath());
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
  const LibraryAccess& library = *plugin.Library();
  if (status == EXIT_OK) status = TypeSettings(host, library, obj, request.settings, err);
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
      return WriteMorph(request, library, obj, result, to, problem);
    });
    if (written != EXIT_OK) return written;
  }
  WriteSummaryJson(out, request, result, messages);
  return failed ? EXIT_REFUSED : EXIT_OK;
}

}  // namespace cli
