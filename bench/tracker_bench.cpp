// Reading a tracker recording of 30 markers and applying it to an expression
// object, at 10,000 and 100,000 samples in one run: both should grow
// linearly with the samples (the complexity line fits them to N). And a
// recording whose header claims 100,000,000 samples coming through a pipe:
// memory must follow the rows it holds (peak_rss_mb stays near the
// process's own size, far below the 1.2 GB the claim would take).
#include <benchmark/benchmark.h>
#include <headless_host.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "ftdata.h"
#include "mirovaobj.h"

namespace {

const int kMarkers = 30;
const char* const kFaceMarkers[] = {"nose_bridge",  "lip_upper",     "lip_lower",      "lip_left",
                                    "lip_right",    "eyelid_left",   "eyelid_right",   "out_brow_left",
                                    "out_brow_right", "cheek_left",  "cheek_right",    "squint_left",
                                    "squint_right", "in_brow_right"};

std::string MarkerName(int m) {
  const int named = static_cast<int>(sizeof kFaceMarkers / sizeof kFaceMarkers[0]);
  return m < named ? kFaceMarkers[m] : "extra_" + std::to_string(m);
}

// Written once per size into a fresh temporary folder, CR LF as the tracker
// writes; every 50th field is a missing marker.
const std::string& RecordingPath(int samples) {
  static std::map<int, std::string> paths;
  auto found = paths.find(samples);
  if (found != paths.end()) return found->second;
  char folder[] = "/tmp/tracker_bench_XXXXXX";
  if (mkdtemp(folder) == nullptr) std::abort();
  const std::string file = std::string(folder) + "/take.trc";
  FILE* out = fopen(file.c_str(), "wb");
  if (out == nullptr) std::abort();
  fprintf(out, "FaceTracker export\r\nbenchmark\r\nSamples Markers %d %d\r\nFrame\tTime\t", samples, kMarkers);
  for (int m = 0; m < kMarkers; ++m) fprintf(out, "%s\t\t\t", MarkerName(m).c_str());
  fputs("\r\n\tY\tX\tC\r\n", out);
  for (int s = 0; s < samples; ++s) {
    const double t = s / 30.0;
    fprintf(out, "%d\t%.4f", s, t);
    for (int m = 0; m < kMarkers; ++m) {
      if ((s * kMarkers + m) % 50 == 49) {
        fputs("\t\t\t", out);
      } else {
        fprintf(out, "\t%.4f\t%.4f\t0.95", 0.3 + 0.01 * m + 0.02 * std::sin(t + m), 0.5 + 0.01 * std::cos(0.7 * t * m));
      }
    }
    fputs("\r\n", out);
  }
  fclose(out);
  return paths[samples] = file;
}

void BM_TrackerReadLyingHeaderFromPipe(benchmark::State& state) {
  const std::string text =
      "FaceTracker export\nbenchmark\nSamples Markers 100000000 1\nFrame\tTime\tnose_bridge\t\t\t\n"
      "\tY\tX\tC\n0\t0\t0.5\t0.5\t1\n1\t0.04\t0.5\t0.5\t1\n";
  for (auto _ : state) {
    int ends[2];
    if (pipe(ends) != 0 || write(ends[1], text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
      state.SkipWithError("pipe failed");
      break;
    }
    close(ends[1]);
    FILE* in = fdopen(ends[0], "r");
    headless::Host host;
    TrackerData data;
    if (data.Read(in) || data.SampleCount() != 2) state.SkipWithError("read did not stop at the end of the rows");
    fclose(in);
  }
  rusage usage = {};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_rss_mb"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_TrackerRead(benchmark::State& state) {
  const int samples = static_cast<int>(state.range(0));
  const std::string& path = RecordingPath(samples);
  for (auto _ : state) {
    headless::Host host;
    FILE* in = fopen(path.c_str(), "rt");
    TrackerData data;
    if (!data.Read(in) || data.SampleCount() != samples) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(data.positions);
    fclose(in);
  }
  state.SetItemsProcessed(state.iterations() * samples);
  state.SetComplexityN(samples);
}

void BM_TrackerApply(benchmark::State& state) {
  const int samples = static_cast<int>(state.range(0));
  headless::Host host;
  ExpressionObject* obj = new ExpressionObject;
  FILE* in = fopen(RecordingPath(samples).c_str(), "rt");
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

// First, so that the peak it reports is its own.
BENCHMARK(BM_TrackerReadLyingHeaderFromPipe)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TrackerRead)->Arg(10000)->Arg(100000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TrackerApply)->Arg(10000)->Arg(100000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

}  // namespace
