#include "expression.h"

namespace cli {

// Creation in the host picks the Neutral in the library's creation mode,
// which is still to come; until then this does what picking would.
ExpressionObject* CreateOnNode(ClassDesc* cd, INode* node) {
  auto* obj = static_cast<ExpressionObject*>(cd->Create(FALSE));
  obj->pickTargetIndex = TARGET_NEUTRAL;
  obj->targets[TARGET_NEUTRAL].offsetTM = node->GetObjectTM(0) * Inverse(node->GetNodeTM(0));
  obj->ReplaceReference(TARGET_NEUTRAL + 1, node->GetObjectRef());
  node->SetObjectRef(obj);
  return obj;
}

}  // namespace cli
