// The headless host's scene: its nodes and the selection.
#include <headless_host.h>

#include <algorithm>

namespace headless {

namespace {

void TellSelectionChanged(INode* node, bool selected) {
  if (static_cast<bool>(node->Selected()) == selected) return;
  node->SetSelected(selected);
  node->NotifyDependents(FOREVER, PART_ALL, REFMSG_TARGET_SELECTIONCHANGE);
}

}  // namespace

INode* Host::CreateNode(Object* obj, const char* name) {
  auto* node = new INode(name);
  if (obj) node->SetObjectRef(obj);
  nodes.push_back(node);
  return node;
}

void Host::Select(INode* node, bool add) {
  if (!add) ClearSelection();
  if (!node || std::find(selection.begin(), selection.end(), node) != selection.end()) return;
  selection.push_back(node);
  TellSelectionChanged(node, true);
}

void Host::ClearSelection() {
  std::vector<INode*> was;
  was.swap(selection);
  for (INode* node : was) TellSelectionChanged(node, false);
}

int Host::GetSelNodeCount() { return static_cast<int>(selection.size()); }

INode* Host::GetSelNode(int i) {
  return i >= 0 && i < GetSelNodeCount() ? selection[static_cast<size_t>(i)] : nullptr;
}

void Host::DeleteNode(INode* node, BOOL redraw, BOOL) {
  auto it = std::find(nodes.begin(), nodes.end(), node);
  if (it == nodes.end()) return;
  nodes.erase(it);
  selection.erase(std::remove(selection.begin(), selection.end(), node), selection.end());
  // Dependents hear of the deletion while the node is still whole.
  node->DeleteMe();
  node->DeleteThis();
  if (redraw) RedrawViews(time);
}

}  // namespace headless
