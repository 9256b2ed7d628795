#include "face_targets.h"

#include <headless.h>
#include <triobj.h>

#include <algorithm>
#include <cctype>
#include <cmath>

#include "cli.h"
#include "bundled_face.h"
#include "expression.h"
#include "mirovaobj.h"
#include "obj_file.h"
#include "resource.h"

namespace cli {

namespace {

// The command line's name of an expression target: its name in lower case,
// words joined by '-' ("left-eyelid").
std::string TargetName(int target) {
  std::string name;
  for (const ExpressionChannel& c : expressionChannels)
    if (c.target == target) name = c.targetName;
  for (char& ch : name) ch = ch == ' ' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return name;
}

int ExpressionTargetIndex(const std::string& name) {
  for (const ExpressionChannel& c : expressionChannels)
    if (name == TargetName(c.target)) return c.target;
  return -1;
}

}  // namespace

std::string TargetNames() {
  std::string list;
  for (const ExpressionChannel& c : expressionChannels) list += (list.empty() ? "" : ", ") + TargetName(c.target);
  return list;
}

namespace {

void ReportPointCount(int target, const std::string& path, size_t points, size_t neutralPoints,
                      std::ostream& err) {
  err << "mirova: the " << TargetName(target) << " target " << path << " has " << points
      << " points, the Neutral has " << neutralPoints << "\n";
}

// What the slot's button reads: "Assigned" once a pick filled it.
std::string ButtonText(HWND page, int id) {
  char text[64] = "";
  GetWindowTextA(GetDlgItem(page, id), text, sizeof text);
  return text;
}

const float gapBetweenNodes = 10.0f;

// Puts node right of everything placed so far, so that the click meant for
// it lands on it alone, whatever the shapes' extents. Only the node moves:
// the object offset, which the target keeps, stays as it was.
void PlaceBeside(INode* node, const ObjMesh& mesh, float* nextX) {
  float lo = 0.0f, hi = 0.0f;
  for (size_t i = 0; i < mesh.points.size(); ++i) {
    lo = i ? std::min(lo, mesh.points[i].x) : mesh.points[i].x;
    hi = i ? std::max(hi, mesh.points[i].x) : mesh.points[i].x;
  }
  Control* tm = node->GetTMController();
  Control* position = tm ? tm->GetPositionController() : nullptr;
  Point3 at(*nextX - lo, 0.0f, 0.0f);
  if (!position || !std::isfinite(at.x) || !std::isfinite(hi - lo)) return;
  position->SetValue(0, &at);
  *nextX += hi - lo + gapBetweenNodes;
}


const int methodRadio[] = {IDC_PICK_COPY, IDC_PICK_REFERENCE, IDC_PICK_INSTANCE, IDC_PICK_MOVE};

}  // namespace

int ParsePickMethod(const std::string& name) {
  static const char* const names[] = {"copy", "reference", "instance", "move"};
  for (int m = 0; m < 4; ++m)
    if (name == names[m]) return m;
  return -1;
}

int PickTargets(headless::Host& host, const std::vector<TargetFile>& targets, int method, const ObjMesh& neutral,
                std::ostream& err) {
  const size_t neutralPoints = neutral.points.size();
  float nextX = gapBetweenNodes;
  for (const Point3& p : neutral.points) nextX = std::max(nextX, p.x + gapBetweenNodes);
  HWND page = RollupPage(host, "Face Targets");
  if (!page || method < 0 || method > 3) {
    err << "mirova: the Face Targets rollup is not open\n";
    return EXIT_REFUSED;
  }
  headless::Click(page, methodRadio[method]);
  for (const TargetFile& target : targets) {
    ObjMesh mesh;
    std::string problem;
    const bool read = target.path.empty() ? ReadBuiltInShape(target.target, mesh, &problem)
                                          : ReadObj(target.path, mesh, &problem);
    if (!read) {
      err << "mirova: " << problem << "\n";
      return EXIT_USAGE;
    }
    INode* node = host.CreateNode(MakeTriObject(mesh), TargetName(target.target).c_str());
    PlaceBeside(node, mesh, &nextX);
    const int button = IDC_TARGET_NEUTRAL + target.target;
    headless::Click(page, button);
    host.ClickNode(node);
    if (ButtonText(page, button) != "Assigned") {
      host.RightClick();
      ReportPointCount(target.target, target.path, mesh.points.size(), neutralPoints, err);
      return EXIT_REFUSED;
    }
  }
  return EXIT_OK;
}

namespace {

// Adds the target that value (NAME=FILE.obj) names.
bool ParseTargetOption(const std::string& value, std::vector<TargetFile>* targets, std::string* problem) {
  size_t at = value.find('=');
  int index = at != std::string::npos ? ExpressionTargetIndex(value.substr(0, at)) : -1;
  if (index < 0 || at + 1 == value.size()) {
    *problem = "--target wants NAME=FILE.obj with NAME one of " + TargetNames();
    return false;
  }
  for (const TargetFile& given : *targets) {
    if (given.target == index) {
      *problem = "--target " + value.substr(0, at) + " is given twice";
      return false;
    }
  }
  targets->push_back({index, value.substr(at + 1)});
  return true;
}

}  // namespace

void AddTargetOption(CLI::App& app, std::vector<std::string>& words) {
  app.add_option("--target", words, "A target's mesh, picked on Face Targets; NAME is one of " + TargetNames())
      ->type_name("NAME=FILE.obj")
      ->expected(1)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
}

bool ParseTargetOptions(const std::vector<std::string>& words, std::vector<TargetFile>* targets,
                        std::string* problem) {
  for (const std::string& word : words)
    if (!ParseTargetOption(word, targets, problem)) return false;
  return true;
}

std::vector<std::string> TargetPaths(const std::vector<TargetFile>& targets) {
  std::vector<std::string> paths;
  for (const TargetFile& target : targets)
    if (!target.path.empty()) paths.push_back(target.path);
  return paths;
}

void AddBuiltInTargets(std::vector<TargetFile>* targets) {
  for (const ExpressionChannel& c : expressionChannels) {
    bool given = false;
    for (const TargetFile& target : *targets) given = given || target.target == c.target;
    if (!given) targets->push_back({c.target, ""});
  }
}

}  // namespace cli
