// The stand-in's cameras and light.
#include <standard_objects.h>

#include "builtin_classes.h"

void GenCamera::SetFOV(float f) {
  fov = f;
  NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
}

Class_ID GenCamera::ClassID() {
  return Class_ID(type == TARGETED_CAMERA ? LOOKAT_CAM_CLASS_ID : SIMPLE_CAM_CLASS_ID, 0);
}

void GenCamera::GetClassName(TSTR& s) { s = GetObjectName(); }

const TCHAR* GenCamera::GetObjectName() {
  return type == TARGETED_CAMERA ? _T("Target Camera") : _T("Free Camera");
}

RefTargetHandle GenCamera::Clone(RemapDir&) {
  auto* copy = new GenCamera(type);
  copy->fov = fov;
  return copy;
}

RefTargetHandle GenLight::Clone(RemapDir&) { return new GenLight(type); }

GenCamera* NewDefaultCamera(int type) {
  return type == FREE_CAMERA || type == TARGETED_CAMERA ? new GenCamera(type) : nullptr;
}

GenLight* NewDefaultLight(int type) { return type == OMNI_LIGHT ? new GenLight(type) : nullptr; }

namespace {

// Makes the camera or light of one class, so that a saved scene can bring
// them back by class id.
class StandardSceneObjectDesc : public ClassDesc {
 public:
  StandardSceneObjectDesc(const TCHAR* name, SClass_ID superID, ULONG classPart,
                          Object* (*make)())
      : name(name), superID(superID), classPart(classPart), make(make) {}
  int IsPublic() override { return 1; }
  void* Create(BOOL) override { return make(); }
  const TCHAR* ClassName() override { return name; }
  SClass_ID SuperClassID() override { return superID; }
  Class_ID ClassID() override { return Class_ID(classPart, 0); }
  const TCHAR* Category() override { return _T("Standard"); }

 private:
  const TCHAR* name;
  SClass_ID superID;
  ULONG classPart;
  Object* (*make)();
};

}  // namespace

ClassDesc* GetFreeCameraDesc() {
  static StandardSceneObjectDesc desc(_T("Free Camera"), CAMERA_CLASS_ID, SIMPLE_CAM_CLASS_ID,
                                      [] { return static_cast<Object*>(NewDefaultCamera(FREE_CAMERA)); });
  return &desc;
}

ClassDesc* GetTargetCameraDesc() {
  static StandardSceneObjectDesc desc(_T("Target Camera"), CAMERA_CLASS_ID, LOOKAT_CAM_CLASS_ID,
                                      [] { return static_cast<Object*>(NewDefaultCamera(TARGETED_CAMERA)); });
  return &desc;
}

ClassDesc* GetOmniLightDesc() {
  static StandardSceneObjectDesc desc(_T("Omni"), LIGHT_CLASS_ID, OMNI_LIGHT_CLASS_ID,
                                      [] { return static_cast<Object*>(NewDefaultLight(OMNI_LIGHT)); });
  return &desc;
}
