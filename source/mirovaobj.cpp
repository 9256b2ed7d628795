// The expression object: its descriptor, parameters, references, cloning,
// persistence and creation callback. Evaluation is in mirovaobj_eval.cpp.
#include "mirovaobj.h"

#include <inode.h>
#include <mouseman.h>
#include <triobj.h>
#include <viewexp.h>

#include "mirovaobj_internal.h"
#include "mirovaobj_ui.h"

// --- the parameter block's tables ---

#define FLOAT_PARAM(id) {TYPE_FLOAT, nullptr, TRUE, id}

ParamBlockDescID channelParamDesc[NUM_CHANNEL_PARAMS] = {
    FLOAT_PARAM(0),  FLOAT_PARAM(1),  FLOAT_PARAM(2),  FLOAT_PARAM(3),  FLOAT_PARAM(4),  FLOAT_PARAM(5),
    FLOAT_PARAM(6),  FLOAT_PARAM(7),  FLOAT_PARAM(8),  FLOAT_PARAM(9),  FLOAT_PARAM(10), FLOAT_PARAM(11),
    FLOAT_PARAM(12), FLOAT_PARAM(13), FLOAT_PARAM(14), FLOAT_PARAM(15), FLOAT_PARAM(16), FLOAT_PARAM(17),
    FLOAT_PARAM(18), FLOAT_PARAM(19), FLOAT_PARAM(20), FLOAT_PARAM(21)};

ParamBlockDescID channelParamDescV0[NUM_CHANNEL_PARAMS_V0] = {
    FLOAT_PARAM(0), FLOAT_PARAM(1), FLOAT_PARAM(2),  FLOAT_PARAM(3),  FLOAT_PARAM(4),  FLOAT_PARAM(5),
    FLOAT_PARAM(6), FLOAT_PARAM(7), FLOAT_PARAM(8),  FLOAT_PARAM(9),  FLOAT_PARAM(10), FLOAT_PARAM(11),
    FLOAT_PARAM(12), FLOAT_PARAM(13)};

ParamVersionDesc paramVersions[1] = {ParamVersionDesc(channelParamDescV0, NUM_CHANNEL_PARAMS_V0, 0)};
ParamVersionDesc currentParamVersion(channelParamDesc, NUM_CHANNEL_PARAMS, CURRENT_PARAM_VERSION);

TargetPickMethod pickMethod = PICK_INSTANCE;

namespace {

const USHORT OFFSET_TM_CHUNK = 0x0100;
const int MATRIX_FLOATS = 12;

}  // namespace

// --- construction, references, cloning ---

ExpressionObject::ExpressionObject(BOOL loading) {
  if (loading) return;
  MakeRefByID(FOREVER, 0, CreateParameterBlock(channelParamDesc, NUM_CHANNEL_PARAMS, CURRENT_PARAM_VERSION));
  ObjAssert(pblock != nullptr);
  if (!pblock) return;
  // In the order the rollups list them.
  for (int k = 0; k < NUM_CHANNEL_PARAMS; ++k) {
    const int i = ParamInRollupOrder(k);
    pblock->SetValue(i, 0, ChannelCreationValue(i));
  }
}

ExpressionObject::~ExpressionObject() {
  DetachFromPanel(this);
  DeleteAllRefsFromMe();
  ReleaseCache();
}

RefTargetHandle ExpressionObject::GetReference(int i) {
  if (i == 0) return pblock;
  if (i >= 1 && i <= NUM_FACE_TARGETS) return targets[i - 1].object;
  return nullptr;
}

void ExpressionObject::SetReference(int i, RefTargetHandle target) {
  if (i == 0) pblock = static_cast<IParamBlock*>(target);
  if (i >= 1 && i <= NUM_FACE_TARGETS) {
    targets[i - 1].object = static_cast<Object*>(target);
    // An emptied slot gives its memory back; a filled one keeps it for the
    // array made from its new object.
    if (target)
      blendCache.Invalidate(i - 1);
    else
      blendCache.Release(i - 1);
  }
}

void ExpressionObject::InvalidateBlendArraysOf(RefTargetHandle hTarget) {
  if (!hTarget) return;
  // One object may fill several slots.
  for (int j = 0; j < NUM_FACE_TARGETS; ++j)
    if (targets[j].object == hTarget) blendCache.Invalidate(j);
}

RefResult ExpressionObject::NotifyRefChanged(Interval, RefTargetHandle hTarget, PartID& partID,
                                             RefMessage message) {
  // Whatever a target says may mean its points moved; only questions do not.
  if (message != REFMSG_TEST_DEPENDENCY && message != REFMSG_GET_PARAM_NAME && message != REFMSG_GET_PARAM_DIM)
    InvalidateBlendArraysOf(hTarget);
  switch (message) {
    case REFMSG_GET_PARAM_NAME: {
      auto* question = reinterpret_cast<GetParamName*>(partID);
      if (const TCHAR* name = ChannelParamName(question->index)) question->name = name;
      return REF_STOP;
    }
    case REFMSG_GET_PARAM_DIM: {
      auto* question = reinterpret_cast<GetParamDim*>(partID);
      if (ChannelParamName(question->index)) question->dim = stdPercentDim;
      return REF_STOP;
    }
    default: return REF_SUCCEED;
  }
}

RefTargetHandle ExpressionObject::Clone(RemapDir& remap) {
  auto* copy = new ExpressionObject(TRUE);
  if (pblock) copy->ReplaceReference(0, pblock->Clone(remap), TRUE);
  return copy;
}

// --- persistence ---

IOResult ExpressionObject::Save(ISave* isave) {
  // Without them a reloaded face would lose every target's pivot offset.
  float rows[NUM_FACE_TARGETS * MATRIX_FLOATS];
  for (int i = 0; i < NUM_FACE_TARGETS; ++i)
    for (int r = 0; r < 4; ++r)
      for (int c = 0; c < 3; ++c) rows[i * MATRIX_FLOATS + r * 3 + c] = targets[i].offsetTM[r][c];
  ULONG written = 0;
  isave->BeginChunk(OFFSET_TM_CHUNK);
  IOResult result = isave->Write(rows, sizeof(rows), &written);
  isave->EndChunk();
  return result;
}

IOResult ExpressionObject::Load(ILoad* iload) {
  blendCache.ReleaseAll();
  iload->RegisterPostLoadCallback(new ParamBlockPLCB(paramVersions, 1, &currentParamVersion, this, 0));
  IOResult result = IO_OK;
  while (result == IO_OK && iload->OpenChunk() == IO_OK) {
    float rows[NUM_FACE_TARGETS * MATRIX_FLOATS];
    ULONG read = 0;
    // A chunk of another size is damaged: read as identities, it would move
    // every target quietly, so the scene is refused instead.
    if (iload->CurChunkID() == OFFSET_TM_CHUNK) {
      if (iload->CurChunkLength() != sizeof(rows) || iload->Read(rows, sizeof(rows), &read) != IO_OK)
        result = IO_ERROR;
      for (int i = 0; result == IO_OK && i < NUM_FACE_TARGETS; ++i)
        for (int r = 0; r < 4; ++r)
          for (int c = 0; c < 3; ++c) targets[i].offsetTM[r][c] = rows[i * MATRIX_FLOATS + r * 3 + c];
    }
    iload->CloseChunk();
  }
  return result;
}

// --- conversion ---

int ExpressionObject::CanConvertToType(Class_ID obtype) {
  ObjectState os = Eval(0);
  return os.obj ? os.obj->CanConvertToType(obtype) : 0;
}

Object* ExpressionObject::ConvertToType(TimeValue t, Class_ID obtype) {
  ObjectState os = Eval(t);
  if (!os.obj) return nullptr;
  Object* converted = os.obj->ConvertToType(t, obtype);
  if (!converted) return nullptr;
  // The result stays ours; the caller gets a copy it owns.
  auto* copy = static_cast<Object*>(converted->Clone(NoRemap()));
  if (converted != os.obj) converted->DeleteThis();
  return copy;
}

// --- creation ---

namespace {

// The host's two-point creation: both points place the new node on the
// construction plane; the second click ends it.
class ExpressionCreateCallBack : public CreateMouseCallBack {
 public:
  ExpressionObject* ob = nullptr;
  int proc(ViewExp* vpt, int msg, int point, int, IPoint2 m, Matrix3& mat) override {
    if (msg == MOUSE_ABORT) return CREATE_ABORT;
    if ((msg == MOUSE_POINT || msg == MOUSE_MOVE) && (point == 0 || point == 1)) {
      mat.SetTrans(vpt->GetPointOnCP(m));
      if (msg == MOUSE_POINT && point == 1) return CREATE_STOP;
    }
    return CREATE_CONTINUE;
  }
};

ExpressionCreateCallBack createCallBack;

class ExpressionObjectClassDesc : public ClassDesc {
 public:
  int IsPublic() override { return 1; }
  void* Create(BOOL loading) override { return new ExpressionObject(loading); }
  const TCHAR* ClassName() override { return _T("Mirova"); }
  SClass_ID SuperClassID() override { return GEOMOBJECT_CLASS_ID; }
  Class_ID ClassID() override { return EXPRESSION_OBJECT_CLASS_ID; }
  const TCHAR* Category() override { return _T("Compound Objects"); }
  BOOL OkToCreate(Interface* ip) override;
  int BeginCreate(Interface* i) override;
  int EndCreate(Interface* i) override;
  void ResetClassParams(BOOL) override { pickMethod = PICK_INSTANCE; }
};

ExpressionObjectClassDesc expressionObjectDesc;

// Only one face can become the Neutral: a single selected node whose object
// is a mesh, or converts to one, and is no particle system.
BOOL ExpressionObjectClassDesc::OkToCreate(Interface* ip) {
  if (ip->GetSelNodeCount() != 1) return FALSE;
  INode* node = ip->GetSelNode(0);
  Object* object = node ? node->GetObjectRef() : nullptr;
  if (!object) return FALSE;
  ObjectState os = object->Eval(ip->GetTime());
  if (!os.obj || os.obj->IsParticleSystem()) return FALSE;
  return os.obj->IsDeformable() || os.obj->CanConvertToType(defObjectClassID) ? TRUE : FALSE;
}

// Creation turns the single selected node into an expression object in the
// library's creation command mode.
int ExpressionObjectClassDesc::BeginCreate(Interface* i) {
  ObjAssert(i->GetSelNodeCount() == 1);
  INode* node = i->GetSelNode(0);
  if (!node) return TRUE;
  createMode.Begin(node, static_cast<IObjParam*>(i));
  i->PushCommandMode(&createMode);
  return TRUE;
}

int ExpressionObjectClassDesc::EndCreate(Interface* i) {
  createMode.End(static_cast<IObjParam*>(i));
  i->RemoveMode(&createMode);
  return TRUE;
}

}  // namespace

CreateMouseCallBack* ExpressionObject::GetCreateMouseCallBack() {
  createCallBack.ob = this;
  return &createCallBack;
}

ClassDesc* GetExpressionObjectDesc() { return &expressionObjectDesc; }
