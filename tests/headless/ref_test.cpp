// References and dependents of the stand-in host.
#include <gtest/gtest.h>
#include <max.h>

#include <string>
#include <vector>

namespace {

// A target that counts its deletions and the messages it hears.
class Thing : public ReferenceTarget {
 public:
  explicit Thing(int* deletions = nullptr, int refs = 0) : deleted(deletions), slots(refs) {}
  ~Thing() override {
    DeleteAllRefsFromMe();
    if (deleted) ++*deleted;
  }
  int NumRefs() override { return static_cast<int>(slots.size()); }
  RefTargetHandle GetReference(int i) override { return slots[static_cast<size_t>(i)]; }
  void SetReference(int i, RefTargetHandle t) override { slots[static_cast<size_t>(i)] = t; }
  RefResult NotifyRefChanged(Interval, RefTargetHandle from, PartID&, RefMessage m) override {
    heard.push_back(m);
    senders.push_back(from);
    return stop ? REF_STOP : REF_SUCCEED;
  }
  RefTargetHandle Clone(RemapDir& remap) override {
    auto* copy = new Thing(deleted, NumRefs());
    for (int i = 0; i < NumRefs(); ++i) copy->ReplaceReference(i, remap.CloneRef(slots[i]));
    return copy;
  }
  int* deleted;
  std::vector<RefTargetHandle> slots;
  std::vector<RefMessage> heard;
  std::vector<RefTargetHandle> senders;
  bool stop = false;
};

TEST(References, OrphanedTargetIsDeletedOnlyWhenAsked) {
  int deletions = 0;
  Thing maker(nullptr, 2);
  auto* a = new Thing(&deletions);
  auto* b = new Thing(&deletions);
  maker.MakeRefByID(FOREVER, 0, a);
  maker.MakeRefByID(FOREVER, 1, a);  // two references to one target
  maker.ReplaceReference(0, b);      // a still referenced by slot 1
  EXPECT_EQ(deletions, 0);
  maker.ReplaceReference(1, b, FALSE);  // a orphaned, but not to be deleted
  EXPECT_EQ(deletions, 0);
  EXPECT_TRUE(a->Dependents().empty());
  delete a;
  EXPECT_EQ(deletions, 1);
  maker.DeleteReference(0);  // b still held by slot 1
  EXPECT_EQ(deletions, 1);
  maker.DeleteAllRefsFromMe();
  EXPECT_EQ(deletions, 2);
  EXPECT_EQ(maker.GetReference(1), nullptr);
}

TEST(References, DeletedTargetEmptiesEveryReferenceToIt) {
  Thing first(nullptr, 1), second(nullptr, 1);
  auto* target = new Thing;
  first.MakeRefByID(FOREVER, 0, target);
  second.MakeRefByID(FOREVER, 0, target);
  target->DeleteMe();
  EXPECT_EQ(first.GetReference(0), nullptr);
  EXPECT_EQ(second.GetReference(0), nullptr);
  EXPECT_EQ(first.heard, std::vector<RefMessage>{REFMSG_TARGET_DELETED});
  delete target;
}

TEST(References, NotificationsPropagateUntilStopped) {
  int deletions = 0;
  auto* leaf = new Thing(&deletions);
  auto* middle = new Thing(&deletions, 1);
  Thing top(nullptr, 1);
  middle->MakeRefByID(FOREVER, 0, leaf);
  top.MakeRefByID(FOREVER, 0, middle);
  leaf->NotifyDependents(FOREVER, PART_GEOM, REFMSG_CHANGE);
  EXPECT_EQ(middle->heard.size(), 1u);
  EXPECT_EQ(top.heard.size(), 1u);
  EXPECT_EQ(top.senders.back(), middle);  // each hop names its own target

  middle->stop = true;
  leaf->NotifyDependents(FOREVER, PART_GEOM, REFMSG_CHANGE);
  EXPECT_EQ(middle->heard.size(), 2u);
  EXPECT_EQ(top.heard.size(), 1u);
  middle->stop = false;
  leaf->NotifyDependents(FOREVER, PART_GEOM, REFMSG_CHANGE, NOTIFY_ALL, FALSE);
  EXPECT_EQ(top.heard.size(), 1u);
  top.DeleteAllRefsFromMe();  // the chain below goes with it
  EXPECT_EQ(deletions, 2);
}

TEST(References, DependencyTestFindsDependentsAndSurvivesCycles) {
  int deletions = 0;
  auto* a = new Thing(&deletions, 1);
  auto* b = new Thing(&deletions, 1);
  Thing unrelated;
  b->MakeRefByID(FOREVER, 0, a);  // b depends on a
  a->MakeRefByID(FOREVER, 0, b);  // and a on b: a cycle
  for (Thing* candidate : {a, b, &unrelated}) candidate->BeginDependencyTest();
  a->NotifyDependents(FOREVER, 0, REFMSG_TEST_DEPENDENCY);
  EXPECT_TRUE(b->EndDependencyTest());
  EXPECT_TRUE(a->EndDependencyTest());  // an object depends on itself
  EXPECT_FALSE(unrelated.EndDependencyTest());
  a->ReplaceReference(0, nullptr, FALSE);
  b->DeleteThis();  // and a, orphaned, with it
  EXPECT_EQ(deletions, 2);
}

TEST(References, CloneThroughRemapSharesWhatWasShared) {
  Thing original(nullptr, 2);
  auto* shared = new Thing;
  original.MakeRefByID(FOREVER, 0, shared);
  original.MakeRefByID(FOREVER, 1, shared);
  RemapDir remap;
  auto* copy = static_cast<Thing*>(remap.CloneRef(&original));
  EXPECT_EQ(copy->GetReference(0), copy->GetReference(1));
  EXPECT_NE(copy->GetReference(0), shared);
  auto* fresh = static_cast<Thing*>(NoRemap().CloneRef(&original));
  EXPECT_NE(fresh->GetReference(0), fresh->GetReference(1));
  copy->DeleteThis();
  fresh->DeleteThis();
  original.DeleteAllRefsFromMe();
}

}  // namespace
