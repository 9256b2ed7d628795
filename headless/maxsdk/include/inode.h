// Stand-in: scene nodes. A node references its transform controller
// (reference 0) and its object (reference 1). Stand-in: nodes have no
// parents; a node's transform is its controller's value.
#ifndef HEADLESS_INODE_H
#define HEADLESS_INODE_H
#include <control.h>
#include <matrix3.h>
#include <ref.h>

#include <string>

class Object;

#define BASENODE_CLASS_ID 0x00000001

class INode : public ReferenceTarget {
 public:
  explicit INode(const char* name = "");
  ~INode() override;

  const TCHAR* GetName() { return name.c_str(); }
  void SetName(const TCHAR* s) { name = s ? s : ""; }

  Object* GetObjectRef() { return object; }
  // The node now shows obj; its former object is released (deleted unless
  // something else references it).
  void SetObjectRef(Object* obj);
  Control* GetTMController() { return tmControl; }
  BOOL SetTMController(Control* c);

  // The node's transform at t, and the object's: the object offset (position,
  // rotation, scale relative to the node's pivot) applied before the node's.
  Matrix3 GetNodeTM(TimeValue t, Interval* valid = nullptr);
  Matrix3 GetObjectTM(TimeValue t, Interval* valid = nullptr);
  Point3 GetObjOffsetPos() { return offsetPos; }
  Quat GetObjOffsetRot() { return offsetRot; }
  ScaleValue GetObjOffsetScale() { return offsetScale; }
  void SetObjOffsetPos(const Point3& p) { offsetPos = p; }
  void SetObjOffsetRot(const Quat& q) { offsetRot = q; }
  void SetObjOffsetScale(const ScaleValue& s) { offsetScale = s; }

  BOOL Selected() { return selected ? TRUE : FALSE; }

  SClass_ID SuperClassID() override { return BASENODE_CLASS_ID; }
  int NumRefs() override { return 2; }
  RefTargetHandle GetReference(int i) override;
  void SetReference(int i, RefTargetHandle target) override;
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage) override {
    return REF_SUCCEED;
  }

  // Stand-in: the scene sets the selection.
  void SetSelected(bool on) { selected = on; }

 private:
  std::string name;
  Control* tmControl = nullptr;
  Object* object = nullptr;
  Point3 offsetPos;
  Quat offsetRot;
  ScaleValue offsetScale;
  bool selected = false;
};

#endif
