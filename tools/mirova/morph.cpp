// mirova morph: blends a face from OBJ meshes through the expression object,
// as a user would set it up in the host.
#include <headless.h>
#include <headless_host.h>
#include <triobj.h>

#include <cmath>
#include <cstdlib>
#include <utility>

#include "cli.h"
#include "json.h"
#include "messages.h"
#include "mirovaobj.h"
#include "obj_file.h"
#include "output_file.h"

namespace cli {

namespace {

const char morphUsage[] =
    "usage: mirova morph --neutral FILE.obj [--target NAME=FILE.obj ...] "
    "[--set \"PARAM=PERCENT\" ...] [--time TICKS] -o OUT.obj\n";

// The command line's names of the targets, in target order.
const char* const targetNames[NUM_FACE_TARGETS] = {
    "neutral",      "open",         "puckered",   "left-eyelid",  "left-eyebrow",  "left-cheek",
    "frown",        "left-squint",  "right-eyelid", "right-eyebrow", "right-cheek", "right-squint"};

struct MorphRequest {
  std::string neutral, output;
  std::vector<std::pair<int, std::string>> targets;     // target index, file
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

int ExpressionTargetIndex(const std::string& name) {
  for (int i = TARGET_OPEN; i < NUM_FACE_TARGETS; ++i)
    if (name == targetNames[i]) return i;
  return -1;
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
    int index = SplitAtEquals(value, left, right) ? ExpressionTargetIndex(left) : -1;
    if (index < 0 || right.empty()) {
      problem = "--target wants NAME=FILE.obj with NAME one of open, puckered, left-eyelid, left-eyebrow, "
                "left-cheek, frown, left-squint, right-eyelid, right-eyebrow, right-cheek, right-squint";
      return false;
    }
    for (const auto& target : request.targets) {
      if (target.first == index) {
        problem = "--target " + left + " is given twice";
        return false;
      }
    }
    request.targets.emplace_back(index, right);
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

// The expression object made on the node as creation makes it: the node's
// object becomes the Neutral, shared with the node (instance), with the
// node's object offset at time 0.
ExpressionObject* CreateOnNode(INode* node) {
  auto* obj = static_cast<ExpressionObject*>(GetExpressionObjectDesc()->Create(FALSE));
  obj->pickTargetIndex = TARGET_NEUTRAL;
  obj->targets[TARGET_NEUTRAL].offsetTM = node->GetObjectTM(0) * Inverse(node->GetNodeTM(0));
  obj->ReplaceReference(TARGET_NEUTRAL + 1, node->GetObjectRef());
  node->SetObjectRef(obj);
  return obj;
}

// The parameter the host lists under name, or -1.
int FindParameter(ExpressionObject* obj, const std::string& name) {
  for (int i = 0; i < obj->pblock->NumSubs(); ++i)
    if (name == obj->pblock->SubAnimName(i).data()) return i;
  return -1;
}

// Settings far past 100 % can carry points past a float's range, which no
// OBJ reader takes back.
bool AllFinite(const std::vector<Point3>& points) {
  for (const Point3& p : points)
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return false;
  return true;
}

std::string SummaryJson(const MorphRequest& request, const ObjMesh& result, const MessageLog& messages) {
  return "{\"output\": " + JsonString(request.output) + ", \"points\": " + std::to_string(result.points.size()) +
         ", \"faces\": " + std::to_string(result.polygons.size()) + ", \"time\": " +
         std::to_string(request.time) + ", \"messages\": " + messages.Json() + "}\n";
}

}  // namespace

int RunMorph(const Args& args, std::ostream& out, std::ostream& err) {
  MorphRequest request;
  std::string problem;
  if (!ParseMorphArgs(args, request, problem)) {
    err << "mirova: " << problem << "\n" << morphUsage;
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
  ExpressionObject* obj = CreateOnNode(node);

  for (const auto& target : request.targets) {
    ObjMesh mesh;
    if (!ReadObj(target.second, mesh, &problem)) {
      err << "mirova: " << problem << "\n";
      return EXIT_USAGE;
    }
    // Picking refuses such a shape: its points would not match the face's.
    if (mesh.points.size() != neutral.points.size()) {
      err << "mirova: the " << targetNames[target.first] << " target " << target.second << " has "
          << mesh.points.size() << " points, the Neutral has " << neutral.points.size() << "\n";
      return EXIT_REFUSED;
    }
    obj->ReplaceReference(target.first + 1, MakeTriObject(mesh));
  }
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
    OutputFile file(request.output);
    WriteObj(file.Stream(), result);
    if (!file.Commit(err)) return EXIT_USAGE;
  }
  out << SummaryJson(request, result, messages);
  return failed ? EXIT_REFUSED : EXIT_OK;
}

}  // namespace cli
