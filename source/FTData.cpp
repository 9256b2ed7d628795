#include "ftdata.h"

#include <cstdint>
#include <new>

TrackerMarker::TrackerMarker() : validCount(0) {}

TrackerData::TrackerData()
    : sampleCount(0), markerCount(0), markers(nullptr), positions(nullptr), sampleTimes(nullptr) {}

TrackerData::~TrackerData() { Clear(); }

void TrackerData::Clear() {
  delete[] markers;
  delete[] positions;
  delete[] sampleTimes;
  markers = nullptr;
  positions = nullptr;
  sampleTimes = nullptr;
  sampleCount = 0;
  markerCount = 0;
}
