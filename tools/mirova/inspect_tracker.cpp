// mirova inspect FILE.trc [--raw]: the tracker record as the Face Tracker
// rollup leaves it (read, then stabilised against "nose_bridge"), or as read.
#include <headless_host.h>
#include <unistd.h>

#include "cli.h"
#include "ftdata.h"
#include "inspect_formats.h"
#include "json.h"
#include "messages.h"
#include "read_fault.h"

namespace cli {

namespace {

const char kReferenceMarker[] = "nose_bridge";

std::string TimesJson(const TrackerData& data) {
  std::string json = "[";
  for (int s = 0; s < data.SampleCount(); ++s) json += (s ? ", " : "") + std::to_string(data.SampleTime(s));
  return json + "]";
}

std::string PositionsJson(const TrackerData& data, int m) {
  std::string json = "[";
  for (int s = 0; s < data.SampleCount(); ++s) {
    const Point2& p = data.Position(s, m);
    json += (s ? ", [" : "[") + JsonFloat(p.x) + ", " + JsonFloat(p.y) + "]";
  }
  return json + "]";
}

std::string MarkersJson(const TrackerData& data) {
  std::string json = "[";
  for (int m = 0; m < data.MarkerCount(); ++m) {
    const TrackerMarker& marker = data.Marker(m);
    json += (m ? ", " : "");
    json += "{\"name\": " + JsonString(marker.name.data()) + ", \"valid\": " + std::to_string(marker.validCount) +
            ", \"positions\": " + PositionsJson(data, m) + "}";
  }
  return json + "]";
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
  out << "{\"file\": " << JsonString(FileNameOf(path)) << ", \"samples\": " << data.SampleCount()
      << ", \"times\": " << TimesJson(data) << ", \"markers\": " << MarkersJson(data)
      << ", \"describe\": " << JsonString(data.Describe().data()) << ", \"messages\": " << messages.Json()
      << "}\n";
  // Every box the tracker shows names a fault of the recording.
  return messages.Boxes().empty() ? EXIT_OK : EXIT_REFUSED;
}

}  // namespace cli
