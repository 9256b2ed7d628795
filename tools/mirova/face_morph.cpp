#include "face_morph.h"

#include <control.h>
#include <triobj.h>

#include <algorithm>
#include <climits>
#include <cmath>

#include "mirovaobj.h"

namespace cli {

namespace {

// The triangles of the object's evaluated mesh that name points below n.
std::vector<unsigned> EvaluatedTriangles(ExpressionObject* obj, TimeValue t, int n) {
  std::vector<unsigned> triangles;
  Object* result = obj->Eval(t).obj;
  if (!result || result->ClassID() != triObjectClassID) return triangles;
  Mesh& mesh = static_cast<TriObject*>(result)->GetMesh();
  for (int f = 0; f < mesh.getNumFaces(); ++f) {
    const DWORD* v = mesh.faces[f].v;
    if (v[0] < static_cast<DWORD>(n) && v[1] < static_cast<DWORD>(n) && v[2] < static_cast<DWORD>(n))
      triangles.insert(triangles.end(), {v[0], v[1], v[2]});
  }
  return triangles;
}

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

}  // namespace

MorphMesh MorphMeshOf(ExpressionObject* obj, TimeValue t) {
  MorphMesh mesh;
  Object* neutral = obj->targets[TARGET_NEUTRAL].object;
  Object* base = neutral ? neutral->Eval(t).obj : nullptr;
  if (!base) return mesh;
  const Matrix3& m0 = obj->targets[TARGET_NEUTRAL].offsetTM;
  for (int k = 0; k < base->NumPoints(); ++k) mesh.points.push_back(base->GetPoint(k) * m0);
  const int n = static_cast<int>(mesh.points.size());
  for (int j = TARGET_OPEN; j < NUM_FACE_TARGETS; ++j) {
    Object* shape = obj->targets[j].object;
    if (!shape || shape->NumPoints() < n) continue;
    MorphTarget target;
    target.channel = j - 1;
    target.name = expressionChannels[target.channel].name;
    for (int k = 0; k < n; ++k) target.deltas.push_back(shape->GetPoint(k) * obj->targets[j].offsetTM - mesh.points[k]);
    mesh.targets.push_back(target);
  }
  mesh.triangles = EvaluatedTriangles(obj, t, n);
  return mesh;
}

std::vector<float> TargetWeights(const LibraryAccess& library, ExpressionObject* obj, const MorphMesh& mesh,
                                 TimeValue t) {
  float channels[NUM_CHANNELS];
  library.channelWeights(obj, t, channels);
  std::vector<float> weights;
  for (const MorphTarget& target : mesh.targets) {
    float w = channels[target.channel];
    weights.push_back(std::isnan(w) ? 0.0f : w);
  }
  return weights;
}

// Two samples hours apart key a span of far more frames than the recording
// has samples, and every frame costs a weight per target: the sampled
// animation is bounded (a million frames is over nine hours at 30 a second).
const long long kMaxAnimatedFrames = 1000000;

bool FrameWeights(const LibraryAccess& library, ExpressionObject* obj, const MorphMesh& mesh, WeightTrack* track,
                  std::string* problem) {
  TimeValue first = 0, last = 0;
  if (!KeySpan(obj, &first, &last)) return true;
  const long long perFrame = GetTicksPerFrame();
  const long long start = FloorDiv(first, perFrame) * perFrame;
  const long long frames = (last - start + perFrame - 1) / perFrame + 1;
  if (frames > kMaxAnimatedFrames) {
    *problem = "the keys span " + std::to_string(frames) + " frames; an animation of at most " +
               std::to_string(kMaxAnimatedFrames) + " frames is written";
    return false;
  }
  for (long long t = start; t <= INT_MAX; t += perFrame) {
    TimeValue time = static_cast<TimeValue>(t);
    track->ticks.push_back(time);
    std::vector<float> weights = TargetWeights(library, obj, mesh, time);
    track->weights.insert(track->weights.end(), weights.begin(), weights.end());
    if (t >= last) break;
  }
  return true;
}

bool ExpressionGltf(const LibraryAccess& library, ExpressionObject* obj, TimeValue t, bool animated, bool binary,
                    std::ostream& out, std::string* problem) {
  MorphMesh mesh = MorphMeshOf(obj, t);
  WeightTrack track;
  if (animated && !FrameWeights(library, obj, mesh, &track, problem)) return false;
  return WriteFaceGltf(mesh, TargetWeights(library, obj, mesh, t), track, binary, out, problem);
}

}  // namespace cli
