#include "ftdata.h"

#include "progressbar.h"
#include "textmode.h"

#include <sys/types.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <vector>

namespace {

const int kWordBufferSize = 260;  // 259 characters and the terminator
const int kTicksPerSecond = 4800;

// What became of one formatted read.
enum class Scan { kOk, kEnd, kBad };

// Character and formatted reads on the recording, as the file looks through
// Windows text mode (textmode.h). Counts lines for the messages.
class TrackerScanner {
 public:
  explicit TrackerScanner(FILE* s) : stream(s) {}

  int Get() {
    int c;
    if (pending != EOF) {
      c = pending;
      pending = EOF;
    } else {
      c = GetTextModeChar(stream);
    }
    if (c == '\n') ++line;
    return c;
  }

  // Steps back over c, the character Get gave last.
  void Unget(int c) {
    if (c == EOF) return;
    if (c == '\n') --line;
    pending = c;
  }

  int Line() const { return line; }

  bool SkipLines(int count) {
    while (count > 0) {
      const int c = Get();
      if (c == EOF) return false;
      if (c == '\n') --count;
    }
    return true;
  }

  // A run of non-white-space characters after any white space ("%s").
  // kBad when it would not fit the word buffer.
  Scan Word(char (&word)[kWordBufferSize]) {
    int c = SkipSpace();
    if (c == EOF) return Scan::kEnd;
    int length = 0;
    for (; c != EOF && !IsSpace(c); c = Get()) {
      if (length == kWordBufferSize - 1) return Scan::kBad;
      word[length++] = static_cast<char>(c);
    }
    word[length] = '\0';
    Unget(c);
    return Scan::kOk;
  }

  // A decimal integer after any white space ("%d"); kBad when it is not one
  // or does not fit an int.
  Scan Int(int& value) {
    char token[kWordBufferSize];
    const Scan scan = Number(token, false);
    if (scan != Scan::kOk) return scan;
    errno = 0;
    char* end = nullptr;
    const long parsed = strtol(token, &end, 10);
    if (*end != '\0' || errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX) return Scan::kBad;
    value = static_cast<int>(parsed);
    return Scan::kOk;
  }

  // A decimal number after any white space ("%f"); kBad when it is not one
  // or does not fit a finite float.
  Scan Float(float& value) {
    char token[kWordBufferSize];
    const Scan scan = Number(token, true);
    if (scan != Scan::kOk) return scan;
    char* end = nullptr;
    const float parsed = strtof(token, &end);
    if (*end != '\0' || !std::isfinite(parsed)) return Scan::kBad;
    value = parsed;
    return Scan::kOk;
  }

 private:
  static bool IsSpace(int c) { return isspace(static_cast<unsigned char>(c)) != 0; }

  int SkipSpace() {
    int c = Get();
    while (c != EOF && IsSpace(c)) c = Get();
    return c;
  }

  // Collects the longest run that can begin a number: sign, digits, and for
  // a real number a point and an exponent. Whatever follows is left unread.
  Scan Number(char (&token)[kWordBufferSize], bool real) {
    int c = SkipSpace();
    if (c == EOF) return Scan::kEnd;
    int length = 0;
    bool bad = false;
    auto take = [&](int ch) {
      if (length == kWordBufferSize - 1) {
        bad = true;
      } else {
        token[length++] = static_cast<char>(ch);
      }
      return Get();
    };
    auto digits = [&](int ch) {
      int count = 0;
      for (; ch != EOF && isdigit(ch); ++count) ch = take(ch);
      return std::make_pair(ch, count);
    };
    if (c == '+' || c == '-') c = take(c);
    auto [afterInt, intDigits] = digits(c);
    c = afterInt;
    int fractionDigits = 0;
    if (real && c == '.') {
      auto [afterFraction, count] = digits(take(c));
      c = afterFraction;
      fractionDigits = count;
    }
    if (intDigits + fractionDigits == 0) bad = true;
    if (real && !bad && (c == 'e' || c == 'E')) {
      c = take(c);
      if (c == '+' || c == '-') c = take(c);
      auto [afterExponent, count] = digits(c);
      c = afterExponent;
      if (count == 0) bad = true;
    }
    Unget(c);
    token[length] = '\0';
    return bad ? Scan::kBad : Scan::kOk;
  }

  FILE* stream;
  int pending = EOF;
  int line = 1;
};

void Report(const char* text) { MessageBoxA(nullptr, text, nullptr, MB_OK); }

// Bytes from the stream's position to its end, or -1 when it cannot seek.
int64_t BytesLeft(FILE* stream) {
  const off_t start = ftello(stream);
  if (start < 0 || fseeko(stream, 0, SEEK_END) != 0) return -1;
  const off_t end = ftello(stream);
  if (fseeko(stream, start, SEEK_SET) != 0 || end < start) return -1;
  return static_cast<int64_t>(end - start);
}

// The reading of one file: header, name row, sample rows. Faults are kept
// and shown once the progress bar has gone.
class TrackerReader {
 public:
  TrackerReader(TrackerData& d, FILE* stream) : data(d), scan(stream), bytesLeft(BytesLeft(stream)) {}

  bool Run() {
    HostProgressBar bar("Loading...");
    bool whole = ReadHeader() && ReadNames();
    if (whole) {
      whole = ReadSamples(bar);
    } else {
      data.Clear();
    }
    bar.End();
    if (!malformed.isNull()) Report(malformed);
    if (!fault.isNull()) Report(fault);
    return whole && malformed.isNull();
  }

 private:
  bool Fail(const char* text) {
    fault = text;
    return false;
  }

  bool FailAtLine(const char* format) {
    fault.printf(format, scan.Line());
    return false;
  }

  bool EndInHeader() { return Fail("Unexpected end of file in the tracker header"); }

  bool ReadHeader() {
    char word[kWordBufferSize];
    if (!scan.SkipLines(2)) return EndInHeader();
    for (int i = 0; i < 2; ++i) {
      const Scan w = scan.Word(word);
      if (w == Scan::kEnd) return EndInHeader();
      if (w == Scan::kBad) return FailAtLine("Word longer than 259 characters in line %d");
    }
    int samples = 0, markers = 0;
    for (int* count : {&samples, &markers}) {
      const Scan n = scan.Int(*count);
      if (n == Scan::kEnd) return EndInHeader();
      if (n == Scan::kBad) return FailAtLine("Sample and marker counts expected in line %d");
    }
    return Allocate(samples, markers) && SkipRestOfLine();
  }

  bool Allocate(int samples, int markers) {
    if (samples <= 0 || markers <= 0) {
      fault.printf("Invalid counts in the tracker header: %d samples, %d markers", samples, markers);
      return false;
    }
    // Every marker field takes at least three characters, so a file shorter
    // than that cannot be what its header claims; refusing it here keeps a
    // damaged header from asking for gigabytes.
    if (bytesLeft >= 0 && 3.0 * samples * markers > static_cast<double>(bytesLeft)) {
      fault.printf("The tracker header claims %d samples of %d markers, more than the file holds",
                   samples, markers);
      return false;
    }
    if (!data.Allocate(samples, markers)) {
      fault.printf("Not enough memory for %d samples of %d markers", samples, markers);
      return false;
    }
    return true;
  }

  bool SkipRestOfLine() { return scan.SkipLines(1) || EndInHeader(); }

  bool ReadNames() {
    char word[kWordBufferSize];
    for (int i = 0; i < 2; ++i) {
      const Scan w = scan.Word(word);
      if (w == Scan::kEnd) return EndInNames();
      if (w == Scan::kBad) return FailAtLine("Word longer than 259 characters in line %d");
    }
    if (scan.Get() == EOF) return EndInNames();
    for (int m = 0; m < data.markerCount; ++m) {
      if (!ReadName(data.markers[m].name)) return false;
    }
    // The rest of the name row and the line under it; a file ending here has no samples.
    if (!scan.SkipLines(2)) return EndInSamples(0);
    return true;
  }

  bool EndInNames() {
    return Fail("Unexpected end of file in the marker names");
  }

  // A name runs up to its tab; the two columns beside it follow unread.
  bool ReadName(CStr& name) {
    char buffer[kWordBufferSize];
    int length = 0;
    for (int c = scan.Get(); c != '\t'; c = scan.Get()) {
      if (c == EOF) return EndInNames();
      if (c == '\n') {
        scan.Unget(c);
        return FailAtLine("The marker names end early, in line %d");
      }
      if (length == kWordBufferSize - 1) return FailAtLine("Marker name longer than 259 characters in line %d");
      buffer[length++] = static_cast<char>(c);
    }
    buffer[length] = '\0';
    name = buffer;
    for (int i = 0; i < 2; ++i) {
      if (scan.Get() == EOF) return EndInNames();
    }
    return true;
  }

  bool ReadSamples(HostProgressBar& bar) {
    const int n = data.sampleCount;
    present.assign(static_cast<size_t>(data.markerCount), 0);
    for (int s = 0; s < n; ++s) {
      if (!ReadSample(s)) {
        KeepWholeSamples(s);
        return false;
      }
      if (s % 2 == 0) bar.Update(ProgressPercent(s + 1, n, 100));
    }
    return true;
  }

  bool ReadSample(int s) {
    std::fill(present.begin(), present.end(), 0);
    char word[kWordBufferSize];
    const Scan w = scan.Word(word);
    if (w == Scan::kEnd) return EndInSamples(s);
    if (w == Scan::kBad) return FailAtLine("Word longer than 259 characters in line %d");
    float seconds = 0.0f;
    const Scan t = scan.Float(seconds);
    if (t == Scan::kEnd) return EndInSamples(s);
    // Truncated toward zero; the float's exact value times 4800 is exact in a double.
    const double ticks = std::trunc(static_cast<double>(seconds) * kTicksPerSecond);
    if (t == Scan::kBad || !(ticks >= INT_MIN && ticks <= INT_MAX))
      return FailAtLine("Invalid sample time in line %d");
    data.sampleTimes[s] = static_cast<int>(ticks);
    for (int m = 0; m < data.markerCount; ++m) {
      if (!ReadMarkerField(s, m)) return EndInSamples(s);
    }
    return true;
  }

  // False only at the end of the file. A field that is malformed or missing
  // repeats the marker's position of the sample before ((0, 0) in the first).
  bool ReadMarkerField(int s, int m) {
    Point2& p = data.Position(s, m);
    p = s > 0 ? data.Position(s - 1, m) : Point2(0.0f, 0.0f);
    int c = scan.Get();
    if (c == EOF) return false;
    if (c != '\t') {
      NoteMalformed(m);
      return true;
    }
    c = scan.Get();
    if (c == EOF) return false;
    if (c == '\t') return scan.Get() != EOF;
    scan.Unget(c);
    float y = 0.0f, x = 0.0f, unused = 0.0f;
    for (float* value : {&y, &x, &unused}) {
      const Scan v = scan.Float(*value);
      if (v == Scan::kEnd) return false;
      if (v == Scan::kBad) {
        NoteMalformed(m);
        return true;
      }
    }
    p = Point2(x, y);
    ++data.markers[m].validCount;
    present[static_cast<size_t>(m)] = 1;
    return true;
  }

  void NoteMalformed(int m) {
    if (!malformed.isNull()) return;
    malformed.printf("Malformed data of marker %s in line %d: its last position is repeated",
                     data.markers[m].name.data(), scan.Line());
  }

  bool EndInSamples(int s) {
    fault.printf("Unexpected end of file: %d of %d samples read", s, data.sampleCount);
    return false;
  }

  // Drops the sample being read when the file gave out inside it, so that
  // every sample kept was read whole.
  void KeepWholeSamples(int whole) {
    if (whole == 0) {
      data.Clear();
      return;
    }
    for (int m = 0; m < data.markerCount; ++m) {
      if (present[static_cast<size_t>(m)]) --data.markers[m].validCount;
      const Point2* from = data.positions + static_cast<size_t>(m) * data.sampleCount;
      Point2* to = data.positions + static_cast<size_t>(m) * whole;
      for (int s = 0; s < whole; ++s) to[s] = from[s];
    }
    data.sampleCount = whole;
  }

  TrackerData& data;
  TrackerScanner scan;
  int64_t bytesLeft;
  std::vector<unsigned char> present;  // per marker: read from the file in this sample
  CStr malformed;                      // the first malformed field, reported once
  CStr fault;                          // what stopped the reading
};

}  // namespace

TrackerMarker::TrackerMarker() : validCount(0) {}

TrackerData::TrackerData()
    : sampleCount(0), markerCount(0), markers(nullptr), positions(nullptr), sampleTimes(nullptr) {}

TrackerData::~TrackerData() { Clear(); }

void TrackerData::Clear() {
  delete[] markers;
  delete[] positions;
  delete[] sampleTimes;
  markers = nullptr;
  positions = nullptr;
  sampleTimes = nullptr;
  sampleCount = 0;
  markerCount = 0;
}

// Positions are indexed with one int-sized product in the host's 32-bit
// world, so larger recordings are refused rather than wrapped.
bool TrackerData::Allocate(int samples, int markers) {
  Clear();
  if (samples <= 0 || markers <= 0) return false;
  if (static_cast<int64_t>(samples) * markers > INT_MAX) return false;
  const size_t entries = static_cast<size_t>(samples) * static_cast<size_t>(markers);
  this->markers = new (std::nothrow) TrackerMarker[static_cast<size_t>(markers)];
  positions = new (std::nothrow) Point2[entries];
  sampleTimes = new (std::nothrow) int[static_cast<size_t>(samples)]();
  if (this->markers == nullptr || positions == nullptr || sampleTimes == nullptr) {
    Clear();
    return false;
  }
  sampleCount = samples;
  markerCount = markers;
  return true;
}

// A file that fails part-way is never left half-described: the header and
// name row either hold or the record ends empty, and the samples kept are
// the ones read whole.
bool TrackerData::Read(FILE* stream) {
  Clear();
  TrackerReader reader(*this, stream);
  return reader.Run();
}

int TrackerData::FindMarker(const char* name) const {
  for (int m = 0; m < markerCount; ++m) {
    if (markers[m].name == CStr(name)) return m;
  }
  return -1;
}

void TrackerData::Stabilise(const char* referenceName) {
  const int r = FindMarker(referenceName);
  if (r < 0) {
    Report("Unable to find inertial marker in data");
    return;
  }
  const Point2 centre(0.5f, 0.5f);
  for (int s = 0; s < sampleCount; ++s) {
    const Point2 reference = Position(s, r);
    for (int m = 0; m < markerCount; ++m) {
      Point2& p = Position(s, m);
      p = p - reference;
      p.x = -p.x;
      p = p + centre;
    }
  }
}

CStr TrackerData::Describe() const {
  CStr text("-- FaceTracker Data --");
  CStr line;
  line.printf("\r\nSamples: %d Markers: %d", sampleCount, markerCount);
  text += line;
  for (int m = 0; m < markerCount; ++m) {
    line.printf("\r\nMarker %d: %s Valid: %d", m + 1, markers[m].name.data(), markers[m].validCount);
    text += line;
    if (markers[m].validCount <= 0) continue;
    text += "\r\nTime     Position";
    for (int j = 0; j < 3 && j < sampleCount; ++j) {
      const Point2& p = Position(j, m);
      line.printf("\r\n%d  (%f, %f)", sampleTimes[j], static_cast<double>(p.x), static_cast<double>(p.y));
      text += line;
    }
  }
  return text;
}

int TrackerData::SampleTime(int s) const {
  DbgAssert(s >= 0 && s < sampleCount);
  if (s < 0 || s >= sampleCount) return 0;
  return sampleTimes[s];
}

Point2& TrackerData::Position(int s, int m) {
  DbgAssert(s >= 0 && s < sampleCount && m >= 0 && m < markerCount);
  // The host's assertion returns; an index outside must not touch the record.
  if (s < 0 || s >= sampleCount || m < 0 || m >= markerCount) {
    static Point2 scratch;
    scratch = Point2(0.0f, 0.0f);
    return scratch;
  }
  return positions[static_cast<size_t>(m) * static_cast<size_t>(sampleCount) + static_cast<size_t>(s)];
}

const Point2& TrackerData::Position(int s, int m) const {
  return const_cast<TrackerData*>(this)->Position(s, m);
}

TrackerMarker& TrackerData::Marker(int m) {
  DbgAssert(m >= 0 && m < markerCount);
  if (m < 0 || m >= markerCount) {
    static TrackerMarker scratch;
    scratch = TrackerMarker();
    return scratch;
  }
  return markers[m];
}

const TrackerMarker& TrackerData::Marker(int m) const {
  return const_cast<TrackerData*>(this)->Marker(m);
}
