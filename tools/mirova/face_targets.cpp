#include "face_targets.h"

#include <triobj.h>

#include "cli.h"
#include "mirovaobj.h"
#include "obj_file.h"

namespace cli {

namespace {

// The command line's names of the targets, in target order.
const char* const targetNames[NUM_FACE_TARGETS] = {
    "neutral",      "open",         "puckered",   "left-eyelid",  "left-eyebrow",  "left-cheek",
    "frown",        "left-squint",  "right-eyelid", "right-eyebrow", "right-cheek", "right-squint"};

int ExpressionTargetIndex(const std::string& name) {
  for (int i = TARGET_OPEN; i < NUM_FACE_TARGETS; ++i)
    if (name == targetNames[i]) return i;
  return -1;
}

}  // namespace

bool ParseTargetOption(const std::string& value, std::vector<TargetFile>* targets, std::string* problem) {
  size_t at = value.find('=');
  int index = at != std::string::npos ? ExpressionTargetIndex(value.substr(0, at)) : -1;
  if (index < 0 || at + 1 == value.size()) {
    *problem = "--target wants NAME=FILE.obj with NAME one of open, puckered, left-eyelid, left-eyebrow, "
               "left-cheek, frown, left-squint, right-eyelid, right-eyebrow, right-cheek, right-squint";
    return false;
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
      err << "mirova: the " << targetNames[target.target] << " target " << target.path << " has "
          << mesh.points.size() << " points, the Neutral has " << neutralPoints << "\n";
      return EXIT_REFUSED;
    }
    obj->ReplaceReference(target.target + 1, MakeTriObject(mesh));
  }
  return EXIT_OK;
}

}  // namespace cli
