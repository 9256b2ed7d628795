// One FaceTracker recording (*.trc): for every sample a time and the 2-D image
// position of each named face marker, and the reader of the tab-separated file.
//
// Units: sample times in host ticks (4800 a second). Positions as the tracker
// wrote them (x horizontal, y growing downward) until Stabilise moves them into
// the frame of a reference marker, which then sits at (0.5, 0.5).
//
// Ownership: TrackerData owns its three arrays (and the marker names in them).
// The caller owns the stream passed to Read and closes it afterwards.
#ifndef FTDATA_H
#define FTDATA_H

#include <max.h>
#include <point2.h>

#include <cstdio>

#include "readfault.h"

class TrackerMarker {
 public:
  CStr name;       // exactly as in the file (spaces kept, case-sensitive)
  int validCount;  // samples in which the file gave this marker a position

  TrackerMarker();
};

class TrackerData {
 public:
  int sampleCount;         // N
  int markerCount;         // M
  TrackerMarker* markers;  // M records in file column order; null when empty
  Point2* positions;       // N x M, marker by marker: entry m * N + s; null when empty
  int* sampleTimes;        // N times in ticks; null when empty
  ReadFault fault;         // the first fault of the last Read; none after Clear

  // Empty: both counts 0 and all arrays null; otherwise both counts are
  // positive and every array holds its full size.
  TrackerData();
  ~TrackerData();
  TrackerData(const TrackerData&) = delete;
  TrackerData& operator=(const TrackerData&) = delete;

  void Clear();
  // Replaces the record with samples x markers entries: empty names, zero
  // valid counts, positions (0, 0) and times 0. Counts must be positive and
  // their arrays must fit in memory; otherwise (or when memory runs out) the
  // record is left empty and the result is false.
  bool Allocate(int samples, int markers);

  // Replaces the record with the recording on the stream, showing the host's
  // progress bar "Loading..." while it reads. Every fault in the file is
  // shown in a message box (no owner, no caption), and the first is kept in
  // fault with its line, sample and marker. True when the file was read
  // whole without a fault. A header or name row that cannot be read leaves
  // the record empty; a recording cut short inside its sample rows is kept
  // up to the last whole sample. A marker field with a value that is not a
  // finite decimal number reads as if the marker were missing in that
  // sample; a sample whose time is no such number (or beyond the ticks an
  // int holds) is left out. Memory follows the rows the stream holds,
  // whatever counts its header claims.
  bool Read(FILE* stream);

  // Index of the first marker named exactly name, or -1.
  int FindMarker(const char* name) const;
  // Makes every position relative to the named marker of the same sample:
  // the reference ends at (0.5, 0.5), y keeps its direction and x is
  // mirrored. A missing reference is shown in a message box and nothing
  // changes. Apply once: a second call mirrors x back.
  void Stabilise(const char* referenceName);
  // A text description: counts, then each marker with its valid count and,
  // when it has positions, its first (up to) three samples. Lines are
  // separated by CR LF.
  CStr Describe() const;

  int SampleCount() const { return sampleCount; }
  int MarkerCount() const { return markerCount; }
  // s in 0..N-1; outside, asserts and gives 0.
  int SampleTime(int s) const;
  // s in 0..N-1 and m in 0..M-1; outside, asserts and gives a scratch point.
  Point2& Position(int s, int m);
  const Point2& Position(int s, int m) const;
  // m in 0..M-1; outside, asserts and gives a scratch record.
  TrackerMarker& Marker(int m);
  const TrackerMarker& Marker(int m) const;
};

#endif
