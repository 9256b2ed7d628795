// The headless host's scene: its nodes and the selection.
#include <headless_host.h>

#include <algorithm>

#include "scene_root.h"

namespace headless {

INode* Host::CreateNode(Object* obj, const char* name) {
  auto* node = new INode(name);
  if (obj) node->SetObjectRef(obj);
  nodes.push_back(node);
  root->Add(node);
  return node;
}

void Host::SetNodeSelected(INode* node, bool selected) {
  // A dependent hearing of an earlier change may have deleted this node.
  if (std::find(nodes.begin(), nodes.end(), node) == nodes.end()) return;
  if (static_cast<bool>(node->Selected()) == selected) return;
  node->SetSelected(selected);
  node->NotifyDependents(FOREVER, PART_ALL, REFMSG_TARGET_SELECTIONCHANGE);
}

void Host::Select(INode* node, bool add) {
  if (node && std::find(nodes.begin(), nodes.end(), node) == nodes.end()) return;
  std::vector<INode*> dropped;
  if (!add) {
    // Only the nodes whose selection changes hear of it.
    for (INode* n : selection)
      if (n != node) dropped.push_back(n);
    bool kept = node && node->Selected();
    selection.clear();
    if (kept) selection.push_back(node);
  }
  bool added = node && std::find(selection.begin(), selection.end(), node) == selection.end();
  if (added) selection.push_back(node);
  for (INode* n : dropped) SetNodeSelected(n, false);
  if (added) SetNodeSelected(node, true);
}

void Host::ClearSelection() { Select(nullptr); }

int Host::GetSelNodeCount() { return static_cast<int>(selection.size()); }

INode* Host::GetSelNode(int i) {
  return i >= 0 && i < GetSelNodeCount() ? selection[static_cast<size_t>(i)] : nullptr;
}

void Host::DeleteNode(INode* node, BOOL redraw, BOOL) {
  auto it = std::find(nodes.begin(), nodes.end(), node);
  if (it == nodes.end()) return;
  nodes.erase(it);
  selection.erase(std::remove(selection.begin(), selection.end(), node), selection.end());
  if (viewport.GetClosestHit() == node) viewport.PointAt(nullptr);
  // Dependents hear of the deletion while the node is still whole; the
  // scene's own reference keeps it alive while they let go of theirs.
  node->DeleteMe();
  root->Compact();
  node->DeleteThis();
  if (redraw) RedrawViews(time);
}

}  // namespace headless
