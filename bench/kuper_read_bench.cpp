// Reading a long take: MotionData::Read against a bare fscanf("%f") loop over
// the same numbers, so that the reader's own share (column map, appends,
// progress from the stream position) shows.
#include "tzkuperdata.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const int kSamples = 1000000;

class CountingProgress final : public MotionProgress {
 public:
  void SetProgress(float fraction) override {
    last = fraction;
    ++calls;
  }
  float last = 0.0f;
  long calls = 0;
};

// Written once per run into a fresh temporary folder (removed at exit); CR LF
// as rigs write.
class TakeFile {
 public:
  TakeFile() {
    char folder[] = "/tmp/kuper_bench_XXXXXX";
    if (mkdtemp(folder) == nullptr) std::abort();
    directory = folder;
    path = directory + "/take.asc";
    FILE* out = fopen(path.c_str(), "wb");
    if (out == nullptr) std::abort();
    fputs("Axes = FOCUS,VTrack,VEW,VNS,VPan,VTilt,VRoll\r\n", out);
    for (int i = 0; i < kSamples; ++i) {
      const double t = i / 30.0;
      fprintf(out, "%.4f %.4f %.4f %.4f %.4f %.4f %.4f\r\n", 120.0 - t, t * 2.5, 0.5 * t, 54.0, -0.1 * t,
              0.05 * t, 0.0);
    }
    fclose(out);
  }
  ~TakeFile() {
    remove(path.c_str());
    remove(directory.c_str());
  }
  std::string directory;
  std::string path;
};

const std::string& TakePath() {
  static const TakeFile take;
  return take.path;
}

void BM_MotionDataRead(benchmark::State& state) {
  const std::string& path = TakePath();
  for (auto _ : state) {
    FILE* in = fopen(path.c_str(), "rt");
    MotionData data;
    CountingProgress progress;
    if (data.Read(in, &progress) != 1 || data.Count() != kSamples) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(progress.last);
    fclose(in);
  }
  state.SetItemsProcessed(state.iterations() * kSamples);
}

void BM_PlainFscanfLoop(benchmark::State& state) {
  const std::string& path = TakePath();
  for (auto _ : state) {
    FILE* in = fopen(path.c_str(), "rt");
    char header[256];
    if (fgets(header, sizeof header, in) == nullptr) state.SkipWithError("no header");
    float value = 0.0f;
    float sum = 0.0f;
    long numbers = 0;
    while (fscanf(in, "%f", &value) == 1) {
      sum += value;
      ++numbers;
    }
    if (numbers != 7L * kSamples) state.SkipWithError("short read");
    benchmark::DoNotOptimize(sum);
    fclose(in);
  }
  state.SetItemsProcessed(state.iterations() * kSamples);
}

BENCHMARK(BM_MotionDataRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainFscanfLoop)->Unit(benchmark::kMillisecond);

}  // namespace
