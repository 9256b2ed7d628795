// The expression targets as the command line names them: --target NAME=FILE.obj
// with NAME one of open, puckered, left-eyelid ... right-squint (target order).
#ifndef MIROVA_CLI_FACE_TARGETS_H
#define MIROVA_CLI_FACE_TARGETS_H
#include <CLI/CLI.hpp>
#include <headless_host.h>

#include <ostream>
#include <string>
#include <vector>

#include "obj_file.h"

namespace cli {

struct TargetFile {
  int target = 0;    // FaceTarget index, TARGET_OPEN or later
  std::string path;  // empty: the built-in face's shape
};

// The names --target takes, in target order: "open, puckered, ...".
std::string TargetNames();

// Declares --target NAME=FILE.obj, any number of times, into words.
void AddTargetOption(CLI::App& app, std::vector<std::string>& words);

// The targets the words name; false, with *problem, for a word that names
// none (the names listed) or a target named twice.
bool ParseTargetOptions(const std::vector<std::string>& words, std::vector<TargetFile>* targets,
                        std::string* problem);

// The targets' files, in the order given (the built-in shapes have none).
std::vector<std::string> TargetPaths(const std::vector<TargetFile>& targets);

// Adds the built-in face's shape for each target not among targets.
void AddBuiltInTargets(std::vector<TargetFile>* targets);

// The pick method --method names (copy, reference, instance, move), or -1.
int ParsePickMethod(const std::string& name);

// Picks each target as a user does on the Face Targets rollup of the object
// being created: the method's radio clicked first, then for each target a
// node holding its mesh, the slot's button pressed and the node clicked in
// the viewport (the node set beside the others, so that the click finds it
// alone). A pick the object refuses (another point count than the
// Neutral's) is ended with a right click. Returns as AssignTargets does.
int PickTargets(headless::Host& host, const std::vector<TargetFile>& targets, int method, const ObjMesh& neutral,
                std::ostream& err);

}  // namespace cli

#endif
