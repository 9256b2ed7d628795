// Objects, their channels and locks, object states and the derived object.
#include <classdir.h>
#include <maxapi.h>
#include <object.h>
#include <plugapi.h>

#include "builtin_classes.h"

void ObjectState::SetTM(Matrix3* mat, Interval iv) {
  hasTM = mat != nullptr;
  tm = mat ? *mat : Matrix3(1);
  tmvi = iv;
}

Interval ObjectState::Validity(TimeValue t) {
  Interval valid = tmvi;
  if (obj) valid &= obj->ObjectValidity(t);
  return valid;
}

void ObjectState::DeleteObj(BOOL checkLock) {
  if (obj && !(checkLock && obj->IsObjectLocked()) && obj->Dependents().empty()) obj->DeleteThis();
  obj = nullptr;
}

Object::Object() {
  for (Interval& v : validity) v = FOREVER;
}

Object::~Object() = default;

Interval Object::ObjectValidity(TimeValue t) {
  Interval valid = FOREVER;
  for (int chan = 0; chan < NUM_OBJ_CHANS; ++chan) valid &= ChannelValidity(t, chan);
  return valid;
}

Interval Object::ChannelValidity(TimeValue, int nchan) {
  return nchan >= 0 && nchan < NUM_OBJ_CHANS ? validity[nchan] : FOREVER;
}

void Object::SetChannelValidity(int nchan, Interval v) {
  if (nchan >= 0 && nchan < NUM_OBJ_CHANS) validity[nchan] = v;
}

void Object::UpdateValidity(int nchan, Interval v) {
  if (nchan >= 0 && nchan < NUM_OBJ_CHANS) validity[nchan] &= v;
}

Object* Object::MakeShallowCopy(ChannelMask channels) {
  auto* copy = static_cast<Object*>(CreateInstance(SuperClassID(), ClassID()));
  copy->ShallowCopy(this, channels);
  return copy;
}

void Object::ShallowCopy(Object* fromOb, ChannelMask channels) {
  for (int chan = 0; chan < NUM_OBJ_CHANS; ++chan)
    if (channels & (1u << chan)) validity[chan] = fromOb->validity[chan];
}

void Object::ReadyChannelsForMod(ChannelMask channels) {
  ChannelMask locked = channels & chLocks;
  if (locked) NewAndCopyChannels(locked);
  UnlockChannels(channels);
}

namespace {

const Class_ID derivObjClassID(0x00000e00, 0);

// A modifier pipeline without modifiers on one object (reference 0).
class DerivedObject : public Object {
 public:
  DerivedObject() = default;
  explicit DerivedObject(Object* base) { MakeRefByID(FOREVER, 0, base); }
  ~DerivedObject() override { DeleteAllRefsFromMe(); }

  SClass_ID SuperClassID() override { return GEN_DERIVOB_CLASS_ID; }
  Class_ID ClassID() override { return derivObjClassID; }
  void GetClassName(TSTR& s) override { s = _T("Derived Object"); }
  CreateMouseCallBack* GetCreateMouseCallBack() override { return nullptr; }

  int NumRefs() override { return 1; }
  RefTargetHandle GetReference(int i) override { return i == 0 ? base : nullptr; }
  void SetReference(int i, RefTargetHandle target) override {
    if (i == 0) base = static_cast<Object*>(target);
  }

  ObjectState Eval(TimeValue t) override { return base ? base->Eval(t) : ObjectState(); }
  Interval ObjectValidity(TimeValue t) override {
    Object* evaluated = base ? base->Eval(t).obj : nullptr;
    return evaluated ? evaluated->ObjectValidity(t) : FOREVER;
  }
  int IsDeformable() override { return Evaluated() ? Evaluated()->IsDeformable() : 0; }
  int IsParticleSystem() override { return Evaluated() ? Evaluated()->IsParticleSystem() : 0; }
  int NumPoints() override { return Evaluated() ? Evaluated()->NumPoints() : 0; }
  Point3 GetPoint(int i) override { return Evaluated() ? Evaluated()->GetPoint(i) : Point3(); }
  int CanConvertToType(Class_ID obtype) override {
    return Evaluated() ? Evaluated()->CanConvertToType(obtype) : 0;
  }
  Object* ConvertToType(TimeValue t, Class_ID obtype) override {
    Object* evaluated = base ? base->Eval(t).obj : nullptr;
    return evaluated ? evaluated->ConvertToType(t, obtype) : nullptr;
  }

  RefTargetHandle Clone(RemapDir& remap) override {
    auto* copy = new DerivedObject;
    copy->ReplaceReference(0, remap.CloneRef(base));
    return copy;
  }

 private:
  // The state the pipeline gives at the host's current time.
  Object* Evaluated() {
    Interface* ip = GetCOREInterface();
    return base ? base->Eval(ip ? ip->GetTime() : 0).obj : nullptr;
  }
  Object* base = nullptr;
};

class DerivedObjectClassDesc : public ClassDesc {
 public:
  int IsPublic() override { return 0; }
  void* Create(BOOL) override { return new DerivedObject; }
  const TCHAR* ClassName() override { return _T("Derived Object"); }
  SClass_ID SuperClassID() override { return GEN_DERIVOB_CLASS_ID; }
  Class_ID ClassID() override { return derivObjClassID; }
  const TCHAR* Category() override { return _T(""); }
};

}  // namespace

Object* MakeObjectDerivedObject(Object* obj) { return new DerivedObject(obj); }

ClassDesc* GetDerivedObjectDesc() {
  static DerivedObjectClassDesc desc;
  return &desc;
}
