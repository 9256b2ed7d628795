// Two checks of the motion file reader per input. The bytes as a file: every
// value kept must be finite, and a failed read must say where. The bytes as
// the choices of a well-formed take: one number spoiled with a word that is
// not a finite number must read exactly like the same take cut before that
// sample, with the fault at the spoiled number's line. Boxes shown for
// refused headers are only recorded by the headless stand-in; forgetting them
// every run keeps memory flat.
#include "tzkuperdata.h"

#include <headless.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_text.h"

namespace {

using fuzz_text::Require;

int Read(const std::string& text, MotionData& data) {
  headless::ResetRecords();
  fuzz_text::Stream stream(text);
  Require(stream.get() != nullptr);
  return data.Read(stream.get(), nullptr);
}

void CheckRecord(const MotionData& data, int result) {
  Require(data.Count() >= 0 && data.Count() <= data.capacity);
  for (int i = 0; i < data.Count(); ++i) {
    for (int axis = 0; axis < AXIS_COUNT; ++axis) Require(std::isfinite(data.GetSample(i).GetValue(axis)));
  }
  Require(data.fault.Found() == (result == 0));
}

// A take chosen from the bytes: its header, and per sample one number per
// column with the blanks that follow each.
struct Take {
  std::string header;
  std::vector<std::vector<std::string>> numbers, blanks;
};

Take ChooseTake(FuzzedDataProvider& in) {
  int axes[AXIS_COUNT] = {0, 1, 2, 3, 4, 5, 6};
  for (int i = AXIS_COUNT - 1; i > 0; --i) std::swap(axes[i], axes[in.ConsumeIntegralInRange(0, i)]);
  const int columns = in.ConsumeIntegralInRange<int>(1, AXIS_COUNT);
  const char* const separators[] = {" ", ",", " , "};
  Take take;
  take.header = "Axes = ";
  for (int c = 0; c < columns; ++c)
    take.header += (c ? in.PickValueInArray(separators) : "") + std::string(motionAxisLabels[axes[c]]);
  take.header += "\n";
  const char* const blanks[] = {" ", "\t", "\n", " \n\n"};
  const int samples = in.ConsumeIntegralInRange(1, 8);
  take.numbers.resize(samples);
  take.blanks.resize(samples);
  for (int s = 0; s < samples; ++s) {
    for (int c = 0; c < columns; ++c) {
      take.numbers[s].push_back(fuzz_text::Number(in));
      take.blanks[s].push_back(c + 1 < columns ? in.PickValueInArray(blanks) : "\n");
    }
  }
  return take;
}

// The take's text up to (not including) sample `samples`.
std::string Text(const Take& take, size_t samples) {
  std::string text = take.header;
  for (size_t s = 0; s < samples; ++s) {
    for (size_t c = 0; c < take.numbers[s].size(); ++c) text += take.numbers[s][c] + take.blanks[s][c];
  }
  return text;
}

void CheckSpoiledNumber(FuzzedDataProvider& in) {
  Take take = ChooseTake(in);
  const size_t sample = in.ConsumeIntegralInRange<size_t>(0, take.numbers.size() - 1);
  const size_t column = in.ConsumeIntegralInRange<size_t>(0, take.numbers[sample].size() - 1);
  const bool crlf = in.ConsumeBool();
  const std::string cut = Text(take, sample);
  take.numbers[sample][column] = fuzz_text::BadWord(in);
  std::string before = Text(take, sample);
  for (size_t c = 0; c < column; ++c) before += take.numbers[sample][c] + take.blanks[sample][c];
  const int line = 1 + static_cast<int>(std::count(before.begin(), before.end(), '\n'));
  const std::string spoiled = Text(take, take.numbers.size());

  MotionData expected, data;
  Require(Read(crlf ? fuzz_text::WithCrLf(cut) : cut, expected) == 1);
  Require(Read(crlf ? fuzz_text::WithCrLf(spoiled) : spoiled, data) == 0);
  Require(data.Count() == expected.Count() && data.Count() == static_cast<int>(sample));
  for (int i = 0; i < data.Count(); ++i) {
    for (int axis = 0; axis < AXIS_COUNT; ++axis)
      Require(data.GetSample(i).GetValue(axis) == expected.GetSample(i).GetValue(axis));
  }
  Require(data.fault.line == line && data.fault.sample == static_cast<int>(sample));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  MotionData data;
  const int result = Read(std::string(reinterpret_cast<const char*>(bytes), size), data);
  CheckRecord(data, result);
  FuzzedDataProvider in(bytes, size);
  CheckSpoiledNumber(in);
  return 0;
}
