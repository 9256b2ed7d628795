// The expression object's blend taken apart: the arrays evaluation blends
// from, copied out with the evaluated face's triangles.
#include <triobj.h>

#include "mirovaobj.h"

namespace {

// The triangles of the evaluated face that name points below n.
std::vector<unsigned> TrianglesOf(Object* result, int n) {
  std::vector<unsigned> triangles;
  if (!result || result->ClassID() != triObjectClassID) return triangles;
  Mesh& mesh = static_cast<TriObject*>(result)->GetMesh();
  const DWORD below = static_cast<DWORD>(n);
  for (int f = 0; f < mesh.getNumFaces(); ++f) {
    const DWORD* v = mesh.faces[f].v;
    if (v[0] < below && v[1] < below && v[2] < below) triangles.insert(triangles.end(), {v[0], v[1], v[2]});
  }
  return triangles;
}

std::vector<Point3> PointsOf(const float* floats, int n) {
  std::vector<Point3> points(static_cast<size_t>(n));
  for (int k = 0; k < n; ++k) points[k] = Point3(floats[3 * k], floats[3 * k + 1], floats[3 * k + 2]);
  return points;
}

}  // namespace

void ExpressionObject::Breakdown(TimeValue t, BlendBreakdown& breakdown) {
  breakdown = BlendBreakdown();
  Object* neutral = targets[TARGET_NEUTRAL].object;
  Object* base = neutral ? neutral->Eval(t).obj : nullptr;
  const int n = base ? base->NumPoints() : 0;
  if (n <= 0) return;
  breakdown.base = PointsOf(blendCache.Base(base, n, targets[TARGET_NEUTRAL].offsetTM, t), n);
  for (int j = TARGET_OPEN; j < NUM_FACE_TARGETS; ++j) {
    Object* shape = targets[j].object;
    if (!shape || shape->NumPoints() < n) continue;
    const float* difference = blendCache.Difference(j, shape, targets[j].offsetTM, t);
    breakdown.targets.push_back({j - 1, PointsOf(difference, n)});
  }
  breakdown.triangles = TrianglesOf(Eval(t).obj, n);
}
