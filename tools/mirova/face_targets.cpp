#include "face_targets.h"

#include <triobj.h>

#include <cctype>

#include "cli.h"
#include "mirovaobj.h"
#include "obj_file.h"

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

std::string TargetNameList() {
  std::string list;
  for (const ExpressionChannel& c : expressionChannels) list += (list.empty() ? "" : ", ") + TargetName(c.target);
  return list;
}

}  // namespace

bool ParseTargetOption(const std::string& value, std::vector<TargetFile>* targets, std::string* problem) {
  size_t at = value.find('=');
  int index = at != std::string::npos ? ExpressionTargetIndex(value.substr(0, at)) : -1;
  if (index < 0 || at + 1 == value.size()) {
    *problem = "--target wants NAME=FILE.obj with NAME one of " + TargetNameList();
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

int AssignTargets(ExpressionObject* obj, const std::vector<TargetFile>& targets, size_t neutralPoints,
                  std::ostream& err) {
  for (const TargetFile& target : targets) {
    ObjMesh mesh;
    std::string problem;
    if (!ReadObj(target.path, mesh, &problem)) {
      err << "mirova: " << problem << "\n";
      return EXIT_USAGE;
    }
    // Picking refuses such a shape: its points would not match the face's.
    if (mesh.points.size() != neutralPoints) {
      err << "mirova: the " << TargetName(target.target) << " target " << target.path << " has "
          << mesh.points.size() << " points, the Neutral has " << neutralPoints << "\n";
      return EXIT_REFUSED;
    }
    obj->ReplaceReference(target.target + 1, MakeTriObject(mesh));
  }
  return EXIT_OK;
}

}  // namespace cli
