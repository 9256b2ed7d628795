// mirova inspect FILE.asc: the motion record as the reader leaves it.
#include <unistd.h>

#include "cli.h"
#include "inspect_formats.h"
#include "json.h"
#include "messages.h"
#include "fault_message.h"
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

void WriteSamples(JsonWriter& json, const MotionData& data) {
  json.BeginArray();
  for (int i = 0; i < data.Count(); ++i) {
    json.BeginArray();
    for (int axis = 0; axis < AXIS_COUNT; ++axis) json.Float(data.GetSample(i).GetValue(axis));
    json.EndArray();
  }
  json.EndArray();
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
  if (data.repeatedAxis >= 0)
    err << "mirova: " << Printable(path) << ":1: " << motionAxisLabels[data.repeatedAxis]
        << " is named more than once; the last of its columns gives the values\n";
  JsonWriter json(out);
  json.BeginObject().Key("file").String(FileNameOf(path)).Key("ok").Bool(ok).Key("samples");
  WriteSamples(json, data);
  json.Key("messages");
  messages.WriteJson(json);
  json.EndObject();
  out << "\n";
  return ok ? EXIT_OK : EXIT_REFUSED;
}

}  // namespace cli
