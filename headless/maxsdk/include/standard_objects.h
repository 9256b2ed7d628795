// Stand-in: the host's standard cameras and light, enough to stand for their
// kinds in a scene: the free camera, the target camera and the omni light.
// They have no geometry of their own. A camera looks down its local -Z axis
// with +Y up.
#ifndef HEADLESS_STANDARD_OBJECTS_H
#define HEADLESS_STANDARD_OBJECTS_H
#include <object.h>

// NewDefaultCamera and NewDefaultLight types.
#define FREE_CAMERA 0
#define TARGETED_CAMERA 1
#define OMNI_LIGHT 0

class CameraObject : public Object {
 public:
  SClass_ID SuperClassID() override { return CAMERA_CLASS_ID; }
};

class LightObject : public Object {
 public:
  SClass_ID SuperClassID() override { return LIGHT_CLASS_ID; }
};

// A free camera (Class_ID(SIMPLE_CAM_CLASS_ID, 0)) or a target camera
// (LOOKAT_CAM_CLASS_ID); fov is the horizontal field of view in radians.
class GenCamera : public CameraObject {
 public:
  explicit GenCamera(int type) : type(type) {}
  int Type() const { return type; }
  float GetFOV() const { return fov; }
  void SetFOV(float f);

  Class_ID ClassID() override;
  void GetClassName(TSTR& s) override;
  const TCHAR* GetObjectName() override;
  CreateMouseCallBack* GetCreateMouseCallBack() override { return nullptr; }
  ObjectState Eval(TimeValue) override { return ObjectState(this); }
  RefTargetHandle Clone(RemapDir& remap) override;

 private:
  int type;
  float fov = 0.7853982f;  // 45 degrees
};

// An omni light (OMNI_LIGHT_CLASS_ID).
class GenLight : public LightObject {
 public:
  explicit GenLight(int type) : type(type) {}
  int Type() const { return type; }

  Class_ID ClassID() override { return Class_ID(OMNI_LIGHT_CLASS_ID, 0); }
  void GetClassName(TSTR& s) override { s = _T("Omni"); }
  const TCHAR* GetObjectName() override { return _T("Omni"); }
  CreateMouseCallBack* GetCreateMouseCallBack() override { return nullptr; }
  ObjectState Eval(TimeValue) override { return ObjectState(this); }
  RefTargetHandle Clone(RemapDir& remap) override;

 private:
  int type;
};

// New objects the caller owns (until a node references them): a camera of
// type FREE_CAMERA or TARGETED_CAMERA, a light of type OMNI_LIGHT; null for
// another type.
GenCamera* NewDefaultCamera(int type);
GenLight* NewDefaultLight(int type);

#endif
