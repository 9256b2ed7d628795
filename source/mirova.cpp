// Entry point and class table of the plug-in.
#include "mirova.h"

#include "tzmotion.h"

HINSTANCE hInstance = nullptr;

namespace {
bool controlsInit = false;
}

BOOL WINAPI DllMain(HINSTANCE hinstDLL, ULONG, LPVOID) {
  hInstance = hinstDLL;
  // Every reason comes here (thread attach and detach too); the control
  // libraries are initialised once per load.
  if (!controlsInit) {
    controlsInit = true;
    InitCustomControls(hInstance);
    InitCommonControls();
  }
  return TRUE;
}

const TCHAR* LibDescription() {
  return _T("TzTools. Contact the TzTools team <tztools@example.com>");
}

// The expression object's descriptor is built at load but deliberately not
// listed: the host sees only the motion-control utility.
int LibNumberClasses() { return 1; }

ClassDesc* LibClassDesc(int i) { return i == 0 ? GetMotionControlDesc() : nullptr; }

ULONG LibVersion() { return VERSION_3DSMAX; }
