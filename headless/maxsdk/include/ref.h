// Stand-in: references and dependents. A ReferenceMaker holds numbered
// references to ReferenceTargets; a target knows its dependents and tells them
// of changes. A target that loses its last dependent is deleted, as the
// host does.
#ifndef HEADLESS_REF_H
#define HEADLESS_REF_H
#include <animatable.h>
#include <interval.h>

#include <map>
#include <vector>

typedef int RefResult;
#define REF_FAIL 0
#define REF_SUCCEED 1
#define REF_DONTCARE 2
#define REF_STOP 3

typedef unsigned int RefMessage;
#define REFMSG_TARGET_DELETED 0x00000020
#define REFMSG_CHANGE 0x00000050
#define REFMSG_TARGET_SELECTIONCHANGE 0x00000080
#define REFMSG_TEST_DEPENDENCY 0x00000107
#define REFMSG_GET_PARAM_NAME 251
#define REFMSG_GET_PARAM_DIM 252

typedef ULONG_PTR PartID;  // wide enough for the pointer that some messages carry
#define PART_TOPO (1 << 0)
#define PART_GEOM (1 << 1)
#define PART_ALL 0x800017FF
#define NOTIFY_ALL 0xfffffff0

typedef int IOResult;
#define IO_OK 0
#define IO_END 1
#define IO_ERROR 2

class ILoad;
class ISave;
class ReferenceTarget;
class RemapDir;
typedef ReferenceTarget* RefTargetHandle;
typedef class ReferenceMaker* RefMakerHandle;

class ReferenceMaker : public Animatable {
 public:
  ~ReferenceMaker() override;

  virtual int NumRefs() { return 0; }
  virtual RefTargetHandle GetReference(int) { return nullptr; }
  virtual void SetReference(int, RefTargetHandle) {}
  // A target of this maker changed (message); the answer REF_STOP keeps the
  // message from travelling further.
  virtual RefResult NotifyRefChanged(Interval changeInt, RefTargetHandle hTarget,
                                     PartID& partID, RefMessage message) = 0;

  // Makes reference `which` point at htarget (registering this maker as one
  // of its dependents) through SetReference.
  RefResult MakeRefByID(Interval refInterval, int which, RefTargetHandle htarget);
  // Points reference `which` at newtarg; the old target is deleted when
  // delOld is set and nothing else depends on it.
  RefResult ReplaceReference(int which, RefTargetHandle newtarg, BOOL delOld = TRUE);
  RefResult DeleteReference(int which);
  RefResult DeleteAllRefsFromMe();

  virtual IOResult Load(ILoad*) { return IO_OK; }
  virtual IOResult Save(ISave*) { return IO_OK; }
  virtual BOOL IsRefTarget() { return FALSE; }

 private:
  friend class ReferenceTarget;
  void Attach(ReferenceTarget* target);
  // Drops one reference to target; deletes it when asked and orphaned.
  void Detach(ReferenceTarget* target, bool deleteOrphan);
  // Stand-in: the targets this maker is registered with, one entry per
  // reference, so that a maker destroyed without dropping its references
  // leaves no dangling dependent behind.
  std::vector<ReferenceTarget*> held;
};

class ReferenceTarget : public ReferenceMaker {
 public:
  ~ReferenceTarget() override;
  BOOL IsRefTarget() override { return TRUE; }
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage) override {
    return REF_SUCCEED;
  }

  // Sends message to every dependent (of super class sclass, NOTIFY_ALL for
  // all), and on through theirs when propagate is set and they do not stop it.
  // Dependents may let go of references, or delete, while they hear it: one
  // that went away meanwhile is skipped, one that let go of this target
  // passes nothing on, and a deleted sender stops there.
  RefResult NotifyDependents(Interval changeInt, PartID partID, RefMessage message,
                             SClass_ID sclass = NOTIFY_ALL, BOOL propagate = TRUE,
                             RefTargetHandle hTarg = nullptr);
  // A copy of this target, its references cloned through remap.
  virtual RefTargetHandle Clone(RemapDir& remap);

  // Dependency test: after BeginDependencyTest, a REFMSG_TEST_DEPENDENCY sent
  // from any target marks the sender and every target that hears it through
  // dependents; EndDependencyTest tells whether this one was reached.
  void BeginDependencyTest() { testReached = false; }
  BOOL EndDependencyTest() { return testReached ? TRUE : FALSE; }

  // Tells the dependents this target is going away and drops their references.
  void DeleteMe();

  // Stand-in: the makers that reference this target, one entry per reference.
  const std::vector<ReferenceMaker*>& Dependents() const { return dependents; }

 private:
  friend class ReferenceMaker;
  // Tells one dependent of message and passes it on through the dependent's
  // own; false when this target went away meanwhile.
  bool NotifyOne(ReferenceMaker* maker, Interval changeInt, PartID partID, RefMessage message,
                 SClass_ID sclass, BOOL propagate, RefTargetHandle hTarg);
  bool IsDependent(ReferenceMaker* maker) const;

  std::vector<ReferenceMaker*> dependents;
  bool testReached = false;
  bool notifying = false;
  // Set while this target notifies: its destructor marks the flag, so that a
  // dependent that deletes the target while hearing of it ends the loop.
  bool* deletedWhileNotifying = nullptr;
};

// Clones references while an object is copied, so that a target shared by
// several references is cloned once.
class RemapDir {
 public:
  virtual ~RemapDir() = default;
  virtual RefTargetHandle CloneRef(RefTargetHandle oldTarg);
  virtual RefTargetHandle FindMapping(RefTargetHandle from);
  virtual void AddEntry(RefTargetHandle from, RefTargetHandle to) { mapping[from] = to; }

 private:
  std::map<RefTargetHandle, RefTargetHandle> mapping;
};

// A fresh directory that shares nothing with earlier clones.
RemapDir& NoRemap();

#endif
