// Names of the system cursors (internal to win32).
#ifndef HEADLESS_CURSORS_H
#define HEADLESS_CURSORS_H
#include <windows.h>

#include <string>

namespace headless::detail {

// "arrow", "wait" ... for a system cursor; empty for anything else.
std::string CursorName(HCURSOR cursor);

}  // namespace headless::detail

#endif
