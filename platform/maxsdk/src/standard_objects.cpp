// The stand-in's cameras and light.
#include <standard_objects.h>

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
