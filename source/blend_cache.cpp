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

// acc[i] += w[0] * d0[i], then w[1] * d1[i] and so on, for i below len: the
// same additions in the same order as one target after another, with acc
// loaded and stored once for up to four targets. Written in groups of eight
// so that g++ -O2 vectorises the inner loops (its cheap cost model takes a
// loop only when the vector code replaces it whole).
void AddScaled4(float* __restrict acc, const float* __restrict d0, const float* __restrict d1,
                const float* __restrict d2, const float* __restrict d3, const float* w, int len) {
  const float w0 = w[0], w1 = w[1], w2 = w[2], w3 = w[3];
  const int whole = len / 8 * 8;
  for (int g = 0; g < whole; g += 8)
    for (int k = g; k < g + 8; ++k) acc[k] = acc[k] + w0 * d0[k] + w1 * d1[k] + w2 * d2[k] + w3 * d3[k];
  for (int i = whole; i < len; ++i) acc[i] = acc[i] + w0 * d0[i] + w1 * d1[i] + w2 * d2[i] + w3 * d3[i];
}

void AddScaled2(float* __restrict acc, const float* __restrict d0, const float* __restrict d1, const float* w,
                int len) {
  const float w0 = w[0], w1 = w[1];
  const int whole = len / 8 * 8;
  for (int g = 0; g < whole; g += 8)
    for (int k = g; k < g + 8; ++k) acc[k] = acc[k] + w0 * d0[k] + w1 * d1[k];
  for (int i = whole; i < len; ++i) acc[i] = acc[i] + w0 * d0[i] + w1 * d1[i];
}

void AddScaled1(float* __restrict acc, const float* __restrict d0, float w0, int len) {
  const int whole = len / 8 * 8;
  for (int g = 0; g < whole; g += 8)
    for (int k = g; k < g + 8; ++k) acc[k] = acc[k] + w0 * d0[k];
  for (int i = whole; i < len; ++i) acc[i] = acc[i] + w0 * d0[i];
}

// acc += each weight x its difference from offset on, in the order given.
void AddAll(float* acc, const float* const d[], const float w[], int count, size_t offset, int len) {
  int i = 0;
  for (; count - i >= 4; i += 4)
    AddScaled4(acc, d[i] + offset, d[i + 1] + offset, d[i + 2] + offset, d[i + 3] + offset, w + i, len);
  if (count - i >= 2) {
    AddScaled2(acc, d[i] + offset, d[i + 1] + offset, w + i, len);
    i += 2;
  }
  if (count - i == 1) AddScaled1(acc, d[i] + offset, w[i], len);
}

void Store(float* floats, size_t k, const Point3& p) {
  floats[3 * k] = p.x;
  floats[3 * k + 1] = p.y;
  floats[3 * k + 2] = p.z;
}

Point3 Load(const float* floats, size_t k) { return Point3(floats[3 * k], floats[3 * k + 1], floats[3 * k + 2]); }

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

void BlendCache::Invalidate(int j) {
  if (j < 0 || j >= NUM_FACE_TARGETS) return;
  slots[j].made = false;
  if (j == TARGET_NEUTRAL)
    for (Slot& slot : slots) slot.made = false;
}

void BlendCache::Release(int j) {
  if (j < 0 || j >= NUM_FACE_TARGETS) return;
  Invalidate(j);
  const int last = j == TARGET_NEUTRAL ? NUM_FACE_TARGETS - 1 : j;
  for (int i = j; i <= last; ++i) {
    slots[i].floats.reset();
    slots[i].size = 0;
  }
}

size_t BlendCache::Bytes() const {
  size_t bytes = 0;
  for (const Slot& slot : slots) bytes += slot.size * sizeof(float);
  return bytes;
}

bool BlendCache::MadeFrom(const Slot& slot, Object* object, const Matrix3& offset, TimeValue t) {
  return slot.made && slot.object == object && slot.objectPoints == object->NumPoints() &&
         slot.valid.InInterval(t) && SameMatrix(slot.offset, offset);
}

float* BlendCache::Remember(Slot& slot, Object* object, const Matrix3& offset, TimeValue t, int n) {
  slot.made = true;
  slot.object = object;
  slot.objectPoints = object->NumPoints();
  slot.offset = offset;
  slot.valid = object->ObjectValidity(t);
  const size_t size = 3 * static_cast<size_t>(n);
  if (slot.size != size) {
    slot.floats.reset(new float[size]);
    slot.size = size;
  }
  return slot.floats.get();
}

const float* BlendCache::Base(Object* neutral, int n, const Matrix3& m0, TimeValue t) {
  Slot& slot = slots[TARGET_NEUTRAL];
  if (points == n && MadeFrom(slot, neutral, m0, t)) return slot.floats.get();
  Invalidate(TARGET_NEUTRAL);
  float* out = Remember(slot, neutral, m0, t, n);
  points = n;
  // A copy of its own: stores to out cannot then touch it, so it stays in
  // registers.
  const Matrix3 m = m0;
  if (const Point3* p = MeshPoints(neutral, n)) {
    for (int k = 0; k < n; ++k) Store(out, k, p[k] * m);
  } else {
    for (int k = 0; k < n; ++k) Store(out, k, neutral->GetPoint(k) * m);
  }
  return out;
}

const float* BlendCache::Difference(int j, Object* target, const Matrix3& mj, TimeValue t) {
  Slot& slot = slots[j];
  if (MadeFrom(slot, target, mj, t)) return slot.floats.get();
  float* out = Remember(slot, target, mj, t, points);
  const float* base = slots[TARGET_NEUTRAL].floats.get();
  const Matrix3 m = mj;
  if (const Point3* p = MeshPoints(target, points)) {
    for (int k = 0; k < points; ++k) Store(out, k, p[k] * m - Load(base, k));
  } else {
    for (int k = 0; k < points; ++k) Store(out, k, target->GetPoint(k) * m - Load(base, k));
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
    AddAll(acc, differences, weights, count, offset, len);
    // Points are trivially copyable packed floats (asserted above).
    std::memcpy(static_cast<void*>(out + first), acc, len * sizeof(float));
  }
}
