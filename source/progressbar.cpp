#include "progressbar.h"

namespace {

// The work is done by the caller between the updates, not by the host.
DWORD WINAPI IdleWorker(LPVOID) { return 0; }

}  // namespace

HostProgressBar::HostProgressBar(const char* title) : host(GetCOREInterface()) {
  if (host) host->ProgressStart(title, TRUE, IdleWorker, nullptr);
}

void HostProgressBar::Update(int percent) {
  if (host) host->ProgressUpdate(percent, TRUE, nullptr);
}

void HostProgressBar::End() {
  if (host) host->ProgressEnd();
  host = nullptr;
}

int ProgressPercent(int done, int total, int scale) {
  return static_cast<int>(static_cast<double>(scale) * done / total);
}
