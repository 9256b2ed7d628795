// Evaluation of the expression object: the Neutral's points moved towards
// each assigned target by its channel's weight. The transformed Neutral and
// each target's difference from it are kept between evaluations
// (blend_cache.h), so a blend reads each array once.
#include <triobj.h>

#include <cmath>
#include <vector>

#include "mirovaobj.h"
#include "mirovaobj_internal.h"

namespace {

void BasePass(Object* neutral, Object* result, int n, const Matrix3& m0) {
  Point3* base = MeshPoints(neutral, n);
  Point3* out = MeshPoints(result, n);
  if (base && out) {
    for (int k = 0; k < n; ++k) out[k] = base[k] * m0;
  } else {
    for (int k = 0; k < n; ++k) result->SetPoint(k, neutral->GetPoint(k) * m0);
  }
}

}  // namespace

void ExpressionObject::ChannelWeights(TimeValue t, float weights[NUM_CHANNELS]) {
  for (int c = 0; c < NUM_CHANNELS; ++c) {
    const ExpressionChannel& channel = expressionChannels[c];
    float percent = 0.0f, scale = 0.0f;
    Interval valid = FOREVER;
    if (pblock) {
      pblock->GetValue(channel.percentIndex, t, percent, valid);
      pblock->GetValue(channel.scaleIndex, t, scale, valid);
    }
    if (channel.inverted) percent = 1.0f - percent;
    // Neither is clamped: beyond 100 % or with a negative scale the face
    // goes past its target or away from it.
    weights[c] = scale * percent;
  }
}

void ExpressionObject::ReleaseCache() {
  if (!cache.obj) return;
  cache.obj->UnlockChannels(GEOM_CHANNEL);
  cache.obj->UnlockObject();
  cache.DeleteObj(FALSE);
}

bool ExpressionObject::TakeNeutralState(TimeValue t, Object* neutral, Object*& neutralResult,
                                        bool& pointsCopied) {
  ObjectState state = neutral->Eval(t);
  neutralResult = state.obj;
  ObjAssert(neutralResult != nullptr);
  if (!neutralResult) return false;
  cache = state;
  bool converted = false;
  if (!cache.obj->IsDeformable()) {
    Object* mesh = cache.obj->ConvertToType(t, defObjectClassID);
    ObjAssert(mesh != nullptr);
    if (!mesh) {
      cache = ObjectState();  // the Neutral's own object is not ours to free
      return false;
    }
    if (mesh != neutralResult) {
      mesh->UnlockObject();
      converted = true;
    }
    cache.obj = mesh;
  }
  // A locked object belongs to someone else, and so does the Neutral itself
  // even when its owner left it unlocked: work on a copy that shares all but
  // the geometry, so that the target is neither moved nor later deleted.
  if (cache.obj->IsObjectLocked() || cache.obj == neutral) {
    Object* copy = cache.obj->MakeShallowCopy(ALL_CHANNELS);
    copy->LockChannels(ALL_CHANNELS);
    copy->UnlockObject();
    copy->UpdateValidity(GEOM_CHAN_NUM, Interval(t, t));
    cache.obj = copy;
  }
  cache.obj->ReadyChannelsForMod(GEOM_CHANNEL);
  pointsCopied = !converted;
  return true;
}

int ExpressionObject::BlendedTargets(int n, const float weights[NUM_CHANNELS], int slots[NUM_CHANNELS],
                                     float used[NUM_CHANNELS]) {
  int count = 0;
  for (int c = 0; c < NUM_CHANNELS; ++c) {
    const int j = expressionChannels[c].target;
    const float w = weights[c];
    Object* target = targets[j].object;
    if (w == 0.0f || std::isnan(w) || !target || n <= 0) continue;
    // A target that lost points since it was picked is left out rather than
    // read past its end.
    if (target->NumPoints() < n) {
      blendCache.Release(j);
      continue;
    }
    slots[count] = j;
    used[count++] = w;
  }
  return count;
}

void ExpressionObject::Blend(TimeValue t, Object* neutralResult, int n, bool pointsCopied,
                             const float weights[NUM_CHANNELS]) {
  const Matrix3& m0 = targets[TARGET_NEUTRAL].offsetTM;
  int slots[NUM_CHANNELS];
  float used[NUM_CHANNELS];
  const int count = BlendedTargets(n, weights, slots, used);
  if (count == 0) {
    // The result already holds the Neutral's points, which the identity
    // would leave as they are.
    if (!(pointsCopied && m0.IsIdentity())) BasePass(neutralResult, cache.obj, n, m0);
    return;
  }
  const float* base = blendCache.Base(neutralResult, n, m0, t);
  const float* differences[NUM_CHANNELS];
  for (int i = 0; i < count; ++i)
    differences[i] = blendCache.Difference(slots[i], targets[slots[i]].object, targets[slots[i]].offsetTM, t);
  if (Point3* out = MeshPoints(cache.obj, n)) {
    BlendPoints(out, n, base, differences, used, count);
    return;
  }
  std::vector<Point3> points(static_cast<size_t>(n));
  BlendPoints(points.data(), n, base, differences, used, count);
  for (int k = 0; k < n; ++k) cache.obj->SetPoint(k, points[k]);
}

void ExpressionObject::FinishResult(TimeValue t) {
  cache.obj->PointsWereChanged();
  cache.obj->LockChannels(GEOM_CHANNEL);
  cache.obj->UpdateValidity(GEOM_CHAN_NUM, Interval(t, t));
  cache.obj->LockObject();
}

ObjectState ExpressionObject::Eval(TimeValue t) {
  Object* neutral = targets[TARGET_NEUTRAL].object;
  ObjAssert(neutral != nullptr);
  float weights[NUM_CHANNELS];
  ChannelWeights(t, weights);
  ReleaseCache();
  NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE, NOTIFY_ALL, TRUE, nullptr);
  Object* neutralResult = nullptr;
  bool pointsCopied = false;
  if (neutral && TakeNeutralState(t, neutral, neutralResult, pointsCopied)) {
    // Never more points than the result has, whatever the Neutral reports.
    int n = neutralResult->NumPoints();
    if (n > cache.obj->NumPoints()) n = cache.obj->NumPoints();
    Blend(t, neutralResult, n, pointsCopied, weights);
  } else {
    // Nothing to blend: an empty face, valid for this instant only.
    cache = ObjectState(CreateNewTriObject());
  }
  FinishResult(t);
  return cache;
}
