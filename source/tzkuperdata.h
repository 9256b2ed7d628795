// Motion samples of a Kuper motion-control rig and the reader of its ASCII
// export (*.asc): one header line "Axes = <labels>", then the numbers of every
// sample, one per named axis, in header order.
//
// Units: positions (track, east-west, north-south) in scene units as the rig
// wrote them, angles (pan, tilt, roll) in degrees, focus as recorded; the
// reader converts nothing. An axis the header does not name is 0.
//
// Ownership: MotionData owns its sample array. The caller owns the stream and
// the progress object passed to Read.
#ifndef TZKUPERDATA_H
#define TZKUPERDATA_H

#include <cstdio>

#include "readfault.h"

enum MotionAxis {
  AXIS_FOCUS = 0,
  AXIS_TRACK = 1,
  AXIS_EAST_WEST = 2,
  AXIS_NORTH_SOUTH = 3,
  AXIS_PAN = 4,
  AXIS_TILT = 5,
  AXIS_ROLL = 6,
  AXIS_COUNT = 7
};

// The header label of each axis, indexed by MotionAxis (case-sensitive).
extern const char* const motionAxisLabels[AXIS_COUNT];

// Told the share of the file read so far (0..1) after every sample.
class MotionProgress {
 public:
  virtual void SetProgress(float fraction) = 0;

 protected:
  ~MotionProgress() = default;
};

class MotionSample {
 public:
  float values[AXIS_COUNT];  // indexed by MotionAxis

  MotionSample();
  // i in 0..AXIS_COUNT-1; outside, asserts and gives 0.
  float GetValue(int i) const;
};

class MotionData {
 public:
  MotionSample* samples;  // owned, capacity records; null when empty
  int capacity;
  int count;  // records in use, in file order
  ReadFault fault;  // where the last Read failed; none after a success or Clear
  int repeatedAxis;  // the first axis the last header named twice (its later column kept), or -1

  MotionData();
  ~MotionData();
  MotionData(const MotionData&) = delete;
  MotionData& operator=(const MotionData&) = delete;

  void Clear();
  // Adds n records; all but the first count (kept when keep) are zero. n <= 0
  // does nothing. False when memory runs out: the old array is then untouched.
  bool Grow(int n, bool keep);
  // When full, doubles the capacity (0, 100, 200, 400 ...), or grows by 100
  // when doubling finds no memory. False when not even that fits (nothing
  // appended).
  bool Append(const MotionSample& s);
  // i in 0..count-1; outside, asserts and gives an all-zero sample.
  const MotionSample& GetSample(int i) const;
  int Count() const { return count; }

  // Replaces the record with the samples of a Kuper ASCII file. Returns 1 on
  // success, 0 on failure; header errors and running out of memory are shown
  // in a message box, and the samples read before a failure are kept. Every
  // failure is kept in fault with its line. A header holds at most seven
  // labels and no NUL (a label named twice gives two columns, the later
  // one's value kept); a sample must hold decimal numbers with finite float
  // values. progress may be null.
  int Read(FILE* stream, MotionProgress* progress);
};

// Test hook: a Grow past this many records fails as an exhausted heap would.
// A negative limit lifts it (the default).
void SetMotionCapacityLimit(int records);

#endif
