// Stand-in: a closed interval of time in ticks.
#ifndef HEADLESS_INTERVAL_H
#define HEADLESS_INTERVAL_H
#include <maxtypes.h>

class Interval {
 public:
  Interval() : start(TIME_NegInfinity), end(TIME_NegInfinity) {}  // empty
  Interval(TimeValue s, TimeValue e) : start(s), end(e) {}
  TimeValue Start() const { return start; }
  TimeValue End() const { return end; }
  void Set(TimeValue s, TimeValue e) { start = s, end = e; }
  void SetStart(TimeValue s) { start = s; }
  void SetEnd(TimeValue e) { end = e; }
  void SetInfinite() { Set(TIME_NegInfinity, TIME_PosInfinity); }
  void SetEmpty() { Set(TIME_NegInfinity, TIME_NegInfinity); }
  void SetInstant(TimeValue t) { Set(t, t); }
  bool Empty() const { return start == TIME_NegInfinity && end == TIME_NegInfinity; }
  bool InInterval(TimeValue t) const { return !Empty() && start <= t && t <= end; }
  // Intersection.
  Interval& operator&=(const Interval& i) {
    if (Empty() || i.Empty() || i.start > end || i.end < start) {
      SetEmpty();
    } else {
      start = start > i.start ? start : i.start;
      end = end < i.end ? end : i.end;
    }
    return *this;
  }
  bool operator==(const Interval& i) const { return start == i.start && end == i.end; }
  bool operator!=(const Interval& i) const { return !(*this == i); }

 private:
  TimeValue start, end;
};

#define FOREVER Interval(TIME_NegInfinity, TIME_PosInfinity)
#define NEVER Interval(TIME_NegInfinity, TIME_NegInfinity)

#endif
