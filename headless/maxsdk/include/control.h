// Stand-in: controllers, the animation tracks of the host. The stand-in's
// keyframe controllers keep keys in time order and interpolate linearly
// (spherically for rotations); the host's default tracks interpolate with
// curves, which nothing here relies on.
#ifndef HEADLESS_CONTROL_H
#define HEADLESS_CONTROL_H
#include <matrix3.h>
#include <point3.h>
#include <quat.h>
#include <ref.h>

enum GetSetMethod { CTRL_RELATIVE = 0, CTRL_ABSOLUTE = 1 };

// Key deletion flags.
#define TRACK_DOSEL (1 << 0)
#define TRACK_DOALL (1 << 1)

// Controller class ids.
#define LININTERP_FLOAT_CLASS_ID 0x2007
#define LININTERP_POSITION_CLASS_ID 0x2002
#define LININTERP_ROTATION_CLASS_ID 0x2003
#define LININTERP_SCALE_CLASS_ID 0x2004
#define PRS_CONTROL_CLASS_ID 0x2005

// A scale along the axes of an orientation.
class ScaleValue {
 public:
  Point3 s;
  Quat q;
  ScaleValue() : s(1.0f, 1.0f, 1.0f) {}
  explicit ScaleValue(const Point3& scale, const Quat& axes = Quat()) : s(scale), q(axes) {}
  bool operator==(const ScaleValue& v) const { return s == v.s && q == v.q; }
};

class Control : public ReferenceTarget {
 public:
  // The value at t into *val (a float, Point3, Quat under the left-hand rule
  // of quat.h, ScaleValue or, for a transform controller, the Matrix3 of
  // scale, rotation and translation, by super class); valid is narrowed to the
  // time the value holds. CTRL_RELATIVE combines the value with *val (for a
  // transform controller: the parent matrix the result is built upon).
  virtual void GetValue(TimeValue t, void* val, Interval& valid,
                        GetSetMethod method = CTRL_ABSOLUTE) = 0;
  // Keys *val at t while animate mode is on (replacing a key at t); sets it
  // without a key while it is off.
  virtual void SetValue(TimeValue t, void* val, int commit = 1,
                        GetSetMethod method = CTRL_ABSOLUTE) = 0;

  virtual Control* GetPositionController() { return nullptr; }
  virtual Control* GetRotationController() { return nullptr; }
  virtual Control* GetScaleController() { return nullptr; }
  virtual BOOL SetPositionController(Control*) { return FALSE; }
  virtual BOOL SetRotationController(Control*) { return FALSE; }
  virtual BOOL SetScaleController(Control*) { return FALSE; }
  virtual BOOL IsLeaf() { return TRUE; }

};

Control* NewDefaultFloatController();
Control* NewDefaultPositionController();
Control* NewDefaultRotationController();
Control* NewDefaultScaleController();
// A transform controller with position, rotation and scale sub-controllers.
Control* NewDefaultMatrix3Controller();
// A controller of the class, as the scene loader needs it; null when unknown.
Control* NewControllerOfClass(const Class_ID& id);

#endif
