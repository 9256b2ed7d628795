#include "tzkuperdata.h"

#include "textmode.h"

#include <max.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <type_traits>

const char* const motionAxisLabels[AXIS_COUNT] = {"FOCUS", "VTrack", "VEW", "VNS",
                                                  "VPan",  "VTilt",  "VRoll"};

namespace {

const char kCaption[] = "TzMotionControl";
const char kHeaderPrefix[] = "Axes = ";
const size_t kHeaderPrefixLength = sizeof(kHeaderPrefix) - 1;
const size_t kHeaderLineLimit = 255;  // the reader's 256-byte line buffer
const int kLeastGrowStep = 100;  // the first capacity, and the step when doubling finds no memory
const char kLabelSeparators[] = " ,\n";

int capacityLimit = -1;

void Complain(const char* text) { MessageBoxA(nullptr, text, kCaption, MB_OK); }

// The seek back to the start puts the stream where the scanner's byte count
// starts, so that count is the position progress needs.
int64_t StreamSize(FILE* stream) {
  if (!SeekStream(stream, 0, SEEK_END)) return -1;
  const int64_t size = TellStream(stream);
  if (!SeekStream(stream, 0, SEEK_SET)) return -1;
  return size;
}

// The header line as text mode delivers it: a CR dropped before LF does not
// count against the line limit.
bool ReadHeaderLine(TextModeScanner& scan, std::string& line) {
  while (line.size() < kHeaderLineLimit) {
    const int c = scan.Get();
    if (c == EOF) break;
    line += static_cast<char>(c);
    if (c == '\n') break;
  }
  return !line.empty();
}

int FindAxis(const std::string& label) {
  for (int axis = 0; axis < AXIS_COUNT; ++axis) {
    if (label == motionAxisLabels[axis]) return axis;
  }
  return -1;
}

// Header faults are shown to the user; all of them are in line 1.
int RefuseHeader(MotionData& data, const CStr& text) {
  Complain(text);
  data.repeatedAxis = -1;
  data.fault.Note(1, -1, -1, text);
  return 0;
}

CStr LabelText(const char* format, const std::string& label) {
  CStr text;
  text.printf(format, label.c_str());
  return text;
}

// Returns the number of columns, or 0 once the user has been told why the
// header is refused. A NUL would end the labels early and move the numbers
// onto other axes; a header with no label would make the sample loop consume
// nothing. A label named twice gives two columns, the later one's value
// kept, as stored takes may rely on; more than seven labels would overflow
// the seven-entry map and are refused.
int ReadColumnMap(TextModeScanner& scan, int (&columnAxis)[AXIS_COUNT], MotionData& data) {
  std::string line;
  if (!ReadHeaderLine(scan, line) || line.compare(0, kHeaderPrefixLength, kHeaderPrefix) != 0)
    return RefuseHeader(data, "Not a Kuper ASCII File");
  if (line.find('\0') != std::string::npos) return RefuseHeader(data, "NUL character among the data labels");
  bool named[AXIS_COUNT] = {};
  int columns = 0;
  size_t at = line.find_first_not_of(kLabelSeparators, kHeaderPrefixLength);
  while (at != std::string::npos) {
    const size_t end = line.find_first_of(kLabelSeparators, at);
    const std::string label = line.substr(at, end == std::string::npos ? std::string::npos : end - at);
    at = line.find_first_not_of(kLabelSeparators, end);
    const int axis = FindAxis(label);
    if (axis < 0) return RefuseHeader(data, LabelText("Unknown data label: %s", label));
    if (columns == AXIS_COUNT) return RefuseHeader(data, "More than seven data labels");
    if (named[axis] && data.repeatedAxis < 0) data.repeatedAxis = axis;
    named[axis] = true;
    columnAxis[columns++] = axis;
  }
  if (columns == 0) return RefuseHeader(data, "No data labels after \"Axes = \"");
  return columns;
}

void ReportProgress(int64_t position, int64_t size, MotionProgress* progress) {
  if (progress == nullptr || size <= 0) return;
  progress->SetProgress(static_cast<float>(static_cast<double>(position) / static_cast<double>(size)));
}

// Why the sample in the given column could not be read; not shown in a box
// (the panel reports the failure), kept in the record's fault.
int RefuseSample(const TextModeScanner& scan, Scan read, int column, int columns, int axis, MotionData& data) {
  CStr text;
  const int sample = data.Count();
  if (read == Scan::kBad) {
    text.printf("Sample %d, %s: %s is not a finite number", sample, motionAxisLabels[axis],
                QuotedWord(scan.Word()).data());
  } else if (scan.Failed()) {
    text.printf("Read error in sample %d", sample);
  } else {
    text.printf("The file ends inside sample %d, after %d of its %d numbers", sample, column, columns);
  }
  data.fault.Note(scan.Line(), sample, -1, text);
  return 0;
}

// Line breaks carry no meaning: numbers are taken in groups of one per column.
// The end of the file is only a clean end between two samples; a read error
// is never taken for one.
int ReadSamples(TextModeScanner& scan, const int (&columnAxis)[AXIS_COUNT], int columns, int64_t size,
                MotionData& data, MotionProgress* progress) {
  for (;;) {
    MotionSample sample;
    for (int column = 0; column < columns; ++column) {
      float value = 0.0f;
      const Scan read = scan.Float(value);
      if (read == Scan::kEnd && column == 0 && !scan.Failed()) return 1;
      if (read != Scan::kOk) return RefuseSample(scan, read, column, columns, columnAxis[column], data);
      sample.values[columnAxis[column]] = value;
    }
    if (!data.Append(sample)) {
      CStr text;
      text.printf("Out of memory after %d samples", data.Count());
      Complain(text);
      data.fault.Note(scan.Line(), data.Count(), -1, text);
      return 0;
    }
    ReportProgress(scan.Consumed(), size, progress);
  }
}

}  // namespace

void SetMotionCapacityLimit(int records) { capacityLimit = records; }

MotionSample::MotionSample() : values{} {}

float MotionSample::GetValue(int i) const {
  DbgAssert(i >= 0 && i < AXIS_COUNT);
  // The host's assertion returns; an index outside must not read past the sample.
  if (i < 0 || i >= AXIS_COUNT) return 0.0f;
  return values[i];
}

MotionData::MotionData() : samples(nullptr), capacity(0), count(0), repeatedAxis(-1) {}

MotionData::~MotionData() { Clear(); }

void MotionData::Clear() {
  free(samples);
  samples = nullptr;
  capacity = 0;
  count = 0;
  repeatedAxis = -1;
  fault = ReadFault();
}

// Samples are plain floats, so realloc may extend or remap the block instead
// of copying it, and a failed realloc leaves the old block as it was.
static_assert(std::is_trivially_copyable<MotionSample>::value, "samples are moved by realloc");

bool MotionData::Grow(int n, bool keep) {
  if (n <= 0) return true;
  const long long wanted = static_cast<long long>(capacity) + n;
  if (wanted > INT_MAX || (capacityLimit >= 0 && wanted > capacityLimit)) return false;
  const size_t bytes = sizeof(MotionSample) * static_cast<size_t>(wanted);
  void* block = keep ? realloc(samples, bytes) : malloc(bytes);
  if (block == nullptr) return false;
  if (!keep) free(samples);
  samples = static_cast<MotionSample*>(block);
  std::uninitialized_fill(samples + (keep ? count : 0), samples + wanted, MotionSample());
  capacity = static_cast<int>(wanted);
  return true;
}

// Doubling keeps a long take linear where realloc copies (the Windows C
// runtime, sanitizers); the small step keeps "out of memory" meaning that not
// even 100 more samples fit.
bool MotionData::Append(const MotionSample& s) {
  if (count == capacity && !Grow(std::max(capacity, kLeastGrowStep), true) && !Grow(kLeastGrowStep, true))
    return false;
  samples[count++] = s;
  return true;
}

const MotionSample& MotionData::GetSample(int i) const {
  DbgAssert(i >= 0 && i < count);
  static const MotionSample none;
  if (i < 0 || i >= count) return none;
  return samples[i];
}

// Every outcome starts from an empty record, so a failed read never leaves
// the previous file's samples behind.
int MotionData::Read(FILE* stream, MotionProgress* progress) {
  const int64_t size = StreamSize(stream);
  Clear();
  TextModeScanner scan(stream);
  int columnAxis[AXIS_COUNT];
  const int columns = ReadColumnMap(scan, columnAxis, *this);
  if (columns == 0) return 0;
  return ReadSamples(scan, columnAxis, columns, size, *this, progress);
}
