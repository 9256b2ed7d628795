// The arrays behind a blend at the cost of reading them once.
#include "blend_cache.h"

#include <triobj.h>

#include <cstring>
#include <type_traits>

static_assert(sizeof(Point3) == 3 * sizeof(float) && std::is_trivially_copyable<Point3>::value,
              "a point is three packed floats");

namespace {

// Points blended at a time: their 12 KB accumulate in the first-level cache
// while the twelve arrays stream past. A multiple of 8 floats.
const int BLOCK_POINTS = 1024;

// acc[i] += w * d[i] for i below len. Written in groups of eight so that g++
// -O2 vectorises the inner loop (its cheap cost model takes a loop only when
// the vector code replaces it whole).
void AddScaled(float* __restrict acc, const float* __restrict d, float w, int len) {
  const int whole = len / 8 * 8;
  for (int g = 0; g < whole; g += 8)
    for (int k = 0; k < 8; ++k) acc[g + k] += w * d[g + k];
  for (int i = whole; i < len; ++i) acc[i] += w * d[i];
}

void Store(float* floats, int k, const Point3& p) {
  floats[3 * k] = p.x;
  floats[3 * k + 1] = p.y;
  floats[3 * k + 2] = p.z;
}

Point3 Load(const float* floats, int k) { return Point3(floats[3 * k], floats[3 * k + 1], floats[3 * k + 2]); }

// Bit for bit: a transform that is set again to the same value leaves the
// arrays alone, and one holding a NaN still matches itself.
bool SameMatrix(const Matrix3& a, const Matrix3& b) { return std::memcmp(&a, &b, sizeof(Matrix3)) == 0; }

}  // namespace

Point3* MeshPoints(Object* obj, int n) {
  if (n <= 0 || obj->ClassID() != triObjectClassID || obj->SuperClassID() != GEOMOBJECT_CLASS_ID)
    return nullptr;
  Mesh& mesh = static_cast<TriObject*>(obj)->GetMesh();
  return mesh.getNumVerts() >= n ? mesh.verts : nullptr;
}

void BlendCache::DropAll() {
  for (int j = 0; j < NUM_FACE_TARGETS; ++j) DropTarget(j);
}

void BlendCache::DropTarget(int j) {
  if (j < 0 || j >= NUM_FACE_TARGETS) return;
  // Swapped out rather than cleared, so that the memory goes too.
  std::vector<float>().swap(slots[j].floats);
  slots[j].object = nullptr;
  if (j == TARGET_NEUTRAL) {
    points = 0;
    for (int i = 1; i < NUM_FACE_TARGETS; ++i) DropTarget(i);
  }
}

size_t BlendCache::Bytes() const {
  size_t bytes = 0;
  for (const Slot& slot : slots) bytes += slot.floats.capacity() * sizeof(float);
  return bytes;
}

bool BlendCache::MadeFrom(const Slot& slot, Object* object, const Matrix3& offset, TimeValue t) {
  return !slot.floats.empty() && slot.object == object && slot.objectPoints == object->NumPoints() &&
         slot.valid.InInterval(t) && SameMatrix(slot.offset, offset);
}

void BlendCache::Remember(Slot& slot, Object* object, const Matrix3& offset, TimeValue t, int n) {
  slot.object = object;
  slot.objectPoints = object->NumPoints();
  slot.offset = offset;
  slot.valid = object->ObjectValidity(t);
  const size_t floats = 3 * static_cast<size_t>(n);
  if (slot.floats.size() != floats) std::vector<float>(floats).swap(slot.floats);
}

const float* BlendCache::Base(Object* neutral, int n, const Matrix3& m0, TimeValue t) {
  Slot& slot = slots[TARGET_NEUTRAL];
  if (points == n && MadeFrom(slot, neutral, m0, t)) return slot.floats.data();
  DropAll();
  Remember(slot, neutral, m0, t, n);
  points = n;
  float* out = slot.floats.data();
  if (const Point3* p = MeshPoints(neutral, n)) {
    for (int k = 0; k < n; ++k) Store(out, k, p[k] * m0);
  } else {
    for (int k = 0; k < n; ++k) Store(out, k, neutral->GetPoint(k) * m0);
  }
  return out;
}

const float* BlendCache::Difference(int j, Object* target, const Matrix3& mj, TimeValue t) {
  Slot& slot = slots[j];
  if (MadeFrom(slot, target, mj, t)) return slot.floats.data();
  Remember(slot, target, mj, t, points);
  const float* base = slots[TARGET_NEUTRAL].floats.data();
  float* out = slot.floats.data();
  if (const Point3* p = MeshPoints(target, points)) {
    for (int k = 0; k < points; ++k) Store(out, k, p[k] * mj - Load(base, k));
  } else {
    for (int k = 0; k < points; ++k) Store(out, k, target->GetPoint(k) * mj - Load(base, k));
  }
  return out;
}

void BlendPoints(Point3* out, int n, const float* base, const float* const differences[],
                 const float weights[], int count) {
  float acc[3 * BLOCK_POINTS];
  for (int first = 0; first < n; first += BLOCK_POINTS) {
    const int block = n - first < BLOCK_POINTS ? n - first : BLOCK_POINTS;
    const int len = 3 * block;
    const size_t offset = 3 * static_cast<size_t>(first);
    std::memcpy(acc, base + offset, len * sizeof(float));
    for (int i = 0; i < count; ++i) AddScaled(acc, differences[i] + offset, weights[i], len);
    // Points are trivially copyable packed floats (asserted above).
    std::memcpy(static_cast<void*>(out + first), acc, len * sizeof(float));
  }
}
