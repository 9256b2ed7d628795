// A motion-control take written from a camera move: the header line
// "Axes = VTrack VEW VNS VPan VTilt VRoll" ("FOCUS" first when a focus is
// given), then one sample a line, its numbers split by spaces and each the
// shortest decimal that reads back to the same 32-bit float, lines ended by
// CR LF as the rig ends them.
#ifndef MIROVA_CLI_TAKE_WRITE_H
#define MIROVA_CLI_TAKE_WRITE_H
#include <ostream>
#include <string>

#include "camera_source.h"

namespace cli {

// The samples to take, at fps a second: from the first key to the last, or
// frames first to last of the source's time (frame f at SampleTime(0, f)).
struct TakeSpan {
  int fps = 30;
  bool frames = false;
  long long first = 0, last = 0;  // when frames
};

// Writes the take. Each sample's angles are the ones nearest the sample's
// before (the first's nearest the rest pose, every axis 0). False, with
// *problem, when the take would be longer than the utility keys at the rate,
// or a sample cannot be made (no pose, a number past a float's range).
bool WriteTake(CameraSource& source, const TakeSpan& span, const float* focus, std::ostream& out,
               std::string* problem);

}  // namespace cli

#endif
