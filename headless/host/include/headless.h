// The headless user: the extra API through which tests and the command line
// drive the headless stand-in as a user would, and read back what a user
// would have seen. The Win32 level (headless_win32.h) and the SDK's records
// (headless_sdk.h) in one; the host itself is in headless_host.h.
#ifndef HEADLESS_HEADLESS_H
#define HEADLESS_HEADLESS_H
#include <headless_sdk.h>
#include <headless_win32.h>

namespace headless {

// Forgets every record and scripted answer of both levels (not the loaded
// modules nor the windows), so that each test starts from a clean user; the
// cursor is the arrow again.
inline void ResetRecords() {
  ResetWin32Records();
  ResetSdkRecords();
}

}  // namespace headless

#endif
