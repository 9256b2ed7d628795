// Evaluation of the expression object on a 100,000-point face with eleven
// targets, every weight non-zero, beside what the same blend costs written
// over plain arrays: the formula as written (LiteralFormula), the loop over
// targets with the Neutral hoisted (TargetLoop), and the least any blend can
// cost, one pass summing the twelve arrays (Floor). With every weight zero
// the object is compared with a plain copy of the Neutral's points.
#include <benchmark/benchmark.h>
#include <triobj.h>

#include <algorithm>
#include <cstdlib>
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

// The weights the weighted object blends with, read as evaluation reads them.
std::vector<float> Weights() {
  ExpressionObject* obj = MakeObject(true);
  std::vector<float> weights(NUM_CHANNELS);
  obj->ChannelWeights(0, weights.data());
  obj->DeleteThis();
  for (float w : weights)
    if (w == 0.0f) std::abort();  // every weight must count
  return weights;
}

// The memory the object keeps for blending, in bytes.
void CountCache(benchmark::State& state, const ExpressionObject* obj) {
  state.counters["cache_bytes"] = static_cast<double>(obj->BlendCacheBytes());
}

void EvalAllWeights(benchmark::State& state) {
  ExpressionObject* obj = MakeObject(true);
  obj->Eval(0);  // the first evaluation is EvalAfterChange's
  for (auto _ : state) benchmark::DoNotOptimize(obj->Eval(0).obj);
  CountCache(state, obj);
  obj->DeleteThis();
}

// Evaluation's formula as written, over arrays: the base pass, then for each
// target every point moved by w * (T * Mj - N * M0), both transforms in place.
void LiteralFormula(benchmark::State& state) {
  const Face& face = TheFace();
  const std::vector<float> weights = Weights();
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

// The usual loop over targets: N * M0 once into the result, then each
// target's transformed points added at its weight.
void TargetLoop(benchmark::State& state) {
  const Face& face = TheFace();
  const std::vector<float> weights = Weights();
  std::vector<Point3> base(pointCount), out(pointCount);
  const Matrix3& m0 = face.offsets[0];
  for (auto _ : state) {
    for (int k = 0; k < pointCount; ++k) base[k] = face.neutral[k] * m0;
    out = base;
    for (int c = 0; c < NUM_CHANNELS; ++c) {
      const Point3* t = face.targets[c].data();
      const Matrix3& mj = face.offsets[c + 1];
      float w = weights[c];
      for (int k = 0; k < pointCount; ++k) out[k] += (t[k] * mj - base[k]) * w;
    }
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
}

// o = a0 + w[0] a1 + ... + w[10] a11 over floats, in groups of eight so
// that g++ -O2 vectorises it.
void SumTwelve(float* __restrict o, const float* __restrict a0, const float* __restrict a1,
               const float* __restrict a2, const float* __restrict a3, const float* __restrict a4,
               const float* __restrict a5, const float* __restrict a6, const float* __restrict a7,
               const float* __restrict a8, const float* __restrict a9, const float* __restrict a10,
               const float* __restrict a11, const float* __restrict w, size_t floats) {
  for (size_t g = 0; g < floats; g += 8)
    for (size_t k = 0; k < 8; ++k) {
      const size_t i = g + k;
      o[i] = a0[i] + w[0] * a1[i] + w[1] * a2[i] + w[2] * a3[i] + w[3] * a4[i] + w[4] * a5[i] +
             w[5] * a6[i] + w[6] * a7[i] + w[7] * a8[i] + w[8] * a9[i] + w[9] * a10[i] + w[10] * a11[i];
    }
}

// The least a blend of twelve arrays can cost: one pass reading each of them
// once and writing the result once.
void Floor(benchmark::State& state) {
  const Face& face = TheFace();
  const std::vector<float> w = Weights();
  const size_t floats = 3 * static_cast<size_t>(pointCount);
  static_assert(3 * pointCount % 8 == 0, "whole groups of eight");
  std::vector<std::vector<float>> a;
  a.emplace_back(floats);
  std::copy_n(&face.neutral[0].x, floats, a.back().data());
  for (const auto& t : face.targets) {
    a.emplace_back(floats);
    std::copy_n(&t[0].x, floats, a.back().data());
  }
  std::vector<float> out(floats);
  for (auto _ : state) {
    SumTwelve(out.data(), a[0].data(), a[1].data(), a[2].data(), a[3].data(), a[4].data(), a[5].data(),
              a[6].data(), a[7].data(), a[8].data(), a[9].data(), a[10].data(), a[11].data(), w.data(), floats);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
}

void EvalZeroWeights(benchmark::State& state) {
  ExpressionObject* obj = MakeObject(false);
  obj->Eval(0);
  for (auto _ : state) benchmark::DoNotOptimize(obj->Eval(0).obj);
  CountCache(state, obj);
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

// The first evaluation after one point of a target moved (the way an edit
// of the target reaches the object: its change message).
void ChangeAndEval(benchmark::State& state, int changed) {
  ExpressionObject* obj = MakeObject(true);
  obj->Eval(0);
  auto* target = static_cast<TriObject*>(obj->targets[changed].object);
  float step = 0.0f;
  for (auto _ : state) {
    step += 1e-3f;
    target->mesh.verts[0].x = step;
    target->NotifyDependents(FOREVER, PART_GEOM, REFMSG_CHANGE);
    benchmark::DoNotOptimize(obj->Eval(0).obj);
  }
  CountCache(state, obj);
  obj->DeleteThis();
}

// One expression target edited: its part of the blend is made again.
void EvalAfterChange(benchmark::State& state) { ChangeAndEval(state, TARGET_OPEN); }

// The Neutral edited: every part of the blend is made again.
void EvalAfterNeutralChange(benchmark::State& state) { ChangeAndEval(state, TARGET_NEUTRAL); }

BENCHMARK(EvalAllWeights)->Unit(benchmark::kMicrosecond);
BENCHMARK(LiteralFormula)->Unit(benchmark::kMicrosecond);
BENCHMARK(TargetLoop)->Unit(benchmark::kMicrosecond);
BENCHMARK(Floor)->Unit(benchmark::kMicrosecond);
BENCHMARK(EvalZeroWeights)->Unit(benchmark::kMicrosecond);
BENCHMARK(PlainCopy)->Unit(benchmark::kMicrosecond);
BENCHMARK(EvalAfterChange)->Unit(benchmark::kMicrosecond);
BENCHMARK(EvalAfterNeutralChange)->Unit(benchmark::kMicrosecond);

}  // namespace
