// What the expression object keeps between evaluations so that a blend reads
// each array once: the Neutral's points moved by its offset transform
// (N * M0), and per expression target its difference from them
// (T * Mj - N * M0). A blend is then base + the sum of weight x difference,
// one pass over plain floats.
//
// Each array remembers what it was made from (the object, its point count,
// the offset transform, the times its points hold for) and is made again when
// any of that differs; the owner drops arrays whose object may have changed
// in a way none of that shows (a change message, a new reference, a load),
// keeping the memory for the array made next, and frees it when a slot is
// emptied. Replacing the Neutral's array drops every difference, which was
// made from it. At most one array per target slot.
#ifndef MIROVA_BLEND_CACHE_H
#define MIROVA_BLEND_CACHE_H
#include <object.h>

#include <cstddef>
#include <memory>

#include "channels.h"

class BlendCache {
 public:
  // Slot j's array may no longer be used; its memory is kept for the next
  // one. The Neutral's (TARGET_NEUTRAL) takes every difference with it.
  void Invalidate(int j);
  // Slot j's array and its memory go (the Neutral's: every array's).
  void Release(int j);
  // Every array and its memory go.
  void ReleaseAll() { Release(TARGET_NEUTRAL); }
  // Memory held by the arrays, in bytes.
  size_t Bytes() const;

  // N * M0 for the first n points of neutral (the Neutral's evaluated
  // object), valid at t; made again when it was made from anything else.
  // n must be at least 1 and at most neutral's point count.
  const float* Base(Object* neutral, int n, const Matrix3& m0, TimeValue t);
  // T * Mj - N * M0 for the first n points of target, slot j (1 to 11); made
  // again when it was made from anything else. Base must come first in the
  // same evaluation; target must have at least n points.
  const float* Difference(int j, Object* target, const Matrix3& mj, TimeValue t);

 private:
  struct Slot {
    bool made = false;
    Object* object = nullptr;
    int objectPoints = -1;
    Matrix3 offset;
    Interval valid;
    std::unique_ptr<float[]> floats;  // 3 per point, uninitialised until made
    size_t size = 0;
  };
  static bool MadeFrom(const Slot& slot, Object* object, const Matrix3& offset, TimeValue t);
  static float* Remember(Slot& slot, Object* object, const Matrix3& offset, TimeValue t, int n);

  Slot slots[NUM_FACE_TARGETS];
  int points = 0;  // n of the Neutral's array
};

// The first n points of a mesh object as an array, so that passes run over
// plain memory; null for any other object (or one with fewer points), which
// is then read and written point by point.
Point3* MeshPoints(Object* obj, int n);

// out[k] = base[k] + weights[0] x differences[0][k] + weights[1] x ... for
// k below n, added in the order given as a single evaluation pass would.
// base and each difference hold 3n floats.
void BlendPoints(Point3* out, int n, const float* base, const float* const differences[],
                 const float weights[], int count);

#endif
