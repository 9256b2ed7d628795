// References and dependents, as the host keeps them.
#include <ref.h>

#include <algorithm>

namespace {

template <typename T>
bool EraseOne(std::vector<T*>& list, T* item) {
  auto it = std::find(list.begin(), list.end(), item);
  if (it == list.end()) return false;
  list.erase(it);
  return true;
}

}  // namespace

void ReferenceMaker::Attach(ReferenceTarget* target) {
  if (!target) return;
  target->dependents.push_back(this);
  held.push_back(target);
}

void ReferenceMaker::Detach(ReferenceTarget* target, bool deleteOrphan) {
  if (!target) return;
  EraseOne(target->dependents, static_cast<ReferenceMaker*>(this));
  EraseOne(held, target);
  if (deleteOrphan && target->dependents.empty()) target->DeleteThis();
}

ReferenceMaker::~ReferenceMaker() {
  // The subclass should have dropped its references (DeleteAllRefsFromMe);
  // whatever it kept is released here without reaching into it.
  std::vector<ReferenceTarget*> targets;
  targets.swap(held);
  for (ReferenceTarget* target : targets) {
    EraseOne(target->dependents, static_cast<ReferenceMaker*>(this));
    if (target->dependents.empty()) target->DeleteThis();
  }
}

RefResult ReferenceMaker::MakeRefByID(Interval, int which, RefTargetHandle htarget) {
  Detach(GetReference(which), false);
  SetReference(which, htarget);
  Attach(htarget);
  return REF_SUCCEED;
}

RefResult ReferenceMaker::ReplaceReference(int which, RefTargetHandle newtarg, BOOL delOld) {
  RefTargetHandle old = GetReference(which);
  if (old == newtarg) return REF_SUCCEED;
  // Attach the new target first so that replacing a reference by one of the
  // old target's own references cannot delete it on the way.
  Attach(newtarg);
  SetReference(which, newtarg);
  Detach(old, delOld != FALSE);
  return REF_SUCCEED;
}

RefResult ReferenceMaker::DeleteReference(int which) {
  RefTargetHandle old = GetReference(which);
  if (!old) return REF_SUCCEED;
  SetReference(which, nullptr);
  Detach(old, true);
  return REF_SUCCEED;
}

RefResult ReferenceMaker::DeleteAllRefsFromMe() {
  for (int i = 0; i < NumRefs(); ++i) DeleteReference(i);
  return REF_SUCCEED;
}

ReferenceTarget::~ReferenceTarget() {
  if (deletedWhileNotifying) *deletedWhileNotifying = true;
  if (!dependents.empty()) DeleteMe();
}

void ReferenceTarget::DeleteMe() {
  NotifyDependents(FOREVER, PART_ALL, REFMSG_TARGET_DELETED);
  // Every reference to this target becomes empty.
  while (!dependents.empty()) {
    ReferenceMaker* maker = dependents.front();
    for (int i = 0; i < maker->NumRefs(); ++i)
      if (maker->GetReference(i) == this) maker->SetReference(i, nullptr);
    maker->Detach(this, false);
  }
}

bool ReferenceTarget::IsDependent(ReferenceMaker* maker) const {
  return std::find(dependents.begin(), dependents.end(), maker) != dependents.end();
}

RefResult ReferenceTarget::NotifyDependents(Interval changeInt, PartID partID, RefMessage message,
                                            SClass_ID sclass, BOOL propagate,
                                            RefTargetHandle hTarg) {
  if (message == REFMSG_TEST_DEPENDENCY) testReached = true;
  // A dependency cycle must not send a message round for ever.
  if (notifying) return REF_SUCCEED;
  notifying = true;
  bool deleted = false;
  deletedWhileNotifying = &deleted;
  // Dependents may drop references (theirs or others') while they hear the
  // message: walk a copy, once per maker, in the order they came.
  std::vector<ReferenceMaker*> makers;
  for (ReferenceMaker* maker : dependents)
    if (std::find(makers.begin(), makers.end(), maker) == makers.end()) makers.push_back(maker);
  for (ReferenceMaker* maker : makers) {
    if (!IsDependent(maker)) continue;  // gone meanwhile
    if (!NotifyOne(maker, changeInt, partID, message, sclass, propagate, hTarg)) return REF_SUCCEED;
  }
  deletedWhileNotifying = nullptr;
  notifying = false;
  return REF_SUCCEED;
}

bool ReferenceTarget::NotifyOne(ReferenceMaker* maker, Interval changeInt, PartID partID,
                                RefMessage message, SClass_ID sclass, BOOL propagate,
                                RefTargetHandle hTarg) {
  if (sclass != NOTIFY_ALL && maker->SuperClassID() != sclass) return true;
  bool* deleted = deletedWhileNotifying;
  // Hearing the test is being reached, even for a dependent that stops it.
  if (message == REFMSG_TEST_DEPENDENCY && maker->IsRefTarget())
    static_cast<ReferenceTarget*>(maker)->testReached = true;
  PartID part = partID;
  RefResult result = maker->NotifyRefChanged(changeInt, hTarg ? hTarg : this, part, message);
  if (*deleted) return false;
  // A maker that let go of this target meanwhile no longer depends on it.
  if (result != REF_STOP && propagate && IsDependent(maker) && maker->IsRefTarget())
    static_cast<ReferenceTarget*>(maker)->NotifyDependents(changeInt, part, message, sclass,
                                                           propagate, nullptr);
  return !*deleted;
}

RefTargetHandle ReferenceTarget::Clone(RemapDir&) { return nullptr; }

RefTargetHandle RemapDir::FindMapping(RefTargetHandle from) {
  auto it = mapping.find(from);
  return it == mapping.end() ? nullptr : it->second;
}

RefTargetHandle RemapDir::CloneRef(RefTargetHandle oldTarg) {
  if (!oldTarg) return nullptr;
  if (RefTargetHandle done = FindMapping(oldTarg)) return done;
  RefTargetHandle copy = oldTarg->Clone(*this);
  AddEntry(oldTarg, copy);
  return copy;
}

namespace {

// Clones every reference afresh, remembering nothing.
class NoRemapDir : public RemapDir {
 public:
  RefTargetHandle CloneRef(RefTargetHandle oldTarg) override {
    return oldTarg ? oldTarg->Clone(*this) : nullptr;
  }
  RefTargetHandle FindMapping(RefTargetHandle) override { return nullptr; }
  void AddEntry(RefTargetHandle, RefTargetHandle) override {}
};

}  // namespace

RemapDir& NoRemap() {
  static NoRemapDir noRemap;
  return noRemap;
}
