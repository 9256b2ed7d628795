// The stand-in's keyframe controllers and the position/rotation/scale
// transform controller.
#include <control.h>
#include <maxapi.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace {

// How each kind of value blends between keys and shifts a whole track.
float Blend(float a, float b, float u) { return a + (b - a) * u; }
Point3 Blend(const Point3& a, const Point3& b, float u) { return a + (b - a) * u; }

Quat Blend(const Quat& a, const Quat& b, float u) {
  float dot = a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
  Quat to = dot < 0 ? Quat(-b.x, -b.y, -b.z, -b.w) : b;
  dot = std::fabs(dot);
  float wa = 1.0f - u, wb = u;
  if (dot < 0.9995f) {
    float angle = std::acos(dot);
    wa = std::sin(wa * angle) / std::sin(angle);
    wb = std::sin(wb * angle) / std::sin(angle);
  }
  Quat q(a.x * wa + to.x * wb, a.y * wa + to.y * wb, a.z * wa + to.z * wb, a.w * wa + to.w * wb);
  return q.Normalize();
}

ScaleValue Blend(const ScaleValue& a, const ScaleValue& b, float u) {
  return ScaleValue(Blend(a.s, b.s, u), Blend(a.q, b.q, u));
}

// Setting a value off animate mode on a keyed track moves every key by the
// change at that time, as the host's tracks do.
float Shift(float key, float from, float to) { return key + (to - from); }
Point3 Shift(const Point3& key, const Point3& from, const Point3& to) { return key + (to - from); }
Quat Shift(const Quat& key, const Quat& from, const Quat& to) {
  Quat change = from.Inverse();
  change += to;
  Quat q = key;
  q += change;
  return q;
}
ScaleValue Shift(const ScaleValue& key, const ScaleValue& from, const ScaleValue& to) {
  auto ratio = [](float k, float f, float t) { return f != 0.0f ? k * t / f : t; };
  return ScaleValue(Point3(ratio(key.s.x, from.s.x, to.s.x), ratio(key.s.y, from.s.y, to.s.y),
                           ratio(key.s.z, from.s.z, to.s.z)),
                    key.q);
}

float Combine(float base, float v) { return base + v; }
Point3 Combine(const Point3& base, const Point3& v) { return base + v; }
Quat Combine(const Quat& base, const Quat& v) {
  Quat q = base;
  q += v;
  return q;
}
ScaleValue Combine(const ScaleValue& base, const ScaleValue& v) {
  return ScaleValue(Point3(base.s.x * v.s.x, base.s.y * v.s.y, base.s.z * v.s.z), base.q);
}

template <typename T>
class KeyframeControl : public Control {
 public:
  KeyframeControl(SClass_ID superClass, ULONG classPart, T initial)
      : superClassID(superClass), classID(classPart, 0), value(initial) {}

  SClass_ID SuperClassID() override { return superClassID; }
  Class_ID ClassID() override { return classID; }
  void GetClassName(TSTR& s) override { s = "Keyframe Controller"; }

  void GetValue(TimeValue t, void* val, Interval& valid, GetSetMethod method) override {
    T v = ValueAt(t, valid);
    T* out = static_cast<T*>(val);
    *out = method == CTRL_RELATIVE ? Combine(*out, v) : v;
  }

  void SetValue(TimeValue t, void* val, int, GetSetMethod method) override {
    Interval ignored = FOREVER;
    T current = ValueAt(t, ignored);
    T v = *static_cast<T*>(val);
    if (method == CTRL_RELATIVE) v = Combine(current, v);
    if (Animating()) {
      SetKey(t, v);
    } else if (keys.empty()) {
      value = v;
    } else {
      for (auto& key : keys) key.second = Shift(key.second, current, v);
    }
    NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
  }

  int NumKeys() override { return static_cast<int>(keys.size()); }
  TimeValue GetKeyTime(int i) override {
    return i >= 0 && i < NumKeys() ? keys[static_cast<size_t>(i)].first : 0;
  }

  // The stand-in has no key selection, so only TRACK_DOALL removes keys; the
  // track keeps the value it had at the current time.
  void DeleteKeys(DWORD flags) override {
    if (!(flags & TRACK_DOALL) || keys.empty()) return;
    Interval ignored = FOREVER;
    Interface* ip = GetCOREInterface();
    value = ValueAt(ip ? ip->GetTime() : 0, ignored);
    keys.clear();
    NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
  }

  RefTargetHandle Clone(RemapDir&) override { return new KeyframeControl(*this); }

 private:
  KeyframeControl(const KeyframeControl& c)
      : Control(), superClassID(c.superClassID), classID(c.classID), value(c.value), keys(c.keys) {}

  void SetKey(TimeValue t, const T& v) {
    // Keys written in time order append at constant cost.
    if (keys.empty() || keys.back().first < t) {
      keys.emplace_back(t, v);
      return;
    }
    auto it = std::lower_bound(keys.begin(), keys.end(), t,
                               [](const std::pair<TimeValue, T>& k, TimeValue time) { return k.first < time; });
    if (it != keys.end() && it->first == t)
      it->second = v;
    else
      keys.insert(it, {t, v});
  }

  T ValueAt(TimeValue t, Interval& valid) const {
    if (keys.empty()) return value;
    if (keys.size() == 1) return keys.front().second;
    if (t <= keys.front().first) {
      valid &= Interval(TIME_NegInfinity, keys.front().first);
      return keys.front().second;
    }
    if (t >= keys.back().first) {
      valid &= Interval(keys.back().first, TIME_PosInfinity);
      return keys.back().second;
    }
    valid &= Interval(t, t);
    auto next = std::upper_bound(keys.begin(), keys.end(), t,
                                 [](TimeValue time, const std::pair<TimeValue, T>& k) { return time < k.first; });
    auto prev = next - 1;
    // Keys may lie further apart than an int can count (a loaded scene's
    // keys at the ends of time).
    const double span = static_cast<double>(next->first) - prev->first;
    float u = static_cast<float>((static_cast<double>(t) - prev->first) / span);
    return Blend(prev->second, next->second, u);
  }

  SClass_ID superClassID;
  Class_ID classID;
  T value;  // the value while the track has no keys
  std::vector<std::pair<TimeValue, T>> keys;
};

// Position, rotation and scale sub-controllers (references 0, 1, 2) make a
// node's transform: scale, then rotation, then translation.
class PRSControl : public Control {
 public:
  PRSControl(bool withDefaults) {
    if (!withDefaults) return;
    MakeRefByID(FOREVER, 0, NewDefaultPositionController());
    MakeRefByID(FOREVER, 1, NewDefaultRotationController());
    MakeRefByID(FOREVER, 2, NewDefaultScaleController());
  }
  ~PRSControl() override { DeleteAllRefsFromMe(); }

  SClass_ID SuperClassID() override { return CTRL_MATRIX3_CLASS_ID; }
  Class_ID ClassID() override { return Class_ID(PRS_CONTROL_CLASS_ID, 0); }
  void GetClassName(TSTR& s) override { s = "Position/Rotation/Scale"; }
  BOOL IsLeaf() override { return FALSE; }

  int NumRefs() override { return 3; }
  RefTargetHandle GetReference(int i) override { return i >= 0 && i < 3 ? subs[i] : nullptr; }
  void SetReference(int i, RefTargetHandle target) override {
    if (i >= 0 && i < 3) subs[i] = static_cast<Control*>(target);
  }
  int NumSubs() override { return 3; }
  Animatable* SubAnim(int i) override { return GetReference(i); }
  TSTR SubAnimName(int i) override {
    static const char* const names[] = {"Position", "Rotation", "Scale"};
    return i >= 0 && i < 3 ? names[i] : "";
  }
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage) override {
    return REF_SUCCEED;
  }

  Control* GetPositionController() override { return subs[0]; }
  Control* GetRotationController() override { return subs[1]; }
  Control* GetScaleController() override { return subs[2]; }
  BOOL SetPositionController(Control* c) override { return Replace(0, c); }
  BOOL SetRotationController(Control* c) override { return Replace(1, c); }
  BOOL SetScaleController(Control* c) override { return Replace(2, c); }

  void GetValue(TimeValue t, void* val, Interval& valid, GetSetMethod method) override {
    Matrix3 tm(1);
    if (subs[2]) {
      ScaleValue sv;
      subs[2]->GetValue(t, &sv, valid, CTRL_ABSOLUTE);
      Matrix3 axes;
      sv.q.MakeMatrix(axes);
      tm = Inverse(axes) * ScaleMatrix(sv.s) * axes;
    }
    if (subs[1]) {
      Quat q;
      subs[1]->GetValue(t, &q, valid, CTRL_ABSOLUTE);
      Matrix3 rotation;
      q.MakeMatrix(rotation);
      tm = tm * rotation;
    }
    if (subs[0]) {
      Point3 p;
      subs[0]->GetValue(t, &p, valid, CTRL_ABSOLUTE);
      tm.Translate(p);
    }
    Matrix3* out = static_cast<Matrix3*>(val);
    *out = method == CTRL_RELATIVE ? tm * *out : tm;
  }

  // Stand-in: a transform is set through its sub-controllers; a whole matrix
  // is taken apart into translation, rotation and scale.
  void SetValue(TimeValue t, void* val, int commit, GetSetMethod) override {
    const Matrix3& tm = *static_cast<Matrix3*>(val);
    Point3 scale(Length(tm.GetRow(0)), Length(tm.GetRow(1)), Length(tm.GetRow(2)));
    Point3 p = tm.GetTrans();
    Quat q(tm);
    ScaleValue sv(scale);
    if (subs[0]) subs[0]->SetValue(t, &p, commit, CTRL_ABSOLUTE);
    if (subs[1]) subs[1]->SetValue(t, &q, commit, CTRL_ABSOLUTE);
    if (subs[2]) subs[2]->SetValue(t, &sv, commit, CTRL_ABSOLUTE);
  }

  // Deleting the transform's keys reaches every sub-controller.
  void DeleteKeys(DWORD flags) override {
    for (Control* sub : subs)
      if (sub) sub->DeleteKeys(flags);
  }

  RefTargetHandle Clone(RemapDir& remap) override {
    auto* copy = new PRSControl(false);
    for (int i = 0; i < 3; ++i) copy->ReplaceReference(i, remap.CloneRef(subs[i]));
    return copy;
  }

 private:
  BOOL Replace(int i, Control* c) {
    ReplaceReference(i, c);
    return TRUE;
  }
  Control* subs[3] = {nullptr, nullptr, nullptr};
};

}  // namespace

Control* NewDefaultFloatController() {
  return new KeyframeControl<float>(CTRL_FLOAT_CLASS_ID, LININTERP_FLOAT_CLASS_ID, 0.0f);
}
Control* NewDefaultPositionController() {
  return new KeyframeControl<Point3>(CTRL_POSITION_CLASS_ID, LININTERP_POSITION_CLASS_ID, Point3());
}
Control* NewDefaultRotationController() {
  return new KeyframeControl<Quat>(CTRL_ROTATION_CLASS_ID, LININTERP_ROTATION_CLASS_ID, Quat());
}
Control* NewDefaultScaleController() {
  return new KeyframeControl<ScaleValue>(CTRL_SCALE_CLASS_ID, LININTERP_SCALE_CLASS_ID,
                                         ScaleValue());
}
Control* NewDefaultMatrix3Controller() { return new PRSControl(true); }

Control* NewControllerOfClass(const Class_ID& id) {
  if (id.PartB() != 0) return nullptr;
  switch (id.PartA()) {
    case LININTERP_FLOAT_CLASS_ID: return NewDefaultFloatController();
    case LININTERP_POSITION_CLASS_ID: return NewDefaultPositionController();
    case LININTERP_ROTATION_CLASS_ID: return NewDefaultRotationController();
    case LININTERP_SCALE_CLASS_ID: return NewDefaultScaleController();
    case PRS_CONTROL_CLASS_ID: return new PRSControl(false);
    default: return nullptr;
  }
}
