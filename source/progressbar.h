// The host's progress bar over one long operation of the library (reading a
// recording, deriving channels): started with its title on construction,
// ended once. Without a host interface nothing is shown.
#ifndef MIROVA_PROGRESSBAR_H
#define MIROVA_PROGRESSBAR_H
#include <max.h>

class HostProgressBar {
 public:
  explicit HostProgressBar(const char* title);
  ~HostProgressBar() { End(); }
  HostProgressBar(const HostProgressBar&) = delete;
  HostProgressBar& operator=(const HostProgressBar&) = delete;

  // Shows percent (0 to 100) with the percentage written out.
  void Update(int percent);
  void End();

 private:
  Interface* host;
};

// (done / total) x scale, computed in floating point and truncated.
int ProgressPercent(int done, int total, int scale);

#endif
