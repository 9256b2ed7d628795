#include "take_write.h"

#include <maxtypes.h>

#include <cfloat>
#include <cmath>

#include "json.h"

namespace cli {

namespace {

// The most samples the utility keys at fps: sample i lands on tick
// floor(i * 4800 / fps), which must lie before the end of time.
long long MostSamples(int fps) {
  return (static_cast<long long>(TIME_PosInfinity) * fps - 1) / TIME_TICKSPERSEC + 1;
}

// How many samples lie from the first key to the last (at least one), or
// limit + 1 when more than limit do.
long long SamplesOverKeys(const CameraSource& source, long long limit) {
  const double first = source.FirstTime(), last = source.LastTime();
  if (source.SampleTime(first, limit) <= last) return limit + 1;
  // The last sample at or before the last key: in [low, high).
  long long low = 0, high = limit;
  while (high - low > 1) {
    const long long middle = low + (high - low) / 2;
    (source.SampleTime(first, middle) <= last ? low : high) = middle;
  }
  return low + 1;
}

bool AsFloat(double value, float* written) {
  if (!(std::fabs(value) <= FLT_MAX)) return false;
  *written = static_cast<float>(value);
  return std::isfinite(*written);
}

}  // namespace

bool WriteTake(CameraSource& source, const TakeSpan& span, const float* focus, std::ostream& out,
               std::string* problem) {
  const long long limit = MostSamples(span.fps);
  const long long count = span.frames ? span.last - span.first + 1 : SamplesOverKeys(source, limit);
  if (count > limit) {
    *problem = "the take would hold more than " + std::to_string(limit) + " samples, more than the utility keys at " +
               std::to_string(span.fps) + " frames a second";
    return false;
  }
  out << "Axes = " << (focus ? "FOCUS " : "") << "VTrack VEW VNS VPan VTilt VRoll\r\n";
  TakeAngles previous;
  for (long long i = 0; i < count; ++i) {
    const double time = span.frames ? source.SampleTime(0, span.first + i) : source.SampleTime(source.FirstTime(), i);
    CameraPose pose;
    if (!source.PoseAt(time, &pose, problem)) return false;
    const TakeSample sample = TakeSampleOfYUp(pose, previous);
    previous = sample.angles;
    const double values[6] = {sample.track, sample.eastWest, sample.northSouth,
                              sample.angles.pan, sample.angles.tilt, sample.angles.roll};
    if (focus) out << JsonFloat(*focus) << ' ';
    for (int v = 0; v < 6; ++v) {
      float written = 0;
      if (!AsFloat(values[v], &written)) {
        *problem = "sample " + std::to_string(i) + ": the camera's position lies past a 32-bit float's range";
        return false;
      }
      out << JsonFloat(written) << (v < 5 ? " " : "\r\n");
    }
  }
  return true;
}

}  // namespace cli
