// Cursors: the system's shared cursors and the one current cursor of the
// headless screen, every change recorded.
#include "cursors.h"

#include "recorder.h"

namespace headless::detail {

namespace {

struct SystemCursor {
  WORD id;
  const char* name;
};

const SystemCursor systemCursors[] = {
    {32512, "arrow"}, {32513, "ibeam"},  {32514, "wait"}, {32515, "cross"},      {32516, "uparrow"},
    {32646, "sizeall"}, {32648, "no"}, {32649, "hand"}, {32650, "appstarting"},
};

// A shared cursor's handle is the same on every load.
HCURSOR HandleOf(WORD id) { return reinterpret_cast<HCURSOR>(static_cast<uintptr_t>(0x30000 + id)); }

}  // namespace

std::string CursorName(HCURSOR cursor) {
  for (const SystemCursor& c : systemCursors)
    if (HandleOf(c.id) == cursor) return c.name;
  return std::string();
}

}  // namespace headless::detail

HCURSOR LoadCursorA(HINSTANCE hInstance, LPCSTR cursorName) {
  if (!hInstance && IS_INTRESOURCE(cursorName)) {
    WORD id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(cursorName));
    for (const auto& c : headless::detail::systemCursors)
      if (c.id == id) return headless::detail::HandleOf(id);
  }
  // Stand-in: modules carry no cursor resources.
  SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
  return nullptr;
}

HCURSOR SetCursor(HCURSOR cursor) {
  HCURSOR previous = GetCursor();
  auto& records = headless::detail::Records();
  records.cursorSet = true;
  records.cursor = cursor;
  records.cursorHistory.push_back(cursor);
  return previous;
}

HCURSOR GetCursor() {
  const auto& records = headless::detail::Records();
  return records.cursorSet ? records.cursor : LoadCursorA(nullptr, IDC_ARROW);
}
