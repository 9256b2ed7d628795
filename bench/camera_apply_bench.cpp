// Pressing "Apply To Camera" for takes of 10,000 and 100,000 samples: keys
// are appended in time order, so ten times the samples should cost about ten
// times as much, not a hundred (the per-sample figure is the one to compare).
#include <benchmark/benchmark.h>
#include <headless.h>
#include <headless_host.h>
#include <standard_objects.h>

#include <cmath>

#include "resource.h"
#include "tzmotion.h"

namespace {

// Fills the utility's take as a reader would leave it: a slow dolly with a
// pan and a tilt.
void FillTake(MotionData& data, int samples) {
  data.Clear();
  data.Grow(samples, false);
  for (int i = 0; i < samples; ++i) {
    float t = static_cast<float>(i) / 30.0f;
    float* v = data.samples[i].values;
    v[AXIS_TRACK] = 2.5f * t;
    v[AXIS_EAST_WEST] = 0.5f * t;
    v[AXIS_NORTH_SOUTH] = 54.0f;
    v[AXIS_PAN] = 20.0f * std::sin(t);
    v[AXIS_TILT] = 5.0f * std::cos(t);
  }
  data.count = samples;
}

void BM_ApplyToCamera(benchmark::State& state) {
  const int samples = static_cast<int>(state.range(0));
  headless::Host host;
  host.Select(host.CreateNode(NewDefaultCamera(FREE_CAMERA), "Camera01"));
  MotionControlUtility& mc = GetMotionControlUtility();
  mc.fps = 30;
  FillTake(mc.motionData, samples);
  host.OpenUtility(GetMotionControlDesc());
  for (auto _ : state) {
    // Every press replaces the keys of the press before.
    if (!headless::Click(mc.hPanel, IDC_MOTION_APPLY)) state.SkipWithError("no panel");
  }
  host.CloseUtility();
  mc.motionData.Clear();
  state.SetItemsProcessed(state.iterations() * samples);
  state.counters["ns_per_sample"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * samples,
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ApplyToCamera)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
