#include "tzkuperdata.h"

#include "textmode.h"

#include <max.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <type_traits>

const char* const motionAxisLabels[AXIS_COUNT] = {"FOCUS", "VTrack", "VEW", "VNS",
                                                  "VPan",  "VTilt",  "VRoll"};

namespace {

const char kCaption[] = "TzMotionControl";
const char kHeaderPrefix[] = "Axes = ";
const size_t kHeaderPrefixLength = sizeof(kHeaderPrefix) - 1;
const int kHeaderBufferSize = 256;  // 255 characters and the terminator
const int kLeastGrowStep = 100;  // the first capacity, and the step when doubling finds no memory
const char kLabelSeparators[] = " ,\n";

int capacityLimit = -1;

void Complain(const char* text) { MessageBoxA(nullptr, text, kCaption, MB_OK); }

// The seek back to the start also tells the C library where the stream is, so
// the position asked after every sample costs no system call.
int64_t StreamSize(FILE* stream) {
  if (fseeko(stream, 0, SEEK_END) != 0) return -1;
  const int64_t size = ftello(stream);
  if (fseeko(stream, 0, SEEK_SET) != 0) return -1;
  return size;
}

// The header line as text mode delivers it (textmode.h): a CR dropped before
// LF does not count against the line limit.
bool ReadHeaderLine(FILE* stream, char (&line)[kHeaderBufferSize]) {
  int length = 0;
  while (length < kHeaderBufferSize - 1) {
    int c = GetTextModeChar(stream);
    if (c == EOF) break;
    line[length++] = static_cast<char>(c);
    if (c == '\n') break;
  }
  line[length] = '\0';
  return length > 0;
}

int FindAxis(const std::string& label) {
  for (int axis = 0; axis < AXIS_COUNT; ++axis) {
    if (label == motionAxisLabels[axis]) return axis;
  }
  return -1;
}

// Returns the number of columns, or 0 once the user has been told why the
// header is refused. The map holds seven columns, so an eighth label (which
// can only repeat one) is refused rather than written past it; a header with
// no label would make the sample loop consume nothing and never end.
int ReadColumnMap(FILE* stream, int (&columnAxis)[AXIS_COUNT]) {
  char line[kHeaderBufferSize];
  if (!ReadHeaderLine(stream, line) || strncmp(line, kHeaderPrefix, kHeaderPrefixLength) != 0) {
    Complain("Not a Kuper ASCII File");
    return 0;
  }
  int columns = 0;
  const char* p = line + kHeaderPrefixLength;
  for (p += strspn(p, kLabelSeparators); *p != '\0'; p += strspn(p, kLabelSeparators)) {
    const size_t length = strcspn(p, kLabelSeparators);
    const std::string label(p, length);
    p += length;
    const int axis = FindAxis(label);
    if (axis < 0) {
      CStr text;
      text.printf("Unknown data label: %s", label.c_str());
      Complain(text);
      return 0;
    }
    if (columns == AXIS_COUNT) {
      Complain("Too many data labels: at most 7");
      return 0;
    }
    columnAxis[columns++] = axis;
  }
  if (columns == 0) Complain("No data labels after \"Axes = \"");
  return columns;
}

void ReportProgress(FILE* stream, int64_t size, MotionProgress* progress) {
  if (progress == nullptr || size <= 0) return;
  const int64_t position = ftello(stream);
  if (position < 0) return;
  progress->SetProgress(static_cast<float>(static_cast<double>(position) / static_cast<double>(size)));
}

// Line breaks carry no meaning: numbers are taken in groups of one per column.
// The end of the file is only a clean end between two samples; a read error
// is never taken for one.
int ReadSamples(FILE* stream, const int (&columnAxis)[AXIS_COUNT], int columns, int64_t size,
                MotionData& data, MotionProgress* progress) {
  while (!feof(stream)) {
    MotionSample sample;
    for (int column = 0; column < columns; ++column) {
      float value = 0.0f;
      const int converted = fscanf(stream, "%f", &value);
      if (converted == EOF) return (column == 0 && !ferror(stream)) ? 1 : 0;
      if (converted != 1) return 0;
      sample.values[columnAxis[column]] = value;
    }
    if (!data.Append(sample)) {
      CStr text;
      text.printf("Out of memory after %d samples", data.Count());
      Complain(text);
      return 0;
    }
    ReportProgress(stream, size, progress);
  }
  return 1;
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

MotionData::MotionData() : samples(nullptr), capacity(0), count(0) {}

MotionData::~MotionData() { Clear(); }

void MotionData::Clear() {
  free(samples);
  samples = nullptr;
  capacity = 0;
  count = 0;
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
  int columnAxis[AXIS_COUNT];
  const int columns = ReadColumnMap(stream, columnAxis);
  if (columns == 0) return 0;
  return ReadSamples(stream, columnAxis, columns, size, *this, progress);
}
