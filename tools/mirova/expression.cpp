#include "expression.h"

namespace cli {

ExpressionObject* CreateFromPanel(headless::Host& host, ClassDesc* cd, INode* node) {
  host.Select(node);
  if (!cd || !host.CreateFromPanel(cd)) return nullptr;
  Object* made = node->GetObjectRef();
  if (!made || made->ClassID() != EXPRESSION_OBJECT_CLASS_ID) return nullptr;
  return static_cast<ExpressionObject*>(made);
}

HWND RollupPage(const headless::Host& host, const std::string& title) {
  for (const headless::RollupPageRecord& page : host.RollupPages())
    if (page.title == title) return page.page;
  return nullptr;
}

}  // namespace cli
