// The reader of a FaceTracker recording (*.trc) into TrackerData: header,
// name row and sample rows, with the faults it finds kept and shown. The
// whole samples go into the record through ftdata_store.h.
#include "ftdata.h"

#include "ftdata_store.h"
#include "progressbar.h"
#include "textmode.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <new>
#include <string>
#include <vector>

namespace {

const int kTicksPerSecond = 4800;

void Report(const char* text) { MessageBoxA(nullptr, text, nullptr, MB_OK); }

// The reading of one file: header, name row, sample rows. Faults are kept
// and shown once the progress bar has gone.
class TrackerReader {
 public:
  TrackerReader(TrackerData& d, FILE* stream) : data(d), scan(stream), store(d) {}

  bool Run() {
    HostProgressBar bar("Loading...");
    bool whole = false;
    try {
      whole = ReadHeader() && ReadNames() && ReadSamples(bar);
      whole = (store.Store(names) || OutOfMemory()) && whole;
    } catch (const std::bad_alloc&) {
      data.Clear();
      whole = OutOfMemory();
    }
    bar.End();
    for (const CStr& box : boxes) Report(box);
    data.fault = fault;
    return whole && !survivableSeen;
  }

 private:
  // A fault that stops the reading; shown as it is.
  bool Fail(const CStr& what, int sample = -1) {
    fault.Note(scan.Line(), sample, -1, what);
    boxes.push_back(what);
    return false;
  }

  // A fault whose box also names the line.
  bool FailInLine(const char* what) {
    CStr box;
    box.printf("%s in line %d", what, scan.Line());
    fault.Note(scan.Line(), -1, -1, what);
    boxes.push_back(box);
    return false;
  }

  bool OutOfMemory() {
    CStr text;
    text.printf("Not enough memory for %d samples of %d markers", sampleCount, markerCount);
    return Fail(text);
  }

  bool EndInHeader() { return Fail("Unexpected end of file in the tracker header"); }
  bool EndInNames() { return Fail("Unexpected end of file in the marker names"); }

  bool EndInSamples() {
    CStr text;
    text.printf("Unexpected end of file: %d of %d samples read", rows, sampleCount);
    return Fail(text, rows);
  }

  // A word that is read and not used; false once the fault is noted.
  bool SkipWord(bool (TrackerReader::*atEnd)()) {
    const Scan w = scan.ReadWord();
    if (w == Scan::kEnd) return (this->*atEnd)();
    if (w == Scan::kBad) return FailInLine("Word longer than 259 characters");
    return true;
  }

  bool ReadHeader() {
    if (!scan.SkipLines(2)) return EndInHeader();
    for (int i = 0; i < 2; ++i) {
      if (!SkipWord(&TrackerReader::EndInHeader)) return false;
    }
    for (int* count : {&sampleCount, &markerCount}) {
      const Scan n = scan.Int(*count);
      if (n == Scan::kEnd) return EndInHeader();
      if (n == Scan::kBad) return FailInLine("Sample and marker counts expected");
    }
    return CountsUsable() && (scan.SkipLines(1) || EndInHeader());
  }

  // The counts are only trusted as far as the rows bear them out; a record
  // of more entries than an int can index is refused at once.
  bool CountsUsable() {
    CStr text;
    if (sampleCount <= 0 || markerCount <= 0) {
      text.printf("Invalid counts in the tracker header: %d samples, %d markers", sampleCount, markerCount);
      return Fail(text);
    }
    if (static_cast<int64_t>(sampleCount) * markerCount > INT_MAX) {
      text.printf("The tracker header claims %d samples of %d markers, more than a recording can hold",
                  sampleCount, markerCount);
      return Fail(text);
    }
    return true;
  }

  bool ReadNames() {
    for (int i = 0; i < 2; ++i) {
      if (!SkipWord(&TrackerReader::EndInNames)) return false;
    }
    if (scan.Get() == EOF) return EndInNames();
    for (int m = 0; m < markerCount; ++m) {
      if (!ReadName()) return false;
    }
    // The rest of the name row and the line under it; a file ending here has no samples.
    return scan.SkipLines(2) || EndInSamples();
  }

  // A name runs up to its tab; the two columns beside it follow unread.
  bool ReadName() {
    std::string name;
    for (int c = scan.Get(); c != '\t'; c = scan.Get()) {
      if (c == EOF) return EndInNames();
      if (c == '\n') {
        scan.Unget(c);
        return FailInLine("The marker names end early");
      }
      if (name.size() == TextModeScanner::kMaxWord) return FailInLine("Marker name longer than 259 characters");
      name += static_cast<char>(c);
    }
    for (int i = 0; i < 2; ++i) {
      if (scan.Get() == EOF) return EndInNames();
    }
    names.push_back(CStr(name.c_str()));
    return true;
  }

  bool ReadSamples(HostProgressBar& bar) {
    const size_t markers = static_cast<size_t>(markerCount);
    if (!store.Begin(sampleCount, markerCount, scan.BytesLeft())) return OutOfMemory();
    row.resize(markers);
    present.resize(markers);
    for (; rows < sampleCount; ++rows) {
      bool timed = false;
      if (!ReadSample(timed)) return false;
      if (timed) store.Keep(time, row, present);
      if (rows % 2 == 0) bar.Update(ProgressPercent(rows + 1, sampleCount, 100));
    }
    return true;
  }

  // Reads the row whole; timed when its time is one the record can keep
  // (a sample without one is left out, its fields read all the same so the
  // next row starts where it should). False when the reading stops.
  bool ReadSample(bool& timed) {
    if (!SkipWord(&TrackerReader::EndInSamples)) return false;
    float seconds = 0.0f;
    const Scan t = ReadTime(seconds);
    if (t == Scan::kEnd) return EndInSamples();
    // Truncated toward zero; the float's exact value times 4800 is exact in a double.
    const double ticks = std::trunc(static_cast<double>(seconds) * kTicksPerSecond);
    timed = t == Scan::kOk && ticks >= INT_MIN && ticks <= INT_MAX;
    if (timed) {
      time = static_cast<int>(ticks);
    } else {
      NoteBadTime();
    }
    for (int m = 0; m < markerCount; ++m) {
      if (!ReadMarkerField(m)) return EndInSamples();
    }
    return true;
  }

  // As the scanner's Float, but the word stays in Word() even when it is a
  // number: one beyond the ticks an int holds is named in the message.
  Scan ReadTime(float& seconds) {
    const Scan read = scan.ReadWord();
    const std::string& word = scan.Word();
    return read == Scan::kOk ? DecimalWord(word.data(), word.data() + word.size(), seconds) : read;
  }

  void NoteBadTime() {
    CStr what, box;
    what.printf("Sample %d: %s is no valid time; the sample is left out", rows, QuotedWord(scan.Word()).data());
    box.printf("Invalid sample time in line %d: the sample is left out", scan.Line());
    NoteSurvivable(-1, what, box);
  }

  // False only at the end of the file. A field that is malformed or missing
  // repeats the marker's position of the sample before ((0, 0) before the
  // first). A bad number costs its own field only: the other numbers of the
  // field are read all the same, so the next field starts where it should.
  bool ReadMarkerField(int m) {
    const size_t at = static_cast<size_t>(m);
    row[at] = store.Last(at);
    present[at] = 0;
    int c = scan.Get();
    if (c == EOF) return false;
    if (c != '\t') {
      NoteMalformed(m, "the field does not begin with a tab");
      return true;
    }
    c = scan.Get();
    if (c == EOF) return false;
    if (c == '\t') return scan.Get() != EOF;
    scan.Unget(c);
    float values[3] = {};  // vertical (y), horizontal (x), and a third that is not used
    CStr bad;
    for (float& value : values) {
      const Scan v = scan.Float(value);
      if (v == Scan::kEnd) return false;
      if (v == Scan::kBad && bad.isNull()) bad.printf("%s is not a finite number", QuotedWord(scan.Word()).data());
    }
    if (!bad.isNull()) {
      NoteMalformed(m, bad);
      return true;
    }
    row[at] = Point2(values[1], values[0]);
    present[at] = 1;
    return true;
  }

  void NoteMalformed(int m, const char* why) {
    const char* name = names[static_cast<size_t>(m)].data();
    CStr what, box;
    what.printf("Sample %d, marker %s: %s; its last position is repeated", rows, name, why);
    box.printf("Malformed data of marker %s in line %d: its last position is repeated", name, scan.Line());
    NoteSurvivable(m, what, box);
  }

  // A fault that costs one field or one sample and lets the reading go on;
  // the user is told once per file, at the first.
  void NoteSurvivable(int m, const CStr& what, const CStr& box) {
    fault.Note(scan.Line(), rows, m, what);
    if (survivableSeen) return;
    survivableSeen = true;
    boxes.push_back(box);
  }

  TrackerData& data;
  TextModeScanner scan;
  TrackerSampleStore store;
  int sampleCount = 0;  // as the header claims
  int markerCount = 0;
  std::vector<CStr> names;
  int rows = 0;                  // sample rows read whole, kept or left out
  int time = 0;                  // of the sample being read
  std::vector<Point2> row;       // its positions
  std::vector<unsigned char> present;  // per marker: read from the file in this sample
  bool survivableSeen = false;
  ReadFault fault;
  std::vector<CStr> boxes;  // in the order the faults were found
};

}  // namespace

// A file that fails part-way is never left half-described: the header and
// name row either hold or the record ends empty, and the samples kept are
// the ones read whole.
bool TrackerData::Read(FILE* stream) {
  Clear();
  TrackerReader reader(*this, stream);
  return reader.Run();
}
