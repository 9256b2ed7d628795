// What the references of a loaded scene may hold and how they may chain.
#include "scene_file_check.h"

#include <headless_sdk.h>
#include <iparamb.h>

#include <algorithm>
#include <map>

namespace headless::detail {

bool CheckReferenceGraph(const std::vector<Record>& records, std::string& error) {
  std::map<int, size_t> position;
  for (size_t k = 0; k < records.size(); ++k) position[records[k].id] = k;
  // Records are taken from those that reference nothing on: a record is done
  // once every record it references is, and its chain is one longer than
  // the longest of theirs. What is never done lies on a cycle or leads into
  // one. No recursion, however the file nests.
  std::vector<std::vector<size_t>> referencedBy(records.size());
  std::vector<size_t> waiting(records.size()), chain(records.size(), 1), ready;
  for (size_t k = 0; k < records.size(); ++k) {
    waiting[k] = records[k].refs.size();
    for (const auto& ref : records[k].refs) referencedBy[position.at(ref.second)].push_back(k);
    if (waiting[k] == 0) ready.push_back(k);
  }
  size_t done = 0;
  for (; !ready.empty(); ++done) {
    const size_t k = ready.back();
    ready.pop_back();
    if (chain[k] > kMaxReferenceChain) {
      error = "line " + std::to_string(records[k].line) + ": references nest more than " +
              std::to_string(kMaxReferenceChain) + " deep";
      return false;
    }
    for (size_t owner : referencedBy[k]) {
      chain[owner] = std::max(chain[owner], chain[k] + 1);
      if (--waiting[owner] == 0) ready.push_back(owner);
    }
  }
  if (done == records.size()) return true;
  // Every record not done references one not done; following them for as
  // many steps as there are records must end on a cycle.
  size_t k = static_cast<size_t>(std::find_if(waiting.begin(), waiting.end(), [](size_t w) { return w > 0; }) -
                                 waiting.begin());
  for (size_t step = 0; step < records.size(); ++step) {
    for (const auto& ref : records[k].refs) {
      if (waiting[position.at(ref.second)] > 0) {
        k = position.at(ref.second);
        break;
      }
    }
  }
  error = "line " + std::to_string(records[k].line) + ": record " + std::to_string(records[k].id) +
          " references itself through a cycle";
  return false;
}

namespace {

bool IsOfSuperClass(ReferenceTarget* target, SClass_ID superID) { return target->SuperClassID() == superID; }

// A transform controller holds its position, rotation and scale controllers.
bool TransformPartFits(int i, ReferenceTarget* part) {
  static const SClass_ID parts[] = {CTRL_POSITION_CLASS_ID, CTRL_ROTATION_CLASS_ID, CTRL_SCALE_CLASS_ID};
  return i >= 0 && i < 3 && IsOfSuperClass(part, parts[i]);
}

}  // namespace

bool AcceptsReference(const Record& owner, ReferenceTarget* maker, int i, ReferenceTarget* target) {
  switch (owner.kind) {
    case RecordKind::Node:
      return (i == 0 && IsOfSuperClass(target, CTRL_MATRIX3_CLASS_ID)) || (i == 1 && headless::IsSceneObject(target));
    case RecordKind::ParamBlock: {
      auto* block = static_cast<IParamBlock*>(maker);
      return i < block->NumParams() && block->GetParameterType(i) == TYPE_FLOAT &&
             IsOfSuperClass(target, CTRL_FLOAT_CLASS_ID);
    }
    case RecordKind::Control:
      return maker->ClassID() == Class_ID(PRS_CONTROL_CLASS_ID, 0) && TransformPartFits(i, target);
    case RecordKind::Object: {
      headless::ReferenceCheck accepts = headless::FindReferenceCheck(maker->SuperClassID(), maker->ClassID());
      return i < maker->NumRefs() && accepts && accepts(i, target);
    }
  }
  return false;
}

}  // namespace headless::detail
