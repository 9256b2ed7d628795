// The directory of classes the host can make by id: the stand-in's own, and
// those the headless user registers.
#include <classdir.h>
#include <headless_sdk.h>
#include <plugapi.h>

#include <map>
#include <set>
#include <utility>

#include "builtin_classes.h"
#include "missing.h"

namespace {

using ClassKey = std::pair<SClass_ID, Class_ID>;

struct Entry {
  ClassDesc* cd;
  headless::ReferenceCheck accepts;
};

std::map<ClassKey, Entry>& Directory() {
  static std::map<ClassKey, Entry> directory;
  if (directory.empty()) {
    for (ClassDesc* cd : {GetTriObjectDesc(), GetBoxObjectDesc(), GetSprayObjectDesc(), GetFreeCameraDesc(),
                          GetTargetCameraDesc(), GetOmniLightDesc()})
      directory[{cd->SuperClassID(), cd->ClassID()}] = {cd, nullptr};
    ClassDesc* pipeline = GetDerivedObjectDesc();
    directory[{pipeline->SuperClassID(), pipeline->ClassID()}] = {
        pipeline, [](int i, ReferenceTarget* base) { return i == 0 && headless::IsSceneObject(base); }};
  }
  return directory;
}

// Never destroyed: descriptors of modules and of the program itself go at
// exit in no set order.
std::set<const ClassDesc*>& LiveDescriptors() {
  static auto* live = new std::set<const ClassDesc*>;
  return *live;
}

}  // namespace

ClassDesc::ClassDesc() { LiveDescriptors().insert(this); }
ClassDesc::ClassDesc(const ClassDesc&) { LiveDescriptors().insert(this); }
ClassDesc::~ClassDesc() { LiveDescriptors().erase(this); }

int headless::LiveClassDescs(Class_ID classID) {
  int count = 0;
  for (const ClassDesc* cd : LiveDescriptors()) count += const_cast<ClassDesc*>(cd)->ClassID() == classID;
  return count;
}

ClassDesc* FindClassDesc(SClass_ID superID, Class_ID classID) {
  auto it = Directory().find({superID, classID});
  return it == Directory().end() ? nullptr : it->second.cd;
}

void* CreateInstance(SClass_ID superID, Class_ID classID) {
  ClassDesc* cd = FindClassDesc(superID, classID);
  if (!cd) headless::detail::Missing("CreateInstance of an unregistered class");
  return cd->Create(FALSE);
}

namespace headless {

void RegisterClassDesc(ClassDesc* cd, ReferenceCheck accepts) {
  if (cd) Directory()[{cd->SuperClassID(), cd->ClassID()}] = {cd, accepts};
}

ReferenceCheck FindReferenceCheck(SClass_ID superID, Class_ID classID) {
  auto it = Directory().find({superID, classID});
  return it == Directory().end() ? nullptr : it->second.accepts;
}

bool IsSceneObject(ReferenceTarget* target) {
  switch (target ? target->SuperClassID() : 0) {
    case GEOMOBJECT_CLASS_ID:
    case SHAPE_CLASS_ID:
    case CAMERA_CLASS_ID:
    case LIGHT_CLASS_ID:
    case GEN_DERIVOB_CLASS_ID: return true;
    default: return false;
  }
}

bool IsParamBlockOf(ReferenceTarget* target, const ParamVersionDesc* versions, int count) {
  if (!target || target->SuperClassID() != PARAMETER_BLOCK_CLASS_ID) return false;
  auto* block = static_cast<IParamBlock*>(target);
  for (const ParamVersionDesc* v = versions; v != versions + count; ++v) {
    bool same = block->GetVersion() == v->version && block->NumParams() == v->count;
    for (int p = 0; same && p < v->count; ++p)
      same = block->GetDesc(p).type == v->desc[p].type && block->GetDesc(p).id == v->desc[p].id;
    if (same) return true;
  }
  return false;
}

}  // namespace headless
