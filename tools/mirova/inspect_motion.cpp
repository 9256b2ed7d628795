// mirova inspect FILE.asc: the motion record as the reader leaves it.
#include <unistd.h>

#include "cli.h"
#include "inspect_formats.h"
#include "json.h"
#include "messages.h"
#include "read_fault.h"
#include "tzkuperdata.h"

namespace cli {

namespace {

// Reading progress on a terminal, as the panel's Processing box shows it.
class TerminalProgress : public MotionProgress {
 public:
  explicit TerminalProgress(std::ostream& e) : err(e) {}
  void SetProgress(float fraction) override {
    int percent = static_cast<int>(fraction * 100.0f);
    if (percent == shown) return;
    shown = percent;
    err << "\rLoading " << percent << "%" << std::flush;
  }
  ~TerminalProgress() {
    if (shown >= 0) err << "\n";
  }

 private:
  std::ostream& err;
  int shown = -1;
};

std::string SamplesJson(const MotionData& data) {
  std::string json = "[";
  for (int i = 0; i < data.Count(); ++i) {
    json += i ? ", [" : "[";
    for (int axis = 0; axis < AXIS_COUNT; ++axis)
      json += (axis ? ", " : "") + JsonFloat(data.GetSample(i).GetValue(axis));
    json += "]";
  }
  return json + "]";
}

}  // namespace

int InspectMotionFile(const std::string& path, FILE* stream, std::ostream& out,
                      std::ostream& err) {
  MessageLog messages(err);
  MotionData data;
  int ok;
  if (isatty(STDERR_FILENO)) {
    TerminalProgress progress(err);
    ok = data.Read(stream, &progress);
  } else {
    ok = data.Read(stream, nullptr);
  }
  PrintReadFault(err, path, data.fault);
  out << "{\"file\": " << JsonString(FileNameOf(path)) << ", \"ok\": " << (ok ? "true" : "false")
      << ", \"samples\": " << SamplesJson(data) << ", \"messages\": " << messages.Json() << "}\n";
  return ok ? EXIT_OK : EXIT_REFUSED;
}

}  // namespace cli
