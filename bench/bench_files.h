// Inputs for the benchmarks, made as bench/commands.py makes them: a dolly
// take (*.asc) and a face recording of 30 markers, one lost now and then
// (*.trc), CR LF as the rig and the tracker write. Each size is written once
// per run into a temporary folder that is removed at exit.
#ifndef BENCH_BENCH_FILES_H
#define BENCH_BENCH_FILES_H

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace bench_files {

const int kRate = 30;

struct Marker {
  std::string name;
  double vertical, horizontal;
};

inline std::vector<Marker> Markers() {
  std::vector<Marker> markers = {
      {"nose_bridge", 0.400, 0.500},    {"lip_upper", 0.600, 0.500},     {"lip_lower", 0.660, 0.500},
      {"lip_left", 0.630, 0.560},       {"lip_right", 0.630, 0.440},     {"eyelid_left", 0.370, 0.580},
      {"eyelid_right", 0.370, 0.420},   {"out_brow_left", 0.300, 0.620}, {"out_brow_right", 0.300, 0.380},
      {"in_brow_left", 0.310, 0.540},   {"in_brow_right", 0.310, 0.460}, {"cheek_left", 0.520, 0.620},
      {"cheek_right", 0.520, 0.380},    {"squint_left", 0.410, 0.590},   {"squint_right", 0.410, 0.410}};
  for (int i = 0; i < 15; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "extra_%02d", i);
    markers.push_back({name, 0.2 + 0.02 * i, 0.3 + 0.01 * i});
  }
  return markers;
}

// Fields of a recording's sample rows that hold no position.
inline bool Lost(const Marker& marker, int frame) { return marker.name == "cheek_left" && frame % 97 == 5; }

inline void WriteTake(FILE* out, int samples) {
  std::fputs("Axes = FOCUS,VTrack,VEW,VNS,VPan,VTilt,VRoll\r\n", out);
  const double pi = std::acos(-1.0);
  for (int i = 0; i < samples; ++i) {
    const double t = static_cast<double>(i) / (samples > 1 ? samples - 1 : 1);
    const double s = 0.5 - 0.5 * std::cos(pi * t);
    std::fprintf(out, "%.4f %.4f %.4f %.4f %.4f %.4f %.4f\r\n", 120 - 60 * s, 72 * s, 3 * std::sin(7 * t), 54.0,
                 -6 * s, 1.5 * s + 0.25 * std::sin(9 * t), 0.5 * std::sin(5 * t));
  }
}

inline void WriteRecording(FILE* out, int samples) {
  const std::vector<Marker> markers = Markers();
  std::fprintf(out, "FaceTracker export\r\nPerformance: generated\r\nSamples Markers %d %zu\r\nFrame\tTime\t", samples,
               markers.size());
  for (const Marker& m : markers) std::fprintf(out, "%s\t\t\t", m.name.c_str());
  std::fputs("\r\n\t", out);
  for (size_t m = 0; m < markers.size(); ++m) std::fputs("\tY\tX\tC", out);
  std::fputs("\r\n", out);
  for (int frame = 0; frame < samples; ++frame) {
    const double t = static_cast<double>(frame) / kRate;
    const double open = 0.5 - 0.5 * std::cos(t * 2.0);
    std::fprintf(out, "%d\t%.4f", frame, t);
    for (size_t m = 0; m < markers.size(); ++m) {
      const Marker& marker = markers[m];
      if (Lost(marker, frame)) {
        std::fputs("\t\t\t", out);
        continue;
      }
      const double down = marker.name == "lip_lower" ? 0.06 * open : 0.003 * std::sin(t + static_cast<double>(m));
      std::fprintf(out, "\t%.4f\t%.4f\t%.2f", marker.vertical + down, marker.horizontal + 0.01 * std::sin(0.7 * t), 0.9);
    }
    std::fputs("\r\n", out);
  }
}

class Folder {
 public:
  Folder() {
    char name[] = "/tmp/mirova_bench_XXXXXX";
    if (mkdtemp(name) == nullptr) std::abort();
    path = name;
  }
  ~Folder() {
    for (const std::string& file : written) std::remove(file.c_str());
    std::remove(path.c_str());
  }
  // The file of that name and size, written the first time it is asked for.
  const std::string& File(const char* name, void (*write)(FILE*, int), int samples) {
    const std::string file = path + "/" + std::to_string(samples) + "-" + name;
    auto [at, added] = written.insert(file);
    if (!added) return *at;
    FILE* out = std::fopen(file.c_str(), "wb");
    if (out == nullptr) std::abort();
    write(out, samples);
    if (std::fclose(out) != 0) std::abort();
    return *at;
  }

 private:
  std::string path;
  std::set<std::string> written;
};

inline Folder& TheFolder() {
  static Folder folder;
  return folder;
}

inline const std::string& TakePath(int samples) { return TheFolder().File("take.asc", WriteTake, samples); }
inline const std::string& RecordingPath(int samples) {
  return TheFolder().File("face.trc", WriteRecording, samples);
}

// Numbers a recording's sample rows hold: frame, time, three per position.
inline long RecordingNumbers(int samples) {
  const std::vector<Marker> markers = Markers();
  long numbers = 0;
  for (int frame = 0; frame < samples; ++frame) {
    numbers += 2;
    for (const Marker& m : markers) numbers += Lost(m, frame) ? 0 : 3;
  }
  return numbers;
}

}  // namespace bench_files

#endif
