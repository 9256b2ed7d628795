// The headless host's core: its lifetime as the core interface, time,
// animate mode, progress and redraws.
#include <headless_host.h>
#include <headless_sdk.h>

#include <algorithm>
#include <cstdio>

#include "host_modes.h"
#include "scene_root.h"

namespace headless {

Host::Host()
    : previous(InstallCoreInterface(this)),
      previousFrameRate(GetFrameRate()),
      root(std::make_unique<SceneRoot>()),
      modes(std::make_unique<ModeState>(*this, [this](IPoint2 pt) { Select(NodeAt(pt)); })) {
  ::SetFrameRate(30);
  ResetAnimate();
}
Host::~Host() {
  // Modes end while the panel's pages they may touch are still there.
  EndModes();
  CloseCommandPanel();
  // Nodes go first, while the host that made them is still current.
  ClearSelection();
  while (!nodes.empty()) DeleteNode(nodes.back(), FALSE);
  if (IsWindow(viewportWindow)) DestroyWindow(viewportWindow);
  ::SetFrameRate(previousFrameRate);
  InstallCoreInterface(previous);
}

void Host::SetTime(TimeValue t) {
  time = t;
  // A callback may unregister itself or another while it runs: its place is
  // emptied, not removed, so that the walk misses no one; one registered
  // meanwhile hears the next change.
  ++timeCallbacksCalling;
  const size_t count = timeCallbacks.size();
  for (size_t i = 0; i < count; ++i)
    if (TimeChangeCallback* tc = timeCallbacks[i]) tc->TimeChanged(t);
  if (--timeCallbacksCalling == 0)
    timeCallbacks.erase(std::remove(timeCallbacks.begin(), timeCallbacks.end(), nullptr),
                        timeCallbacks.end());
}

void Host::Play(TimeValue from, TimeValue to) {
  const long long frame = GetTicksPerFrame();
  // Stepped in a wider type so that a range reaching the largest time ends.
  for (long long t = from; t <= to; t += frame) SetTime(static_cast<TimeValue>(t));
}

void Host::RegisterTimeChangeCallback(TimeChangeCallback* tc) {
  if (tc) timeCallbacks.push_back(tc);
}

void Host::UnRegisterTimeChangeCallback(TimeChangeCallback* tc) {
  if (!tc) return;
  if (timeCallbacksCalling > 0)
    std::replace(timeCallbacks.begin(), timeCallbacks.end(), tc,
                 static_cast<TimeChangeCallback*>(nullptr));
  else
    timeCallbacks.erase(std::remove(timeCallbacks.begin(), timeCallbacks.end(), tc),
                        timeCallbacks.end());
}

BOOL Host::ProgressStart(const TCHAR* title, BOOL dispBar, LPTHREAD_START_ROUTINE fn,
                         LPVOID arg) {
  progress.push_back({title ? title : "", dispBar != FALSE, {}, false});
  progressActive = true;
  progressShown = -1;
  // The host runs the work function; plug-ins here pass an idle one and do the
  // work themselves between the calls.
  if (fn) fn(arg);
  return TRUE;
}

void Host::ProgressUpdate(int pct, BOOL, const TCHAR*) {
  if (!progressActive) return;
  progress.back().updates.push_back(pct);
  // A reader updates every few samples; the line changes a hundred times.
  if (progressStream && pct != progressShown) {
    std::fprintf(progressStream, "\r%s %3d%%", progress.back().title.c_str(), pct);
    progressShown = pct;
  }
}

void Host::ProgressEnd() {
  if (!progressActive) return;
  progress.back().ended = true;
  progressActive = false;
  if (progressStream) std::fprintf(progressStream, "\r%s done\n", progress.back().title.c_str());
}

void Host::RedrawViews(TimeValue t, DWORD, ReferenceTarget*) {
  ++redraws;
  lastRedraw = t;
}

}  // namespace headless
