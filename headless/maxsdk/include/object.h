// Stand-in: objects of the scene and the states the geometry pipeline passes
// between them.
//
// An object's data lies in channels (geometry, topology, ...). A copy made
// with MakeShallowCopy shares its source's channels; a channel is made the
// copy's own with ReadyChannelsForMod before it is changed. Two kinds of lock:
// a locked channel is one its object must not change in place (it may be
// shared), and a locked object belongs to whoever made it (a scene object, a
// cached result), so that the pipeline works on a copy of it instead.
// Objects start locked.
#ifndef HEADLESS_OBJECT_H
#define HEADLESS_OBJECT_H
#include <interval.h>
#include <ipoint2.h>
#include <matrix3.h>
#include <point3.h>
#include <ref.h>

typedef DWORD ChannelMask;
#define TOPO_CHANNEL (1 << 0)
#define GEOM_CHANNEL (1 << 1)
#define TEXMAP_CHANNEL (1 << 2)
#define MTL_CHANNEL (1 << 3)
#define SELECT_CHANNEL (1 << 4)
#define SUBSEL_TYPE_CHANNEL (1 << 5)
#define DISP_ATTRIB_CHANNEL (1 << 6)
#define VERTCOLOR_CHANNEL (1 << 7)
#define GFX_DATA_CHANNEL (1 << 8)
#define DISP_APPROX_CHANNEL (1 << 9)
#define ALL_CHANNELS 0x3FF

// Channel numbers, for validity.
#define TOPO_CHAN_NUM 0
#define GEOM_CHAN_NUM 1
#define TEXMAP_CHAN_NUM 2
#define MTL_CHAN_NUM 3
#define SELECT_CHAN_NUM 4
#define SUBSEL_TYPE_CHAN_NUM 5
#define DISP_ATTRIB_CHAN_NUM 6
#define VERT_COLOR_CHAN_NUM 7
#define GFX_DATA_CHAN_NUM 8
#define DISP_APPROX_CHAN_NUM 9
#define NUM_OBJ_CHANS 10

#define OBJECT_LOCKED 0x08000000

class Object;
class ViewExp;

// Results of a creation mouse callback.
#define CREATE_CONTINUE 1
#define CREATE_STOP 0
#define CREATE_ABORT -1

// The host's interactive creation of an object: called for each mouse event
// while the user places a new object; mat is the new node's transform.
class CreateMouseCallBack {
 public:
  virtual int proc(ViewExp* vpt, int msg, int point, int flags, IPoint2 m, Matrix3& mat) = 0;

 protected:
  ~CreateMouseCallBack() = default;
};

// The result of evaluating an object at a time: the object (not owned by the
// state) and an optional transform.
class ObjectState {
 public:
  Object* obj = nullptr;

  ObjectState() = default;
  ObjectState(Object* ob) : obj(ob) {}  // NOLINT: implicit as in the host
  ObjectState(const ObjectState&) = default;
  ObjectState& operator=(const ObjectState&) = default;
  ~ObjectState() = default;

  BOOL TMIsIdentity() const { return hasTM ? FALSE : TRUE; }
  void SetTM(Matrix3* mat, Interval iv);
  Matrix3* GetTM() { return hasTM ? &tm : nullptr; }
  Interval tmValid() const { return tmvi; }
  // The time around t for which this state holds: the object's validity and
  // the transform's.
  Interval Validity(TimeValue t);
  // Deletes obj (unless checkLock is set and obj is locked) and forgets it.
  // Stand-in: an object that something still references is only forgotten.
  void DeleteObj(BOOL checkLock = FALSE);

 private:
  bool hasTM = false;
  Matrix3 tm{1};
  Interval tmvi = FOREVER;
};

class BaseObject : public ReferenceTarget {
 public:
  virtual CreateMouseCallBack* GetCreateMouseCallBack() = 0;
  // Stand-in: the host's name getters return const text.
  virtual const TCHAR* GetObjectName() { return _T("Object"); }
};

class Object : public BaseObject {
 public:
  Object();
  ~Object() override;

  SClass_ID SuperClassID() override { return OBJECT_CLASS_ID; }

  // The object's state at t. A scene object usually answers with itself.
  virtual ObjectState Eval(TimeValue t) = 0;
  // How long around t the object stays as it is: by default the common part
  // of its channels' validity.
  virtual Interval ObjectValidity(TimeValue t);
  virtual void InitNodeName(TSTR& s) { s = GetObjectName(); }

  // Points of a deformable object.
  virtual int IsDeformable() { return 0; }
  virtual int NumPoints() { return 0; }
  virtual Point3 GetPoint(int) { return Point3(); }
  virtual void SetPoint(int, const Point3&) {}
  virtual void PointsWereChanged() {}
  virtual int IsParticleSystem() { return 0; }

  // Conversion to another class (defObjectClassID: the triangle mesh). The
  // result may be this object itself; otherwise the caller owns it.
  virtual int CanConvertToType(Class_ID) { return 0; }
  virtual Object* ConvertToType(TimeValue, Class_ID) { return nullptr; }

  // Channels.
  virtual Interval ChannelValidity(TimeValue t, int nchan);
  virtual void SetChannelValidity(int nchan, Interval v);
  // Narrows a channel's validity to v.
  virtual void UpdateValidity(int nchan, Interval v);
  // A new object of this class that shares the given channels with this one
  // (CreateInstance by class, then ShallowCopy); the caller owns it.
  Object* MakeShallowCopy(ChannelMask channels);
  // Takes the given channels of fromOb without copying their data.
  virtual void ShallowCopy(Object* fromOb, ChannelMask channels);
  // Gives the object its own copy of the given channels.
  virtual void NewAndCopyChannels(ChannelMask) {}
  virtual void FreeChannels(ChannelMask) {}
  // Replaces the locked channels among `channels` by copies of their own and
  // unlocks them, so that they can be changed.
  void ReadyChannelsForMod(ChannelMask channels);
  void LockChannels(ChannelMask channels) { chLocks |= channels; }
  void UnlockChannels(ChannelMask channels) { chLocks &= ~channels; }
  ChannelMask GetChannelLocks() const { return chLocks; }

  void LockObject() { locked = OBJECT_LOCKED; }
  void UnlockObject() { locked = 0; }
  BOOL IsObjectLocked() const { return locked ? TRUE : FALSE; }

 private:
  ChannelMask chLocks = 0;
  DWORD locked = OBJECT_LOCKED;
  Interval validity[NUM_OBJ_CHANS];  // FOREVER at construction
};

class GeomObject : public Object {
 public:
  SClass_ID SuperClassID() override { return GEOMOBJECT_CLASS_ID; }
};

// A derived object made on obj: it references obj and evaluates to obj's
// state (a pipeline without modifiers); the caller owns it.
// Stand-in: its points are those of the state it evaluates to at time 0.
Object* MakeObjectDerivedObject(Object* obj);

#endif
