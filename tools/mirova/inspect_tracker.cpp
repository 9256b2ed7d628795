// mirova inspect FILE.trc [--raw]: the tracker record as the Face Tracker
// rollup leaves it (read, then stabilised against "nose_bridge"), or as read.
#include <headless_host.h>
#include <unistd.h>

#include "cli.h"
#include "ftdata.h"
#include "inspect_formats.h"
#include "json.h"
#include "messages.h"
#include "fault_message.h"

namespace cli {

namespace {

const char kReferenceMarker[] = "nose_bridge";

void WriteTimes(JsonWriter& json, const TrackerData& data) {
  json.BeginArray();
  for (int s = 0; s < data.SampleCount(); ++s) json.Int(data.SampleTime(s));
  json.EndArray();
}

void WritePositions(JsonWriter& json, const TrackerData& data, int m) {
  json.BeginArray();
  for (int s = 0; s < data.SampleCount(); ++s) {
    const Point2& p = data.Position(s, m);
    json.BeginArray().Float(p.x).Float(p.y).EndArray();
  }
  json.EndArray();
}

void WriteMarkers(JsonWriter& json, const TrackerData& data) {
  json.BeginArray();
  for (int m = 0; m < data.MarkerCount(); ++m) {
    const TrackerMarker& marker = data.Marker(m);
    json.BeginObject().Key("name").String(marker.name.data()).Key("valid").Int(marker.validCount);
    json.Key("positions");
    WritePositions(json, data, m);
    json.EndObject();
  }
  json.EndArray();
}

}  // namespace

int InspectTrackerFile(const std::string& path, FILE* stream, bool raw, std::ostream& out,
                       std::ostream& err) {
  headless::Host host;
  if (isatty(STDERR_FILENO)) host.ShowProgressOn(stderr);
  MessageLog messages(err);
  TrackerData data;
  data.Read(stream);
  PrintReadFault(err, path, data.fault);
  if (!raw) data.Stabilise(kReferenceMarker);
  JsonWriter json(out);
  json.BeginObject().Key("file").String(FileNameOf(path)).Key("samples").Int(data.SampleCount()).Key("times");
  WriteTimes(json, data);
  json.Key("markers");
  WriteMarkers(json, data);
  json.Key("describe").String(data.Describe().data()).Key("messages");
  messages.WriteJson(json);
  json.EndObject();
  out << "\n";
  // Every box the tracker shows names a fault of the recording.
  return messages.Boxes().empty() ? EXIT_OK : EXIT_REFUSED;
}

}  // namespace cli
