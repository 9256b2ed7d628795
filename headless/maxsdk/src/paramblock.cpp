// Parameter blocks, their dimensions and their upgrade after loading.
#include <iparamb.h>
#include <maxapi.h>

#include <vector>

#include "missing.h"

namespace {

class DefaultDimension : public ParamDimension {
 public:
  DimType DimensionType() override { return DIM_CUSTOM; }
  float Convert(float value) override { return value; }
  float UnConvert(float value) override { return value; }
};

class PercentDimension : public ParamDimension {
 public:
  DimType DimensionType() override { return DIM_PERCENT; }
  float Convert(float value) override { return value * 100.0f; }
  float UnConvert(float value) override { return value / 100.0f; }
};

DefaultDimension defaultDimension;
PercentDimension percentDimension;

class ParamBlock : public IParamBlock {
 public:
  ParamBlock(const ParamBlockDescID* pdesc, int count, DWORD version)
      : desc(pdesc, pdesc + (count > 0 ? count : 0)),
        values(desc.size(), 0.0f),
        controls(desc.size(), nullptr),
        version(version) {
    for (const ParamBlockDescID& d : desc)
      if (d.type != TYPE_FLOAT) headless::detail::Missing("parameter blocks of other types than TYPE_FLOAT");
  }
  ~ParamBlock() override { DeleteAllRefsFromMe(); }

  Class_ID ClassID() override { return Class_ID(PARAMETER_BLOCK_CLASS_ID, 0); }
  void GetClassName(TSTR& s) override { s = _T("Parameters"); }

  int NumParams() override { return static_cast<int>(desc.size()); }
  ParamType GetParameterType(int i) override { return Valid(i) ? desc[At(i)].type : TYPE_FLOAT; }
  DWORD GetVersion() override { return version; }
  const ParamBlockDescID& GetDesc(int i) override { return desc[At(Valid(i) ? i : 0)]; }
  float GetConstant(int i) override { return Valid(i) ? values[At(i)] : 0.0f; }
  void SetConstant(int i, float v) {
    if (Valid(i)) values[At(i)] = v;
  }

  BOOL SetValue(int i, TimeValue t, float v) override;
  BOOL GetValue(int i, TimeValue t, float& v, Interval& ivalid) override;

  Control* GetController(int i) override { return Valid(i) ? controls[At(i)] : nullptr; }
  void SetController(int i, Control* c, BOOL preserveFrame0Value) override;
  void RemoveController(int i) override;
  ParamDimension* GetParamDimension(int i) override;

  // References: parameter i's controller.
  int NumRefs() override { return NumParams(); }
  RefTargetHandle GetReference(int i) override { return GetController(i); }
  void SetReference(int i, RefTargetHandle target) override {
    if (Valid(i)) controls[At(i)] = static_cast<Control*>(target);
  }
  // A controller's change is the block's change, and so its owner's.
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage) override {
    return REF_SUCCEED;
  }

  // Sub-animations: the animatable parameters, named by the owner.
  int NumSubs() override;
  Animatable* SubAnim(int i) override;
  TSTR SubAnimName(int i) override;

  RefTargetHandle Clone(RemapDir& remap) override;

 private:
  bool Valid(int i) const { return i >= 0 && i < static_cast<int>(desc.size()); }
  static size_t At(int i) { return static_cast<size_t>(i); }
  int AnimNumToParamNum(int animNum) const;

  std::vector<ParamBlockDescID> desc;
  std::vector<float> values;  // the constants of parameters without a controller
  std::vector<Control*> controls;
  DWORD version;
};

BOOL ParamBlock::SetValue(int i, TimeValue t, float v) {
  if (!Valid(i) || desc[At(i)].type != TYPE_FLOAT) return FALSE;
  Control* c = controls[At(i)];
  if (!c && Animating() && desc[At(i)].animatable) {
    // The first key of a constant parameter: a track that holds the constant
    // so far, then keyed like any other.
    c = NewDefaultFloatController();
    SuspendAnimate();
    c->SetValue(0, &values[At(i)], 1, CTRL_ABSOLUTE);
    ResumeAnimate();
    MakeRefByID(FOREVER, i, c);
  }
  if (c) {
    // The controller tells its dependents, this block among them.
    c->SetValue(t, &v, 1, CTRL_ABSOLUTE);
    return TRUE;
  }
  values[At(i)] = v;
  NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
  return TRUE;
}

BOOL ParamBlock::GetValue(int i, TimeValue t, float& v, Interval& ivalid) {
  if (!Valid(i) || desc[At(i)].type != TYPE_FLOAT) return FALSE;
  if (Control* c = controls[At(i)])
    c->GetValue(t, &v, ivalid, CTRL_ABSOLUTE);
  else
    v = values[At(i)];
  return TRUE;
}

void ParamBlock::SetController(int i, Control* c, BOOL preserveFrame0Value) {
  if (!Valid(i)) return;
  if (c && preserveFrame0Value) {
    float v = 0.0f;
    Interval ignored = FOREVER;
    GetValue(i, 0, v, ignored);
    SuspendAnimate();
    c->SetValue(0, &v, 1, CTRL_ABSOLUTE);
    ResumeAnimate();
  }
  ReplaceReference(i, c, TRUE);
  NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
}

void ParamBlock::RemoveController(int i) {
  Control* c = GetController(i);
  if (!c) return;
  // The parameter keeps the value it has at the current time.
  Interface* ip = GetCOREInterface();
  Interval ignored = FOREVER;
  c->GetValue(ip ? ip->GetTime() : 0, &values[At(i)], ignored, CTRL_ABSOLUTE);
  DeleteReference(i);
  NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
}

ParamDimension* ParamBlock::GetParamDimension(int i) {
  GetParamDim answer(i);
  NotifyDependents(FOREVER, reinterpret_cast<PartID>(&answer), REFMSG_GET_PARAM_DIM, NOTIFY_ALL, FALSE);
  return answer.dim;
}

int ParamBlock::NumSubs() {
  int n = 0;
  for (const ParamBlockDescID& d : desc) n += d.animatable ? 1 : 0;
  return n;
}

int ParamBlock::AnimNumToParamNum(int animNum) const {
  for (size_t i = 0; i < desc.size(); ++i)
    if (desc[i].animatable && animNum-- == 0) return static_cast<int>(i);
  return -1;
}

Animatable* ParamBlock::SubAnim(int i) { return GetController(AnimNumToParamNum(i)); }

TSTR ParamBlock::SubAnimName(int i) {
  TSTR name;
  GetParamName answer(name, AnimNumToParamNum(i));
  if (answer.index >= 0)
    NotifyDependents(FOREVER, reinterpret_cast<PartID>(&answer), REFMSG_GET_PARAM_NAME, NOTIFY_ALL,
                     FALSE);
  return name;
}

RefTargetHandle ParamBlock::Clone(RemapDir& remap) {
  auto* copy = new ParamBlock(desc.data(), NumParams(), version);
  copy->values = values;
  for (int i = 0; i < NumParams(); ++i)
    if (controls[At(i)]) copy->ReplaceReference(i, remap.CloneRef(controls[At(i)]));
  return copy;
}

// Where the parameter of id lies in a table, or -1.
int IndexOfId(const ParamBlockDescID* pdesc, int count, DWORD id) {
  for (int i = 0; i < count; ++i)
    if (pdesc[i].id == id) return i;
  return -1;
}

}  // namespace

ParamDimension* defaultDim = &defaultDimension;
ParamDimension* stdPercentDim = &percentDimension;

IParamBlock* CreateParameterBlock(ParamBlockDescID* pdesc, int count, DWORD version) {
  return new ParamBlock(pdesc, count, version);
}

IParamBlock* UpdateParameterBlock(ParamBlockDescID* pdescOld, int oldCount, IParamBlock* oldPB,
                                  ParamBlockDescID* pdescNew, int newCount, DWORD newVersion) {
  auto* block = new ParamBlock(pdescNew, newCount, newVersion);
  for (int i = 0; i < newCount; ++i) {
    int old = IndexOfId(pdescOld, oldCount, pdescNew[i].id);
    if (old < 0 || old >= oldPB->NumParams()) continue;
    // The new block shares the old parameter's track: its animation goes on.
    if (Control* c = oldPB->GetController(old))
      block->MakeRefByID(FOREVER, i, c);
    else
      block->SetConstant(i, oldPB->GetConstant(old));
  }
  return block;
}

void ParamBlockPLCB::proc(ILoad*) {
  ReferenceTarget* ref = targ ? targ->GetReference(pbRefNum) : nullptr;
  auto* block = ref && ref->SuperClassID() == PARAMETER_BLOCK_CLASS_ID ? static_cast<IParamBlock*>(ref) : nullptr;
  if (!block || block->GetVersion() == cur->version) return;
  for (int v = 0; v < count; ++v) {
    if (versions[v].version != block->GetVersion()) continue;
    IParamBlock* upgraded = UpdateParameterBlock(versions[v].desc, versions[v].count, block, cur->desc,
                                                 cur->count, cur->version);
    targ->ReplaceReference(pbRefNum, upgraded, TRUE);
    return;
  }
}
