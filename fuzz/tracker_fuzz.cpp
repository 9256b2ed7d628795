// Two checks of the tracker recording reader per input. The bytes as a file:
// the record must be whole (empty, or every array of its full size with
// counts the reader could have seen), every position finite, a read that
// failed must say where, and everything that walks the record (stabilise,
// describe, lookups) must stay in bounds. The bytes as the choices of a
// well-formed recording: one value spoiled with a word that is not a finite
// number must read exactly like the same recording with that marker missing
// in that sample, and a spoiled time like the recording without that row.
// A fresh host per input keeps its progress records from growing.
#include "ftdata.h"

#include <headless.h>
#include <headless_host.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fuzz_text.h"

namespace {

using fuzz_text::Require;

bool Read(const std::string& text, TrackerData& data) {
  headless::ResetRecords();
  fuzz_text::Stream stream(text);
  Require(stream.get() != nullptr);
  return data.Read(stream.get());
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

void CheckWalks(TrackerData& data, const headless::Host& host) {
  Require(headless::AssertReports().empty());
  Require(!host.ProgressActive());
  if (data.MarkerCount() > 0) {
    data.FindMarker(data.Marker(data.MarkerCount() - 1).name);
    data.Stabilise(data.Marker(0).name);
  }
  data.Stabilise("nose_bridge");
  data.Describe();
  Require(headless::AssertReports().empty());
}

// A recording chosen from the bytes: names, and per sample its time and
// each marker's three values (none: missing).
struct Recording {
  std::vector<std::string> names;
  std::vector<std::string> times;
  std::vector<std::vector<std::optional<std::vector<std::string>>>> fields;
};

std::string Name(FuzzedDataProvider& in) {
  std::string name;
  for (char c : in.ConsumeRandomLengthString(8)) {
    if (c != '\t' && c != '\n') name += c;
  }
  return name;
}

Recording ChooseRecording(FuzzedDataProvider& in) {
  Recording r;
  const int markers = in.ConsumeIntegralInRange(1, 4);
  const int samples = in.ConsumeIntegralInRange(1, 5);
  for (int m = 0; m < markers; ++m) r.names.push_back(Name(in));
  r.fields.resize(samples);
  for (int s = 0; s < samples; ++s) {
    r.times.push_back(std::to_string(in.ConsumeIntegralInRange(0, 100000)) + ".5");
    for (int m = 0; m < markers; ++m) {
      if (in.ConsumeBool()) {
        r.fields[s].push_back(std::vector<std::string>{fuzz_text::Number(in), fuzz_text::Number(in), "1"});
      } else {
        r.fields[s].push_back(std::nullopt);
      }
    }
  }
  return r;
}

std::string Text(const Recording& r) {
  std::string text = "FaceTracker\nfuzz\nSamples Markers " + std::to_string(r.times.size()) + " " +
                     std::to_string(r.names.size()) + "\nFrame Time\t";
  for (const std::string& name : r.names) text += name + "\t\t\t";
  text += "\n\tY\tX\tQ\n";
  for (size_t s = 0; s < r.times.size(); ++s) {
    text += std::to_string(s) + "\t" + r.times[s];
    for (const auto& field : r.fields[s]) text += field ? "\t" + (*field)[0] + "\t" + (*field)[1] + "\t" + (*field)[2] : "\t\t\t";
    text += "\n";
  }
  return text;
}

struct Snapshot {
  std::vector<std::string> names;
  std::vector<int> valid, times;
  std::vector<float> coordinates;
  bool operator==(const Snapshot& o) const {
    return names == o.names && valid == o.valid && times == o.times && coordinates == o.coordinates;
  }
};

Snapshot Take(const TrackerData& data) {
  Snapshot shot;
  for (int m = 0; m < data.MarkerCount(); ++m) {
    shot.names.push_back(data.Marker(m).name.data());
    shot.valid.push_back(data.Marker(m).validCount);
    for (int s = 0; s < data.SampleCount(); ++s) {
      shot.coordinates.push_back(data.Position(s, m).x);
      shot.coordinates.push_back(data.Position(s, m).y);
    }
  }
  for (int s = 0; s < data.SampleCount(); ++s) shot.times.push_back(data.SampleTime(s));
  return shot;
}

// The spoiled recording and the one it must read like; marker -1 for a time.
void CheckSpoiledField(FuzzedDataProvider& in) {
  Recording r = ChooseRecording(in);
  const size_t sample = in.ConsumeIntegralInRange<size_t>(0, r.times.size() - 1);
  const bool time = in.ConsumeBool();
  const size_t marker = in.ConsumeIntegralInRange<size_t>(0, r.names.size() - 1);
  const size_t value = in.ConsumeIntegralInRange<size_t>(0, 2);
  const bool crlf = in.ConsumeBool();
  const std::string bad = fuzz_text::BadWord(in);
  Recording like = r;
  if (time) {
    like.times.erase(like.times.begin() + static_cast<std::ptrdiff_t>(sample));
    like.fields.erase(like.fields.begin() + static_cast<std::ptrdiff_t>(sample));
    r.times[sample] = bad;
  } else {
    like.fields[sample][marker] = std::nullopt;
    auto& field = r.fields[sample][marker];
    if (!field) field = std::vector<std::string>{"0.5", "0.5", "1"};
    (*field)[value] = bad;
  }
  TrackerData spoiled, expected;
  const std::string spoiledText = Text(r);
  Require(!Read(crlf ? fuzz_text::WithCrLf(spoiledText) : spoiledText, spoiled));
  const std::string likeText = Text(like);
  Read(crlf ? fuzz_text::WithCrLf(likeText) : likeText, expected);
  Require(Take(spoiled) == Take(expected));
  Require(spoiled.fault.line == 6 + static_cast<int>(sample) && spoiled.fault.sample == static_cast<int>(sample));
  Require(spoiled.fault.marker == (time ? -1 : static_cast<int>(marker)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  headless::Host host;
  TrackerData data;
  const bool whole = Read(std::string(reinterpret_cast<const char*>(bytes), size), data);
  CheckWhole(data, size);
  Require(whole != data.fault.Found());
  CheckWalks(data, host);
  FuzzedDataProvider in(bytes, size);
  CheckSpoiledField(in);
  return 0;
}
