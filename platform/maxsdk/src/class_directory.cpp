// The directory of classes the host can make by id: the stand-in's own, and
// those the headless user registers.
#include <classdir.h>
#include <headless_sdk.h>
#include <plugapi.h>

#include <map>
#include <utility>

#include "builtin_classes.h"
#include "missing.h"

namespace {

using ClassKey = std::pair<SClass_ID, Class_ID>;

std::map<ClassKey, ClassDesc*>& Directory() {
  static std::map<ClassKey, ClassDesc*> directory;
  if (directory.empty()) {
    for (ClassDesc* cd : {GetTriObjectDesc(), GetBoxObjectDesc(), GetSprayObjectDesc(),
                          GetDerivedObjectDesc(), GetFreeCameraDesc(), GetTargetCameraDesc(),
                          GetOmniLightDesc()})
      directory[{cd->SuperClassID(), cd->ClassID()}] = cd;
  }
  return directory;
}

}  // namespace

ClassDesc* FindClassDesc(SClass_ID superID, Class_ID classID) {
  auto it = Directory().find({superID, classID});
  return it == Directory().end() ? nullptr : it->second;
}

void* CreateInstance(SClass_ID superID, Class_ID classID) {
  ClassDesc* cd = FindClassDesc(superID, classID);
  if (!cd) standin::Missing("CreateInstance of an unregistered class");
  return cd->Create(FALSE);
}

namespace headless {

void RegisterClassDesc(ClassDesc* cd) {
  if (cd) Directory()[{cd->SuperClassID(), cd->ClassID()}] = cd;
}

}  // namespace headless
