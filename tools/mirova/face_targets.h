// The expression targets as the command line names them: --target NAME=FILE.obj
// with NAME one of open, puckered, left-eyelid ... right-squint (target order).
#ifndef MIROVA_CLI_FACE_TARGETS_H
#define MIROVA_CLI_FACE_TARGETS_H
#include <ostream>
#include <string>
#include <vector>

class ExpressionObject;

namespace cli {

struct TargetFile {
  int target = 0;  // FaceTarget index, TARGET_OPEN or later
  std::string path;
};

// Adds the target that value (NAME=FILE.obj) names; false, with *problem
// listing the names, when it names none.
bool ParseTargetOption(const std::string& value, std::vector<TargetFile>* targets, std::string* problem);

// Reads each file and makes its mesh the object's target. A shape whose point
// count is not neutralPoints is refused, as picking refuses it. Returns
// EXIT_OK, EXIT_USAGE for a file that cannot be read, EXIT_REFUSED for a
// refused shape (both told on err).
int AssignTargets(ExpressionObject* obj, const std::vector<TargetFile>& targets, size_t neutralPoints,
                  std::ostream& err);

}  // namespace cli

#endif
