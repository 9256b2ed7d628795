// The tracker recording itself: its arrays, lookups, stabilisation and
// description (the reader is in ftdata_read.cpp).
#include "ftdata.h"

#include <climits>
#include <cstdint>
#include <new>

TrackerMarker::TrackerMarker() : validCount(0) {}

TrackerData::TrackerData()
    : sampleCount(0), markerCount(0), markers(nullptr), positions(nullptr), sampleTimes(nullptr) {}

TrackerData::~TrackerData() { Clear(); }

void TrackerData::Clear() {
  fault = ReadFault();
  delete[] markers;
  delete[] positions;
  delete[] sampleTimes;
  markers = nullptr;
  positions = nullptr;
  sampleTimes = nullptr;
  sampleCount = 0;
  markerCount = 0;
}

// Positions are indexed with one int-sized product in the host's 32-bit
// world, so larger recordings are refused rather than wrapped.
bool TrackerData::Allocate(int samples, int markers) {
  Clear();
  if (samples <= 0 || markers <= 0) return false;
  if (static_cast<int64_t>(samples) * markers > INT_MAX) return false;
  const size_t entries = static_cast<size_t>(samples) * static_cast<size_t>(markers);
  this->markers = new (std::nothrow) TrackerMarker[static_cast<size_t>(markers)];
  positions = new (std::nothrow) Point2[entries];
  sampleTimes = new (std::nothrow) int[static_cast<size_t>(samples)]();
  if (this->markers == nullptr || positions == nullptr || sampleTimes == nullptr) {
    Clear();
    return false;
  }
  sampleCount = samples;
  markerCount = markers;
  return true;
}

int TrackerData::FindMarker(const char* name) const {
  for (int m = 0; m < markerCount; ++m) {
    if (markers[m].name == CStr(name)) return m;
  }
  return -1;
}

void TrackerData::Stabilise(const char* referenceName) {
  const int r = FindMarker(referenceName);
  if (r < 0) {
    MessageBoxA(nullptr, "Unable to find inertial marker in data", nullptr, MB_OK);
    return;
  }
  const Point2 centre(0.5f, 0.5f);
  for (int s = 0; s < sampleCount; ++s) {
    const Point2 reference = Position(s, r);
    for (int m = 0; m < markerCount; ++m) {
      Point2& p = Position(s, m);
      p = p - reference;
      p.x = -p.x;
      p = p + centre;
    }
  }
}

CStr TrackerData::Describe() const {
  CStr text("-- FaceTracker Data --");
  CStr line;
  line.printf("\r\nSamples: %d Markers: %d", sampleCount, markerCount);
  text += line;
  for (int m = 0; m < markerCount; ++m) {
    line.printf("\r\nMarker %d: %s Valid: %d", m + 1, markers[m].name.data(), markers[m].validCount);
    text += line;
    if (markers[m].validCount <= 0) continue;
    text += "\r\nTime     Position";
    for (int j = 0; j < 3 && j < sampleCount; ++j) {
      const Point2& p = Position(j, m);
      line.printf("\r\n%d  (%f, %f)", sampleTimes[j], static_cast<double>(p.x), static_cast<double>(p.y));
      text += line;
    }
  }
  return text;
}

int TrackerData::SampleTime(int s) const {
  DbgAssert(s >= 0 && s < sampleCount);
  if (s < 0 || s >= sampleCount) return 0;
  return sampleTimes[s];
}

Point2& TrackerData::Position(int s, int m) {
  DbgAssert(s >= 0 && s < sampleCount && m >= 0 && m < markerCount);
  // The host's assertion returns; an index outside must not touch the record.
  if (s < 0 || s >= sampleCount || m < 0 || m >= markerCount) {
    static Point2 scratch;
    scratch = Point2(0.0f, 0.0f);
    return scratch;
  }
  return positions[static_cast<size_t>(m) * static_cast<size_t>(sampleCount) + static_cast<size_t>(s)];
}

const Point2& TrackerData::Position(int s, int m) const {
  return const_cast<TrackerData*>(this)->Position(s, m);
}

TrackerMarker& TrackerData::Marker(int m) {
  DbgAssert(m >= 0 && m < markerCount);
  if (m < 0 || m >= markerCount) {
    static TrackerMarker scratch;
    scratch = TrackerMarker();
    return scratch;
  }
  return markers[m];
}

const TrackerMarker& TrackerData::Marker(int m) const {
  return const_cast<TrackerData*>(this)->Marker(m);
}
