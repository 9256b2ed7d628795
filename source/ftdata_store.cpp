// The samples of a tracker recording on their way into the record: the
// record made once for the rows the stream can hold, or the samples staged
// and stored at the end.
#include "ftdata_store.h"

#include <algorithm>

// A row takes at least a byte for its frame, one for its time and one per
// marker field, so the bytes left bound the rows; the record is made that
// large (at most as large as the header claims).
bool TrackerSampleStore::Begin(int sampleCount, int markers, int64_t bytesLeft) {
  markerCount = markers;
  valid.assign(static_cast<size_t>(markers), 0);
  if (bytesLeft < 0) return true;  // a pipe, or Windows: staged
  const int64_t most = bytesLeft / (static_cast<int64_t>(markers) + 2) + 1;
  direct = static_cast<int>(std::min<int64_t>(sampleCount, most));
  return data.Allocate(direct, markers);
}

void TrackerSampleStore::Keep(int time, const std::vector<Point2>& row, const std::vector<unsigned char>& present) {
  if (direct > 0) {
    for (size_t m = 0; m < row.size(); ++m) data.positions[m * static_cast<size_t>(direct) + times.size()] = row[m];
  } else {
    staged.insert(staged.end(), row.begin(), row.end());
  }
  times.push_back(time);
  for (size_t m = 0; m < valid.size(); ++m) valid[m] += present[m];
}

bool TrackerSampleStore::Store(const std::vector<CStr>& names) {
  const int samples = static_cast<int>(times.size());
  if (samples == 0) {
    data.Clear();
    return true;
  }
  if (direct > 0) {
    CloseUp(samples);
  } else if (!data.Allocate(samples, markerCount)) {
    return false;
  }
  const size_t n = static_cast<size_t>(samples);
  const size_t markers = static_cast<size_t>(markerCount);
  for (size_t m = 0; m < markers; ++m) {
    data.markers[m].name = names[m];
    data.markers[m].validCount = valid[m];
    for (size_t s = 0; direct == 0 && s < n; ++s) data.positions[m * n + s] = staged[s * markers + m];
  }
  std::copy(times.begin(), times.end(), data.sampleTimes);
  return true;
}

// Fewer rows than the record was made for: each marker's positions move
// down to follow the one before's. The array keeps its size; only the
// samples counted are ever read.
void TrackerSampleStore::CloseUp(int samples) {
  const size_t n = static_cast<size_t>(samples), rows = static_cast<size_t>(direct);
  for (size_t m = 1; n < rows && m < static_cast<size_t>(markerCount); ++m)
    std::copy(data.positions + m * rows, data.positions + m * rows + n, data.positions + m * n);
  data.sampleCount = samples;
}
