// mirova morph: blends a face from OBJ meshes through the expression object,
// as a user would set it up in the host.
#include <headless.h>
#include <headless_host.h>
#include <triobj.h>

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
#include "obj_file.h"
#include "output_file.h"
#include "plugin.h"

namespace cli {

namespace {

const char morphUsage[] =
    "usage: mirova morph --neutral FILE.obj [--target NAME=FILE.obj ...] "
    "[--set \"PARAM=PERCENT\" ...] [--time TICKS] -o OUT.obj|OUT.glb|OUT.gltf\n";

struct MorphRequest {
  std::string neutral, output;
  std::vector<TargetFile> targets;
  std::vector<std::pair<std::string, float>> settings;  // parameter name, percent
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
    request.settings.emplace_back(left, percent);
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
  std::string gltf;
  if (!ExpressionGltf(obj, request.time, false, binary, &gltf, problem)) return false;
  to << gltf;
  return true;
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
  ExpressionObject* obj = CreateOnNode(plugin.ExpressionObjectClass(), node);

  int assigned = AssignTargets(obj, request.targets, neutral.points.size(), err);
  if (assigned != EXIT_OK) return assigned;
  for (const auto& setting : request.settings) {
    int param = FindParameter(obj, setting.first);
    if (param < 0) {
      err << "mirova: no parameter is called \"" << setting.first << "\"\n";
      return EXIT_USAGE;
    }
    obj->pblock->SetValue(param, 0, obj->pblock->GetParamDimension(param)->UnConvert(setting.second));
  }

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
