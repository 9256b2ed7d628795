// The two readers against a bare fscanf("%f") loop over the same numbers of
// the same file: a 100,000-sample take and a 100,000-sample recording of 30
// markers. Each reader's benchmark runs after its fscanf loop and shows
// speedup_vs_fscanf, the loop's CPU time over the reader's, both measured in
// this run. And a recording whose header claims 100,000,000 samples coming
// through a pipe: memory must follow the rows it holds (peak_rss_mb stays
// near the process's own size, far below the 1.2 GB the claim would take).
#include <benchmark/benchmark.h>
#include <headless_host.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <string>

#include "bench_files.h"
#include "ftdata.h"
#include "tzkuperdata.h"

namespace {

const int kSamples = 100000;

// CPU seconds of one iteration, on average, measured around the loop.
template <typename Body>
double MeanCpuSeconds(benchmark::State& state, Body body) {
  const std::clock_t start = std::clock();
  for (auto _ : state) body();
  return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC / static_cast<double>(state.iterations());
}

// The fscanf loops' times, for the readers' benchmarks after them.
double kuperFscanfSeconds = 0.0;
double trackerFscanfSeconds = 0.0;

void ShowSpeedup(benchmark::State& state, double fscanfSeconds, double readSeconds) {
  if (fscanfSeconds > 0.0 && readSeconds > 0.0) state.counters["speedup_vs_fscanf"] = fscanfSeconds / readSeconds;
}

// Every number after the first skipped lines, as floats; how many there were.
long FscanfNumbers(FILE* in, int skippedLines) {
  for (int lines = 0, c = 0; lines < skippedLines && (c = std::getc(in)) != EOF;) lines += c == '\n';
  float value = 0.0f, sum = 0.0f;
  long numbers = 0;
  while (std::fscanf(in, "%f", &value) == 1) {
    sum += value;
    ++numbers;
  }
  benchmark::DoNotOptimize(sum);
  return numbers;
}

class CountingProgress final : public MotionProgress {
 public:
  void SetProgress(float fraction) override {
    last = fraction;
    ++calls;
  }
  float last = 0.0f;
  long calls = 0;
};

void TrackerReadLyingHeaderFromPipe(benchmark::State& state) {
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

void KuperFscanf(benchmark::State& state) {
  const std::string& path = bench_files::TakePath(kSamples);
  kuperFscanfSeconds = MeanCpuSeconds(state, [&] {
    FILE* in = std::fopen(path.c_str(), "rt");
    if (FscanfNumbers(in, 1) != 7L * kSamples) state.SkipWithError("short read");
    std::fclose(in);
  });
  state.SetItemsProcessed(state.iterations() * kSamples);
}

void KuperRead(benchmark::State& state) {
  const std::string& path = bench_files::TakePath(kSamples);
  const double seconds = MeanCpuSeconds(state, [&] {
    FILE* in = std::fopen(path.c_str(), "rt");
    MotionData data;
    CountingProgress progress;
    if (data.Read(in, &progress) != 1 || data.Count() != kSamples || progress.calls != kSamples)
      state.SkipWithError("read failed");
    benchmark::DoNotOptimize(progress.last);
    std::fclose(in);
  });
  state.SetItemsProcessed(state.iterations() * kSamples);
  ShowSpeedup(state, kuperFscanfSeconds, seconds);
}

void TrackerFscanf(benchmark::State& state) {
  const std::string& path = bench_files::RecordingPath(kSamples);
  const long expected = bench_files::RecordingNumbers(kSamples);
  trackerFscanfSeconds = MeanCpuSeconds(state, [&] {
    FILE* in = std::fopen(path.c_str(), "rt");
    if (FscanfNumbers(in, 5) != expected) state.SkipWithError("short read");
    std::fclose(in);
  });
  state.SetItemsProcessed(state.iterations() * kSamples);
}

void TrackerRead(benchmark::State& state) {
  const std::string& path = bench_files::RecordingPath(kSamples);
  const double seconds = MeanCpuSeconds(state, [&] {
    headless::Host host;
    FILE* in = std::fopen(path.c_str(), "rt");
    TrackerData data;
    if (!data.Read(in) || data.SampleCount() != kSamples) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(data.positions);
    std::fclose(in);
  });
  state.SetItemsProcessed(state.iterations() * kSamples);
  ShowSpeedup(state, trackerFscanfSeconds, seconds);
}

// The pipe first, so that the peak it reports is its own; each fscanf loop
// before its reader.
BENCHMARK(TrackerReadLyingHeaderFromPipe)->Unit(benchmark::kMicrosecond);
BENCHMARK(KuperFscanf)->Unit(benchmark::kMillisecond);
BENCHMARK(KuperRead)->Unit(benchmark::kMillisecond);
BENCHMARK(TrackerFscanf)->Unit(benchmark::kMillisecond);
BENCHMARK(TrackerRead)->Unit(benchmark::kMillisecond);

}  // namespace
