// Evaluation of the expression object on a 100,000-point face, beside plain
// loops over arrays: the same blend arithmetic with every weight non-zero,
// and a copy of the points with every weight zero.
#include <benchmark/benchmark.h>
#include <triobj.h>

#include <random>
#include <vector>

#include "mirovaobj.h"

namespace {

const int pointCount = 100000;

struct Face {
  std::vector<Point3> neutral;
  std::vector<std::vector<Point3>> targets;  // 11
  Matrix3 offsets[NUM_FACE_TARGETS];
};

const Face& TheFace() {
  static Face face = [] {
    Face f;
    std::mt19937 rng(42);
    std::uniform_real_distribution<float> coordinate(-1.0f, 1.0f);
    auto points = [&] {
      std::vector<Point3> p(pointCount);
      for (Point3& q : p) q = Point3(coordinate(rng), coordinate(rng), coordinate(rng));
      return p;
    };
    f.neutral = points();
    for (int j = 0; j < NUM_CHANNELS; ++j) f.targets.push_back(points());
    for (int j = 0; j < NUM_FACE_TARGETS; ++j)
      f.offsets[j] = RotateZMatrix(0.01f * j) * TransMatrix(Point3(0.1f * j, 0.0f, -0.2f));
    return f;
  }();
  return face;
}

TriObject* MeshOf(const std::vector<Point3>& points) {
  TriObject* tri = CreateNewTriObject();
  tri->mesh.setNumVerts(static_cast<int>(points.size()));
  std::copy(points.begin(), points.end(), tri->mesh.verts);
  return tri;
}

// An expression object with all twelve targets; with weights, every channel
// at a non-zero weight and every offset transform in use, otherwise the
// creation values and identities.
ExpressionObject* MakeObject(bool weighted) {
  const Face& face = TheFace();
  auto* obj = new ExpressionObject;
  obj->ReplaceReference(1, MeshOf(face.neutral));
  for (int j = 1; j < NUM_FACE_TARGETS; ++j) obj->ReplaceReference(j + 1, MeshOf(face.targets[j - 1]));
  if (weighted) {
    for (int j = 0; j < NUM_FACE_TARGETS; ++j) obj->targets[j].offsetTM = face.offsets[j];
    for (int c = 0; c < NUM_CHANNELS; ++c) obj->pblock->SetValue(expressionChannels[c].percentIndex, 0, 0.3f + 0.01f * c);
  }
  return obj;
}

void EvalAllWeights(benchmark::State& state) {
  ExpressionObject* obj = MakeObject(true);
  for (auto _ : state) benchmark::DoNotOptimize(obj->Eval(0).obj);
  obj->DeleteThis();
}

// What evaluation computes, written over arrays.
void PlainBlendLoop(benchmark::State& state) {
  const Face& face = TheFace();
  ExpressionObject* obj = MakeObject(true);
  float weights[NUM_CHANNELS];
  for (int c = 0; c < NUM_CHANNELS; ++c) {
    float p = 0.0f, s = 0.0f;
    Interval valid = FOREVER;
    obj->pblock->GetValue(expressionChannels[c].percentIndex, 0, p, valid);
    obj->pblock->GetValue(expressionChannels[c].scaleIndex, 0, s, valid);
    weights[c] = s * (IsInvertedChannel(c) ? 1.0f - p : p);
  }
  obj->DeleteThis();
  std::vector<Point3> out(pointCount);
  const Matrix3& m0 = face.offsets[0];
  for (auto _ : state) {
    const Point3* n = face.neutral.data();
    for (int k = 0; k < pointCount; ++k) out[k] = n[k] * m0;
    for (int c = 0; c < NUM_CHANNELS; ++c) {
      const Point3* t = face.targets[c].data();
      const Matrix3& mj = face.offsets[c + 1];
      float w = weights[c];
      for (int k = 0; k < pointCount; ++k) out[k] += (t[k] * mj - n[k] * m0) * w;
    }
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
}

void EvalZeroWeights(benchmark::State& state) {
  ExpressionObject* obj = MakeObject(false);
  for (auto _ : state) benchmark::DoNotOptimize(obj->Eval(0).obj);
  obj->DeleteThis();
}

// The least a result needs: the Neutral's points in storage of its own.
void PlainCopy(benchmark::State& state) {
  const Face& face = TheFace();
  for (auto _ : state) {
    std::vector<Point3> copy(face.neutral);
    benchmark::DoNotOptimize(copy.data());
    benchmark::ClobberMemory();
  }
}

BENCHMARK(EvalAllWeights)->Unit(benchmark::kMicrosecond);
BENCHMARK(PlainBlendLoop)->Unit(benchmark::kMicrosecond);
BENCHMARK(EvalZeroWeights)->Unit(benchmark::kMicrosecond);
BENCHMARK(PlainCopy)->Unit(benchmark::kMicrosecond);

}  // namespace
