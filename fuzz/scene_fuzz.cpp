// Feeds arbitrary text to the scene loader, with the expression object's
// class registered as the tests register it. A refused file must leave the
// scene empty. A loaded one is worked as the host would: every node's
// transforms, and every object reachable from the nodes evaluated at a few
// times, its points read; then it is saved, and the saved text must load
// again and save to the same text.
#include <headless.h>
#include <headless_host.h>
#include <headless_scene.h>
#include <inode.h>
#include <object.h>

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "scene_classes.h"

namespace {

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

// Every target the nodes reach through references, each once.
std::vector<ReferenceTarget*> Reachable(const std::vector<INode*>& nodes) {
  std::vector<ReferenceTarget*> found, next(nodes.begin(), nodes.end());
  std::set<ReferenceTarget*> seen(next.begin(), next.end());
  while (!next.empty()) {
    ReferenceTarget* target = next.back();
    next.pop_back();
    found.push_back(target);
    for (int i = 0; i < target->NumRefs(); ++i) {
      ReferenceTarget* ref = target->GetReference(i);
      if (ref && seen.insert(ref).second) next.push_back(ref);
    }
  }
  return found;
}

void Evaluate(headless::Host& host) {
  const TimeValue times[] = {0, host.GetTime(), 160, -4800, 2147483647};
  for (TimeValue t : times) {
    for (INode* node : host.Nodes()) {
      node->GetNodeTM(t);
      node->GetObjectTM(t);
    }
    for (ReferenceTarget* target : Reachable(host.Nodes())) {
      if (!headless::IsSceneObject(target)) continue;
      Object* obj = static_cast<Object*>(target);
      ObjectState os = obj->Eval(t);
      for (int i = 0; os.obj && i < os.obj->NumPoints(); ++i) os.obj->GetPoint(i);
      obj->CanConvertToType(defObjectClassID);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  scene_classes::RegisterExpressionObject();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  headless::ResetRecords();
  const std::string text(reinterpret_cast<const char*>(bytes), size);
  std::string saved;
  {
    headless::Host host;
    if (!headless::LoadSceneText(host, text)) {
      Require(host.Nodes().empty());
      return 0;
    }
    Evaluate(host);
    saved = headless::SceneText(host);
  }
  headless::Host again;
  std::string error;
  Require(headless::LoadSceneText(again, saved, &error));
  Require(headless::SceneText(again) == saved);
  return 0;
}
