// Names of the system cursors (internal to win32).
#ifndef STANDIN_CURSORS_H
#define STANDIN_CURSORS_H
#include <windows.h>

#include <string>

namespace standin {

// "arrow", "wait" ... for a system cursor; empty for anything else.
std::string CursorName(HCURSOR cursor);

}  // namespace standin

#endif
