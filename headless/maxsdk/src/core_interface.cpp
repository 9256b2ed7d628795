// The host's core interface as plug-ins reach it, and the scene's time
// settings: the host program above installs its interface here.
#include <headless_sdk.h>
#include <maxapi.h>

namespace {
Interface* core = nullptr;
int frameRate = 30;
}  // namespace

Interface* GetCOREInterface() { return core; }

Interface* headless::InstallCoreInterface(Interface* ip) {
  Interface* replaced = core;
  core = ip;
  return replaced;
}

int GetFrameRate() { return frameRate; }

void SetFrameRate(int rate) {
  if (rate >= 1 && rate <= TIME_TICKSPERSEC) frameRate = rate;
}

int GetTicksPerFrame() { return TIME_TICKSPERSEC / frameRate; }
