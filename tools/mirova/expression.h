// The expression object as the command line makes it and works it.
#ifndef MIROVA_CLI_EXPRESSION_H
#define MIROVA_CLI_EXPRESSION_H
#include <headless_host.h>
#include <inode.h>

#include <ostream>
#include <string>

#include "mirovaobj.h"
#include "obj_file.h"
#include "session.h"

namespace cli {

// The expression object made as a user does it: node selected alone, the
// class's button pressed in the create panel; the node's object becomes the
// Neutral target. Creation stays on (its rollups open) until the caller
// leaves the panel. Null when the host would not create it.
ExpressionObject* CreateFromPanel(headless::Host& host, ClassDesc* cd, INode* node);

// The face every command that makes the expression object starts from.
struct Face {
  ObjMesh neutral;
  ExpressionObject* obj = nullptr;
};

// The expression object created so, in the session's host (whose module must
// be the command line's build of the plug-in) at fps frames a second, on a
// node named "Face" that holds the Neutral: the OBJ file at neutralPath, or
// the built-in face when it is empty. EXIT_OK; otherwise, said on err,
// EXIT_USAGE for a Neutral that cannot be read, EXIT_REFUSED when the
// object was not created.
int MakeFace(Session& session, const std::string& neutralPath, int fps, Face* face, std::ostream& err);

// The rollup page the host shows under title, or null.
HWND RollupPage(const headless::Host& host, const std::string& title);

// The recording chosen with the Face Tracker rollup's "Open...", then read
// and stabilised by the object; a fault the reader found is said on err as
// FILE:LINE. EXIT_USAGE when the open dialog would not take the file.
int OpenRecording(Session& session, ExpressionObject* obj, const std::string& path, std::ostream& err);

}  // namespace cli

#endif
