// The expression object as the command line makes it.
#ifndef MIROVA_CLI_EXPRESSION_H
#define MIROVA_CLI_EXPRESSION_H
#include <inode.h>

#include "mirovaobj.h"

namespace cli {

// The expression object made through its class descriptor on node, as
// creation makes it: the node's object becomes the Neutral target, shared
// with the node, with the node's object offset at time 0; the node shows the
// expression object from then on.
ExpressionObject* CreateOnNode(ClassDesc* cd, INode* node);

}  // namespace cli

#endif
