// The directory of classes the host can make by id: the stand-in's own, and
// those the headless user registers.
#include <classdir.h>
#include <headless_host.h>
#include <headless_scene.h>
#include <plugapi.h>

#include <map>
#include <utility>

#include "builtin_classes.h"

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

}  // namespace

ClassDesc* FindClassDesc(SClass_ID superID, Class_ID classID) {
  auto it = Directory().find({superID, classID});
  return it == Directory().end() ? nullptr : it->second.cd;
}

headless::ReferenceCheck FindReferenceCheck(SClass_ID superID, Class_ID classID) {
  auto it = Directory().find({superID, classID});
  return it == Directory().end() ? nullptr : it->second.accepts;
}

void* CreateInstance(SClass_ID superID, Class_ID classID) {
  ClassDesc* cd = FindClassDesc(superID, classID);
  if (!cd) headless::Missing("CreateInstance of an unregistered class");
  return cd->Create(FALSE);
}

namespace headless {

void RegisterClassDesc(ClassDesc* cd, ReferenceCheck accepts) {
  if (cd) Directory()[{cd->SuperClassID(), cd->ClassID()}] = {cd, accepts};
}

}  // namespace headless
