// Applying a tracker recording of 30 markers to an expression object, at
// 10,000 and 100,000 samples in one run: it should grow linearly with the
// samples (the complexity line fits it to N). Reading is in readers_bench.
#include <benchmark/benchmark.h>
#include <headless_host.h>

#include <cstdio>

#include "bench_files.h"
#include "ftdata.h"
#include "mirovaobj.h"

namespace {

void BM_TrackerApply(benchmark::State& state) {
  const int samples = static_cast<int>(state.range(0));
  headless::Host host;
  ExpressionObject* obj = new ExpressionObject;
  FILE* in = fopen(bench_files::RecordingPath(samples).c_str(), "rt");
  obj->trackerInput.data.Read(in);
  obj->trackerInput.data.Stabilise("nose_bridge");
  fclose(in);
  for (auto _ : state) {
    obj->trackerInput.Apply(obj);
    Control* c = obj->pblock->GetController(PB_FROWN);
    if (c == nullptr || c->NumKeys() != samples) state.SkipWithError("apply failed");
  }
  obj->DeleteThis();
  state.SetItemsProcessed(state.iterations() * samples);
  state.SetComplexityN(samples);
}

BENCHMARK(BM_TrackerApply)->Arg(10000)->Arg(100000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

}  // namespace
