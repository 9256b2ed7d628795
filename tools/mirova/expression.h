// The expression object as the command line makes it.
#ifndef MIROVA_CLI_EXPRESSION_H
#define MIROVA_CLI_EXPRESSION_H
#include <headless_host.h>
#include <inode.h>

#include <string>

#include "mirovaobj.h"

namespace cli {

// The expression object made as a user does it: node selected alone, the
// class's button pressed in the create panel; the node's object becomes the
// Neutral target. Creation stays on (its rollups open) until the caller
// leaves the panel. Null when the host would not create it.
ExpressionObject* CreateFromPanel(headless::Host& host, ClassDesc* cd, INode* node);

// The rollup page the host shows under title, or null.
HWND RollupPage(const headless::Host& host, const std::string& title);

}  // namespace cli

#endif
