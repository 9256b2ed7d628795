#include "facetracker.h"

#include <box2.h>

#include <cmath>

#include "mirovaobj.h"
#include "progressbar.h"

namespace {

// The face markers the channels are measured from, in lookup order.
enum FaceMarker {
  LIP_UPPER,
  LIP_LOWER,
  LIP_LEFT,
  LIP_RIGHT,
  EYELID_LEFT,
  EYELID_RIGHT,
  OUT_BROW_LEFT,
  OUT_BROW_RIGHT,
  CHEEK_LEFT,
  CHEEK_RIGHT,
  SQUINT_LEFT,
  SQUINT_RIGHT,
  IN_BROW_RIGHT,
  FACE_MARKERS
};

const char* const faceMarkerNames[FACE_MARKERS] = {
    "lip_upper",  "lip_lower",   "lip_left",    "lip_right",    "eyelid_left",
    "eyelid_right", "out_brow_left", "out_brow_right", "cheek_left", "cheek_right",
    "squint_left", "squint_right", "in_brow_right"};

// The markers measured by their height alone, each with a box of positions.
const int firstBoxMarker = EYELID_LEFT;
const int boxMarkers = FACE_MARKERS - firstBoxMarker;

enum Measure { MEASURE_OPENING, MEASURE_WIDTH, MEASURE_HEIGHT };

struct ChannelSource {
  ChannelIndex channel;  // whose percentage is written
  Measure measure;
  int marker;         // for MEASURE_HEIGHT
  bool highestIsOne;  // the sample with the marker highest in the image (smallest y) gives 1
};

// The eleven channels in the order their keys are written.
const ChannelSource channelSources[NUM_CHANNELS] = {
    {CHANNEL_MOUTH_VERTICAL, MEASURE_OPENING, -1, false},
    {CHANNEL_MOUTH_HORIZONTAL, MEASURE_WIDTH, -1, false},
    {CHANNEL_LEFT_EYELID, MEASURE_HEIGHT, EYELID_LEFT, true},
    {CHANNEL_RIGHT_EYELID, MEASURE_HEIGHT, EYELID_RIGHT, true},
    {CHANNEL_LEFT_EYEBROW, MEASURE_HEIGHT, OUT_BROW_LEFT, true},
    {CHANNEL_RIGHT_EYEBROW, MEASURE_HEIGHT, OUT_BROW_RIGHT, true},
    {CHANNEL_LEFT_CHEEK, MEASURE_HEIGHT, CHEEK_LEFT, true},
    {CHANNEL_RIGHT_CHEEK, MEASURE_HEIGHT, CHEEK_RIGHT, true},
    {CHANNEL_LEFT_SQUINT, MEASURE_HEIGHT, SQUINT_LEFT, true},
    {CHANNEL_RIGHT_SQUINT, MEASURE_HEIGHT, SQUINT_RIGHT, true},
    {CHANNEL_FROWN, MEASURE_HEIGHT, IN_BROW_RIGHT, false},
};

float SmoothStep(float v) { return v * v * (3.0f - 2.0f * v); }

// Smallest and largest of one measurement over the recording. Starting far
// outside any coordinate, as the boxes do, lets every measurement set both:
// a start at +-1000 would pin the range of a recording in large units.
struct Range {
  float smallest = 1e30f;
  float largest = -1e30f;
  void Add(float v) {
    if (v < smallest) smallest = v;
    if (v > largest) largest = v;
  }
};

class ChannelDerivation {
 public:
  explicit ChannelDerivation(const TrackerData& d) : data(d) {}

  // False, after telling the user which, when a face marker is missing.
  bool FindMarkers() {
    for (int row = 0; row < FACE_MARKERS; ++row) {
      markers[row] = data.FindMarker(faceMarkerNames[row]);
      if (markers[row] < 0) {
        CStr text;
        text.printf("Unable to find marker %s", faceMarkerNames[row]);
        MessageBoxA(nullptr, text, nullptr, MB_OK);
        return false;
      }
    }
    return true;
  }

  void MeasureSample(int s) {
    const float opening = Opening(s);
    if (opening < 0.0f) {
      CStr text;
      text.printf("Top and bottom lip markers swapped at frame %d", data.SampleTime(s) / GetTicksPerFrame());
      MessageBoxA(nullptr, text, nullptr, MB_OK);
    }
    openings.Add(opening);
    widths.Add(Width(s));
    for (int b = 0; b < boxMarkers; ++b) boxes[b] += At(s, firstBoxMarker + b);
  }

  // The eased value of a channel in sample s, a fraction.
  float ChannelValue(int s, const ChannelSource& source) const {
    float value, smallest, largest;
    switch (source.measure) {
      case MEASURE_OPENING:
        value = Opening(s), smallest = openings.smallest, largest = openings.largest;
        break;
      case MEASURE_WIDTH:
        value = Width(s), smallest = widths.smallest, largest = widths.largest;
        break;
      default: {
        const FBox2& box = boxes[source.marker - firstBoxMarker];
        value = At(s, source.marker).y, smallest = box.pmin.y, largest = box.pmax.y;
      }
    }
    // A measurement that never changes carries no expression: the channel
    // rests at the value a new object starts with.
    const float span = largest - smallest;
    float fraction = (value - smallest) / span;
    if (!(span > 0.0f) || !std::isfinite(fraction)) return expressionChannels[source.channel].percentCreation;
    if (source.highestIsOne) fraction = 1.0f - fraction;
    return SmoothStep(fraction);
  }

 private:
  const Point2& At(int s, int row) const { return data.Position(s, markers[row]); }
  float Opening(int s) const { return At(s, LIP_LOWER).y - At(s, LIP_UPPER).y; }
  float Width(int s) const { return At(s, LIP_RIGHT).x - At(s, LIP_LEFT).x; }

  const TrackerData& data;
  int markers[FACE_MARKERS] = {};
  Range openings, widths;
  FBox2 boxes[boxMarkers];
};

void DeleteAllKeys(IParamBlock* pblock) {
  for (int i = 0; i < NUM_CHANNEL_PARAMS; ++i) {
    Control* c = pblock->GetController(i);
    if (c) c->DeleteKeys(TRACK_DOALL);
  }
}

}  // namespace

TrackerInput::TrackerInput() : path{} {}

TrackerInput::~TrackerInput() {
  view.Destroy();  // the window goes first, while the recording it shows is whole
  data.Clear();
}

// Measures everything first so that each key is written once, already
// normalised over the whole recording.
void TrackerInput::Apply(ExpressionObject* object) {
  DbgAssert(object != nullptr && object->pblock != nullptr);
  if (object == nullptr || object->pblock == nullptr) return;
  ChannelDerivation derivation(data);
  if (!derivation.FindMarkers()) return;
  const int n = data.SampleCount();
  HostProgressBar bar("Applying...");
  for (int s = 0; s < n; ++s) {
    derivation.MeasureSample(s);
    if (s % 2 == 0) bar.Update(ProgressPercent(s + 1, n, 50));
  }
  IParamBlock* pblock = object->pblock;
  DeleteAllKeys(pblock);
  SuspendAnimate();
  AnimateOn();
  for (int s = 0; s < n; ++s) {
    const TimeValue t = data.SampleTime(s);
    for (const ChannelSource& source : channelSources)
      pblock->SetValue(expressionChannels[source.channel].percentIndex, t, derivation.ChannelValue(s, source));
    if (s % 2 == 0) bar.Update(50 + ProgressPercent(s + 1, n, 50));
  }
  bar.End();
  ResumeAnimate();
}
