// The scene's hold on its nodes (internal to the host).
#ifndef HEADLESS_HOST_SCENE_ROOT_H
#define HEADLESS_HOST_SCENE_ROOT_H
#include <inode.h>

#include <algorithm>
#include <vector>

namespace headless {

// References every node of the scene, one reference each, as the host's
// root node does; a node leaves when the host deletes it.
class SceneRoot final : public ReferenceMaker {
 public:
  ~SceneRoot() override { DeleteAllRefsFromMe(); }
  void Add(INode* node) {
    slots.push_back(nullptr);
    MakeRefByID(FOREVER, static_cast<int>(slots.size()) - 1, node);
  }
  // Drops the slots of nodes that went away.
  void Compact() { slots.erase(std::remove(slots.begin(), slots.end(), nullptr), slots.end()); }

  int NumRefs() override { return static_cast<int>(slots.size()); }
  RefTargetHandle GetReference(int i) override {
    return i >= 0 && i < NumRefs() ? slots[static_cast<size_t>(i)] : nullptr;
  }
  void SetReference(int i, RefTargetHandle target) override {
    if (i >= 0 && i < NumRefs()) slots[static_cast<size_t>(i)] = target;
  }
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage) override {
    return REF_SUCCEED;
  }

 private:
  std::vector<RefTargetHandle> slots;
};

}  // namespace headless

#endif
