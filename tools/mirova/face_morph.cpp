#include "face_morph.h"

#include <control.h>

#include <algorithm>
#include <climits>

#include "gltf_face.h"
#include "json.h"
#include "mirovaobj.h"

namespace cli {

namespace {

// The first and last key time over all the object's parameters; false when
// none has keys.
bool KeySpan(ExpressionObject* obj, TimeValue* first, TimeValue* last) {
  bool any = false;
  for (int i = 0; i < NUM_CHANNEL_PARAMS; ++i) {
    Control* c = obj->pblock ? obj->pblock->GetController(i) : nullptr;
    if (!c || c->NumKeys() == 0) continue;
    TimeValue a = c->GetKeyTime(0), b = c->GetKeyTime(c->NumKeys() - 1);
    *first = any ? std::min(*first, a) : a;
    *last = any ? std::max(*last, b) : b;
    any = true;
  }
  return any;
}

long long FloorDiv(long long a, long long b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }

std::vector<float> WeightsAt(const LibraryAccess& library, ExpressionObject* obj, const BlendBreakdown& face,
                             TimeValue t) {
  float channels[NUM_CHANNELS];
  library.channelWeights(obj, t, channels);
  return TargetWeights(face, channels);
}

// Two samples hours apart key a span of far more frames than the recording
// has samples, and every frame costs a weight per target: the sampled
// animation is bounded (a million frames is over nine hours at 30 a second).
const long long kMaxAnimatedFrames = 1000000;

long long FirstFrameTime(TimeValue first) {
  const long long perFrame = GetTicksPerFrame();
  return FloorDiv(first, perFrame) * perFrame;
}

}  // namespace

std::string AnimationSpanProblem(TimeValue first, TimeValue last) {
  const long long perFrame = GetTicksPerFrame();
  const long long start = FirstFrameTime(first);
  const long long frames = (last - start + perFrame - 1) / perFrame + 1;
  if (frames > kMaxAnimatedFrames)
    return "the keys span " + std::to_string(frames) + " frames; an animation of at most " +
           std::to_string(kMaxAnimatedFrames) + " frames is written";
  if (start < 0 && last - start > INT_MAX)
    return "the keys span more ticks than one animation time can count once moved to start at 0";
  return "";
}

bool FrameWeights(const LibraryAccess& library, ExpressionObject* obj, const BlendBreakdown& face,
                  WeightTrack* track, TimeValue* shift, std::string* problem) {
  *shift = 0;
  TimeValue first = 0, last = 0;
  if (!KeySpan(obj, &first, &last)) return true;
  *problem = AnimationSpanProblem(first, last);
  if (!problem->empty()) return false;
  const long long perFrame = GetTicksPerFrame();
  const long long start = FirstFrameTime(first);
  *shift = static_cast<TimeValue>(std::max(0LL, -start));
  for (long long t = start; t <= INT_MAX; t += perFrame) {
    const TimeValue time = static_cast<TimeValue>(t);
    track->ticks.push_back(static_cast<TimeValue>(t + *shift));
    const std::vector<float> weights = WeightsAt(library, obj, face, time);
    track->weights.insert(track->weights.end(), weights.begin(), weights.end());
    if (t >= last) break;
  }
  return true;
}

std::string ShiftNote(TimeValue shift) {
  return "the keys start " + std::to_string(shift) + " ticks (" + JsonFloat(shift / float(TIME_TICKSPERSEC)) +
         " s) before 0, where glTF's times begin: the animation is moved that much later";
}

bool WriteExpressionGltf(const LibraryAccess& library, ExpressionObject* obj, const ObjMesh& neutral, TimeValue t,
                         bool animated, const std::string& output, std::ostream& out, std::string* problem,
                         std::string* note) {
  BlendBreakdown face;
  library.blendBreakdown(obj, t, &face);
  WeightTrack track;
  TimeValue shift = 0;
  if (animated && !FrameWeights(library, obj, face, &track, &shift, problem)) return false;
  if (shift > 0 && note) *note = ShiftNote(shift);
  return WriteFaceGltf(LayOutFace(neutral, face), WeightsAt(library, obj, face, t), track, output, out, problem);
}

}  // namespace cli
