// Test helper: a dependent of one target that counts the changes it hears.
#ifndef TESTS_CHANGE_LISTENER_H
#define TESTS_CHANGE_LISTENER_H
#include <ref.h>

class ChangeListener : public ReferenceTarget {
 public:
  explicit ChangeListener(ReferenceTarget* t) { MakeRefByID(FOREVER, 0, t); }
  ~ChangeListener() override { DeleteAllRefsFromMe(); }
  int NumRefs() override { return 1; }
  RefTargetHandle GetReference(int) override { return target; }
  void SetReference(int, RefTargetHandle t) override { target = t; }
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage m) override {
    if (m == REFMSG_CHANGE) ++changes;
    return REF_SUCCEED;
  }
  ReferenceTarget* target = nullptr;
  int changes = 0;
};

#endif
