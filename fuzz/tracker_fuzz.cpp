// Feeds arbitrary bytes to the tracker recording reader as a stream, then
// runs everything that walks the record (stabilise, describe, lookups) and
// checks that the record is whole: empty, or every array of its full size
// with counts the reader could have seen. A fresh host per input keeps its
// progress records from growing.
#include "ftdata.h"

#include <headless.h>
#include <headless_host.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

void CheckWhole(const TrackerData& data, size_t fileSize) {
  if (data.SampleCount() == 0 || data.MarkerCount() == 0) {
    Require(data.SampleCount() == 0 && data.MarkerCount() == 0);
    Require(data.markers == nullptr && data.positions == nullptr && data.sampleTimes == nullptr);
    return;
  }
  Require(data.SampleCount() > 0 && data.MarkerCount() > 0);
  Require(3.0 * data.SampleCount() * data.MarkerCount() <= static_cast<double>(fileSize));
  for (int m = 0; m < data.MarkerCount(); ++m) {
    const int valid = data.Marker(m).validCount;
    Require(valid >= 0 && valid <= data.SampleCount());
    for (int s = 0; s < data.SampleCount(); ++s) {
      const Point2& p = data.Position(s, m);
      Require(std::isfinite(p.x) && std::isfinite(p.y));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  headless::ResetRecords();
  headless::Host host;
  // fmemopen refuses an empty buffer on older C libraries; an empty file then
  // comes from tmpfile.
  std::vector<uint8_t> copy(bytes, bytes + size);
  FILE* stream = size > 0 ? fmemopen(copy.data(), size, "r") : tmpfile();
  if (stream == nullptr) return 0;
  TrackerData data;
  data.Read(stream);
  fclose(stream);
  CheckWhole(data, size);
  Require(headless::AssertReports().empty());
  Require(!host.ProgressActive());
  if (data.MarkerCount() > 0) {
    data.FindMarker(data.Marker(data.MarkerCount() - 1).name);
    data.Stabilise(data.Marker(0).name);
  }
  data.Stabilise("nose_bridge");
  data.Describe();
  Require(headless::AssertReports().empty());
  return 0;
}
