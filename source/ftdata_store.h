// Where a tracker recording's whole samples go while ftdata_read.cpp reads
// them (internal to the reader). Memory follows what the file holds, not
// what its header claims. When the stream's size bounds the rows it can
// hold, the record is allocated once for that many and samples go straight
// into it; otherwise (a pipe) they gather row by row and go into the record
// at the end, marker by marker.
#ifndef FTDATA_STORE_H
#define FTDATA_STORE_H

#include <cstdint>
#include <vector>

#include "ftdata.h"

class TrackerSampleStore {
 public:
  explicit TrackerSampleStore(TrackerData& d) : data(d) {}

  // Readies the store for samples of markerCount markers, at most
  // sampleCount of them (both positive); bytesLeft is what the stream holds
  // after the name row, negative when that is not known. False when memory
  // runs out.
  bool Begin(int sampleCount, int markerCount, int64_t bytesLeft);

  // Marker m's position in the last sample kept; (0, 0) before the first.
  Point2 Last(size_t m) const {
    const size_t kept = times.size();
    if (kept == 0) return Point2(0.0f, 0.0f);
    return direct > 0 ? data.positions[m * static_cast<size_t>(direct) + kept - 1]
                      : staged[(kept - 1) * static_cast<size_t>(markerCount) + m];
  }

  // Keeps a whole sample: its time in ticks, each marker's position, and
  // whether the file gave it (1) or it was repeated (0).
  void Keep(int time, const std::vector<Point2>& row, const std::vector<unsigned char>& present);

  // The kept samples into the record, marker by marker, with the markers'
  // names; with none it is left empty. False when memory runs out.
  bool Store(const std::vector<CStr>& names);

 private:
  void CloseUp(int samples);

  TrackerData& data;
  int markerCount = 0;
  int direct = 0;  // samples the record was made for when they go straight into it
  std::vector<int> times;      // one per whole sample
  std::vector<Point2> staged;  // whole samples, sample by sample: entry s * M + m
  std::vector<int> valid;      // per marker: whole samples with a position from the file
};

#endif
