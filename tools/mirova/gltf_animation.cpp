#include "gltf_animation.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace cli {

namespace {

bool Refuse(std::string* problem, const std::string& why) {
  *problem = why;
  return false;
}

// A component as a float: floats as they are, normalised integers (which
// glTF allows for rotations) as glTF maps them to -1..1 or 0..1.
float Component(const unsigned char* at, int componentType) {
  switch (componentType) {
    case TINYGLTF_COMPONENT_TYPE_BYTE: return std::max(static_cast<signed char>(*at) / 127.0f, -1.0f);
    case TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE: return *at / 255.0f;
    case TINYGLTF_COMPONENT_TYPE_SHORT: {
      int16_t v;
      std::memcpy(&v, at, sizeof v);
      return std::max(v / 32767.0f, -1.0f);
    }
    case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT: {
      uint16_t v;
      std::memcpy(&v, at, sizeof v);
      return v / 65535.0f;
    }
    default: {
      float v;
      std::memcpy(&v, at, sizeof v);
      return v;
    }
  }
}

bool IsNormalizedInteger(const tinygltf::Accessor& accessor) {
  const int t = accessor.componentType;
  return accessor.normalized && (t == TINYGLTF_COMPONENT_TYPE_BYTE || t == TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE ||
                                 t == TINYGLTF_COMPONENT_TYPE_SHORT || t == TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT);
}

// The accessor's numbers, components of each element in a row. An accessor
// without a buffer view holds zeros, as glTF says.
bool ReadAccessor(const tinygltf::Model& model, int index, int type, bool integers, std::vector<float>* values,
                  std::string* problem) {
  const std::string name = "accessor " + std::to_string(index);
  if (index < 0 || static_cast<size_t>(index) >= model.accessors.size()) return Refuse(problem, name + " does not exist");
  const tinygltf::Accessor& accessor = model.accessors[static_cast<size_t>(index)];
  const int components = tinygltf::GetNumComponentsInType(static_cast<uint32_t>(type));
  if (accessor.type != type || (accessor.componentType != TINYGLTF_COMPONENT_TYPE_FLOAT &&
                                !(integers && IsNormalizedInteger(accessor))))
    return Refuse(problem, name + " does not hold " + std::to_string(components) + " floats an element");
  if (accessor.sparse.isSparse) return Refuse(problem, name + " is sparse, which is not read");
  if (accessor.count == 0) return Refuse(problem, name + " holds no elements");
  values->assign(accessor.count * static_cast<size_t>(components), 0.0f);
  if (accessor.bufferView < 0) return true;
  const size_t view = static_cast<size_t>(accessor.bufferView);
  if (view >= model.bufferViews.size()) return Refuse(problem, name + "'s buffer view does not exist");
  const tinygltf::BufferView& bufferView = model.bufferViews[view];
  const size_t buffer = static_cast<size_t>(bufferView.buffer);
  const size_t componentSize = static_cast<size_t>(tinygltf::GetComponentSizeInBytes(accessor.componentType));
  const size_t elementSize = componentSize * static_cast<size_t>(components);
  const size_t stride = bufferView.byteStride ? bufferView.byteStride : elementSize;
  if (bufferView.buffer < 0 || buffer >= model.buffers.size() || stride < elementSize ||
      bufferView.byteOffset > model.buffers[buffer].data.size() ||
      bufferView.byteLength > model.buffers[buffer].data.size() - bufferView.byteOffset ||
      accessor.byteOffset > bufferView.byteLength || accessor.count > bufferView.byteLength ||
      stride * (accessor.count - 1) + elementSize > bufferView.byteLength - accessor.byteOffset)
    return Refuse(problem, name + " runs past its buffer");
  const unsigned char* data = model.buffers[buffer].data.data() + bufferView.byteOffset + accessor.byteOffset;
  for (size_t i = 0; i < accessor.count; ++i)
    for (int c = 0; c < components; ++c) {
      float& v = (*values)[i * static_cast<size_t>(components) + static_cast<size_t>(c)];
      v = Component(data + i * stride + static_cast<size_t>(c) * componentSize, accessor.componentType);
      if (!std::isfinite(v)) return Refuse(problem, name + " holds a number that is not finite");
    }
  return true;
}

bool ReadInterpolation(const std::string& name, GltfInterpolation* interpolation) {
  if (name == "STEP") *interpolation = GltfInterpolation::kStep;
  else if (name == "LINEAR" || name.empty()) *interpolation = GltfInterpolation::kLinear;
  else if (name == "CUBICSPLINE") *interpolation = GltfInterpolation::kCubicSpline;
  else return false;
  return true;
}

// Spherical interpolation the short way round, as glTF's LINEAR rotations.
void Slerp(const float* a, const float* b, double u, double* q) {
  double dot = 0;
  for (int i = 0; i < 4; ++i) dot += static_cast<double>(a[i]) * b[i];
  const double sign = dot < 0 ? -1 : 1;
  dot = std::min(std::fabs(dot), 1.0);
  double wa = 1 - u, wb = u;
  if (dot < 1 - 1e-12) {
    const double angle = std::acos(dot), s = std::sin(angle);
    wa = std::sin((1 - u) * angle) / s;
    wb = std::sin(u * angle) / s;
  }
  for (int i = 0; i < 4; ++i) q[i] = wa * a[i] + sign * wb * b[i];
}

void Normalize(double* q) {
  const double n = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
  if (n > 0)
    for (int i = 0; i < 4; ++i) q[i] /= n;
}

}  // namespace

bool ReadGltfSampler(const tinygltf::Model& model, const tinygltf::AnimationSampler& sampler,
                     const std::string& path, GltfSampler* read, std::string* problem) {
  if (!ReadInterpolation(sampler.interpolation, &read->interpolation))
    return Refuse(problem, "unknown interpolation \"" + sampler.interpolation + "\"");
  read->rotation = path == "rotation";
  read->components = read->rotation ? 4 : 3;
  if (!ReadAccessor(model, sampler.input, TINYGLTF_TYPE_SCALAR, false, &read->times, problem) ||
      !ReadAccessor(model, sampler.output, read->rotation ? TINYGLTF_TYPE_VEC4 : TINYGLTF_TYPE_VEC3, read->rotation,
                    &read->values, problem))
    return false;
  for (size_t i = 1; i < read->times.size(); ++i)
    if (!(read->times[i] > read->times[i - 1])) return Refuse(problem, "key times do not increase");
  const size_t perKey = read->interpolation == GltfInterpolation::kCubicSpline ? 3 : 1;
  if (read->values.size() != read->times.size() * perKey * static_cast<size_t>(read->components))
    return Refuse(problem, "the sampler's values do not match its key times in number");
  return true;
}

void EvaluateGltfSampler(const GltfSampler& sampler, double time, double* value) {
  const size_t n = static_cast<size_t>(sampler.components);
  const bool cubic = sampler.interpolation == GltfInterpolation::kCubicSpline;
  // Key k's value, or its in-tangent (part 0) and out-tangent (part 2) on a spline.
  auto at = [&](size_t k, size_t part) { return &sampler.values[(cubic ? 3 * k + part : k) * n]; };
  const size_t after = static_cast<size_t>(
      std::upper_bound(sampler.times.begin(), sampler.times.end(), time) - sampler.times.begin());
  if (after == 0 || after == sampler.times.size() || sampler.interpolation == GltfInterpolation::kStep) {
    const float* v = at(after == 0 ? 0 : after - 1, 1);
    for (size_t i = 0; i < n; ++i) value[i] = v[i];
    if (sampler.rotation) Normalize(value);
    return;
  }
  const size_t k = after - 1;
  const double span = static_cast<double>(sampler.times[after]) - sampler.times[k];
  const double u = (time - sampler.times[k]) / span;
  if (!cubic && sampler.rotation) {
    Slerp(at(k, 1), at(after, 1), u, value);
  } else if (!cubic) {
    for (size_t i = 0; i < n; ++i) value[i] = at(k, 1)[i] + (static_cast<double>(at(after, 1)[i]) - at(k, 1)[i]) * u;
  } else {
    const double u2 = u * u, u3 = u2 * u;
    const double h00 = 2 * u3 - 3 * u2 + 1, h10 = (u3 - 2 * u2 + u) * span, h01 = -2 * u3 + 3 * u2,
                 h11 = (u3 - u2) * span;
    for (size_t i = 0; i < n; ++i)
      value[i] = h00 * at(k, 1)[i] + h10 * at(k, 2)[i] + h01 * at(after, 1)[i] + h11 * at(after, 0)[i];
  }
  if (sampler.rotation) Normalize(value);
}

}  // namespace cli
