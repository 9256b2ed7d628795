// Checks of a scene file's references, made before anything is wired from
// them (internal to the headless stand-in; what they refuse is listed in
// headless_scene.h).
#ifndef HEADLESS_SCENE_FILE_CHECK_H
#define HEADLESS_SCENE_FILE_CHECK_H
#include <ref.h>

#include <cstddef>
#include <string>
#include <vector>

#include "scene_file_read.h"

namespace headless::detail {

// Nesting no file of the host's comes near.
const size_t kMaxChunkDepth = 32;        // chunks inside chunks
const size_t kMaxReferenceChain = 100;   // records in a chain of references

// No record reaches itself through references, and no chain of references
// is longer than kMaxReferenceChain; false with error ("line N: ...")
// otherwise. Every reference must name a record of the file.
bool CheckReferenceGraph(const std::vector<Record>& records, std::string& error);

// Whether reference i of the record owner, made as maker (null for a node,
// made only later), may hold target.
bool AcceptsReference(const Record& owner, ReferenceTarget* maker, int i, ReferenceTarget* target);

}  // namespace headless::detail

#endif
