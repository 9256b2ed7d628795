// Drawing the tracker view of 30 markers with trajectories, names and
// extents on, at 10,000 to 100,000 samples: every draw walks all samples of
// every marker, so the time should grow linearly with the samples (the
// complexity line fits them to N; the counter time_per_sample should stay
// flat). The calls are rasterised into the window's picture; no test keeps
// them in a display list.
#include <benchmark/benchmark.h>
#include <headless_gdi.h>
#include <headless_host.h>

#include <cmath>
#include <string>

#include "ftview.h"
#include "mirova.h"

namespace {

const int kMarkers = 30;

void Fill(TrackerData& data, int samples) {
  if (!data.Allocate(samples, kMarkers)) std::abort();
  for (int m = 0; m < kMarkers; ++m) {
    data.Marker(m).validCount = samples;
    data.Marker(m).name = ("marker_" + std::to_string(m)).c_str();
    for (int s = 0; s < samples; ++s) {
      const double t = s / 30.0;
      data.Position(s, m) = Point2(static_cast<float>(0.2 + 0.02 * m + 0.05 * std::sin(t + m)),
                                   static_cast<float>(0.3 + 0.01 * m + 0.05 * std::cos(0.7 * t)));
    }
  }
  for (int s = 0; s < samples; ++s) data.sampleTimes[s] = s * 160;
}

void BM_FTViewDraw(benchmark::State& state) {
  const int samples = static_cast<int>(state.range(0));
  if (!hInstance) hInstance = GetModuleHandleA(nullptr);
  headless::Host host;
  TrackerData data;
  Fill(data, samples);
  {
    FTView view;
    view.data = &data;
    view.showTrajectories = view.showNames = view.showExtents = true;
    if (!view.OpenWindow(nullptr)) state.SkipWithError("no view window");
    for (auto _ : state) view.Draw(samples / 2 * 160);
    // Seconds of one draw per sample (shown in us): flat when linear.
    state.counters["time_per_sample"] = benchmark::Counter(
        static_cast<double>(samples) * state.iterations(), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  }
  state.SetItemsProcessed(state.iterations() * samples);
  state.SetComplexityN(samples);
}

}  // namespace

BENCHMARK(BM_FTViewDraw)
    ->Arg(10000)
    ->Arg(20000)
    ->Arg(30000)
    ->Arg(100000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
