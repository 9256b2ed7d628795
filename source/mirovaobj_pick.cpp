// Target assignment: the creation command mode, the target pick mode, and
// the object's checks and assignment behind them.
#include <custcont.h>
#include <inode.h>
#include <triobj.h>
#include <viewexp.h>

#include "mirovaobj_internal.h"
#include "mirovaobj_ui.h"
#include "resource.h"

ExpressionCreateMode createMode;
TargetPickMode targetPickMode;

// --- creation ---

int ExpressionCreateProc::proc(HWND hwnd, int msg, int, int, IPoint2) {
  if (msg == MOUSE_POINT && ip) ip->SetActiveViewport(hwnd);
  if (msg == MOUSE_FREEMOVE) SetCursor(LoadCursorA(nullptr, IDC_ARROW));
  return TRUE;
}

MouseCallBack* ExpressionCreateMode::MouseProc(int* numPoints) {
  *numPoints = 1;
  return &proc;
}

RefTargetHandle ExpressionCreateMode::GetReference(int) { return node; }

void ExpressionCreateMode::SetReference(int, RefTargetHandle target) { node = static_cast<INode*>(target); }

RefResult ExpressionCreateMode::NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage message) {
  if ((message == REFMSG_TARGET_DELETED || message == REFMSG_TARGET_SELECTIONCHANGE) && ip) ip->StopCreating();
  return REF_SUCCEED;
}

void ExpressionCreateMode::Begin(INode* n, IObjParam* i) {
  MakeRefByID(FOREVER, 0, n);
  ObjAssert(node != nullptr);
  if (!node) return;
  ip = i;
  proc.ip = i;
  obj = new ExpressionObject;
  obj->pickTargetIndex = TARGET_NEUTRAL;
  obj->AssignTarget(node, 0, PICK_INSTANCE);
  node->SetObjectRef(obj);
  obj->BeginEditParams(i, BEGIN_EDIT_CREATE, nullptr);
}

void ExpressionCreateMode::End(IObjParam* i) {
  // Cleared first: ending the edit must not come back here.
  ExpressionObject* ending = obj;
  obj = nullptr;
  if (ending) ending->EndEditParams(i, END_EDIT_REMOVEUI, nullptr);
  DeleteAllRefsFromMe();
  ip = nullptr;
  proc.ip = nullptr;
}

void ExpressionCreateMode::JumpStart(IObjParam* i, ExpressionObject* o) {
  ip = i;
  proc.ip = i;
  obj = o;
  o->BeginEditParams(i, BEGIN_EDIT_CREATE, nullptr);
}

// --- the face-target buttons ---

void PressTargetButton(ExpressionObject* obj, int id) {
  obj->pickButtonId = id;
  obj->pickTargetIndex = id - IDC_TARGET_NEUTRAL;
  CommandMode* current = ip->GetCommandMode();
  if (!current || current->ID() != CID_STDPICK) {
    targetPickMode.obj = obj;
    ip->SetPickMode(&targetPickMode);
    return;
  }
  // This press ends the pick; the button toggled itself on the click and
  // must not stay checked with nothing being picked.
  ShowTargetButtonChecked(id, FALSE);
  if (creating) {
    createMode.JumpStart(ip, obj);
    ip->SetCommandMode(&createMode);
  } else {
    ip->SetStdCommandMode(CID_OBJMOVE);
  }
}

// --- picking ---

BOOL TargetPickMode::HitTest(IObjParam* i, HWND hWnd, ViewExp*, IPoint2 m, int) {
  INode* node = i->PickNode(hWnd, m, this);
  return node && obj && obj->IsValidTarget(i->GetTime(), node->GetObjectRef());
}

BOOL TargetPickMode::Filter(INode* node) {
  return node && obj && ip && obj->IsValidTarget(ip->GetTime(), node->GetObjectRef());
}

BOOL TargetPickMode::Pick(IObjParam* i, ViewExp* vpt) {
  INode* node = vpt->GetClosestHit();
  ObjAssert(node != nullptr);
  if (!node || !obj) return FALSE;
  if (!obj->IsValidTarget(i->GetTime(), node->GetObjectRef())) return FALSE;
  obj->AssignTarget(node, i->GetTime(), obj->ReadPickMethod());
  obj->RefreshTargetButtons();
  return TRUE;
}

void TargetPickMode::EnterMode(IObjParam*) {
  if (!obj) return;
  checkedButton = obj->pickButtonId;
  ShowTargetButtonChecked(checkedButton, TRUE);
}

void TargetPickMode::ExitMode(IObjParam*) {
  if (checkedButton) ShowTargetButtonChecked(checkedButton, FALSE);
  checkedButton = 0;
}

void TargetPickMode::Forget(ExpressionObject* o) {
  if (obj != o) return;
  if (Running() && ip) ip->ClearPickMode();
  obj = nullptr;
}

// --- the object's side ---

namespace {

// Whether candidate depends on obj: a target built on the object itself
// would make its own evaluation circular.
bool DependsOn(Object* candidate, ExpressionObject* obj) {
  candidate->BeginDependencyTest();
  obj->NotifyDependents(FOREVER, 0, REFMSG_TEST_DEPENDENCY, NOTIFY_ALL, TRUE, nullptr);
  return candidate->EndDependencyTest() != FALSE;
}

// The points an object has as evaluation blends it at t: one without
// points of its own (a box) counts the mesh it converts to; -1 for none.
int BlendedPoints(Object* object, TimeValue t) {
  ObjectState os = object->Eval(t);
  Object* evaluated = os.obj;
  if (!evaluated) return -1;
  if (evaluated->IsDeformable()) return evaluated->NumPoints();
  if (!evaluated->CanConvertToType(defObjectClassID)) return -1;
  Object* converted = evaluated->ConvertToType(t, defObjectClassID);
  ObjAssert(converted != nullptr);
  if (!converted) return -1;
  const int n = converted->NumPoints();
  if (converted != evaluated) converted->DeleteThis();
  return n;
}

}  // namespace

// The Neutral is counted as evaluation sees it, not by its own points: a
// Neutral that converts (a box) has none of its own, and would refuse every
// target that matches the face it evaluates to.
BOOL ExpressionObject::IsValidTarget(TimeValue t, Object* candidate) {
  if (!candidate || DependsOn(candidate, this)) return FALSE;
  ObjectState os = candidate->Eval(t);
  Object* evaluated = os.obj;
  if (!evaluated || evaluated->IsParticleSystem()) return FALSE;
  if (!evaluated->IsDeformable() && !evaluated->CanConvertToType(defObjectClassID)) return FALSE;
  if (pickTargetIndex == TARGET_NEUTRAL) return TRUE;
  Object* neutral = targets[TARGET_NEUTRAL].object;
  if (!neutral) return FALSE;
  const int points = BlendedPoints(candidate, t);
  return points >= 0 && points == BlendedPoints(neutral, t);
}

void ExpressionObject::AssignTarget(INode* node, TimeValue t, int method) {
  ObjAssert(pickTargetIndex != -1);
  if (pickTargetIndex < 0 || pickTargetIndex >= NUM_FACE_TARGETS) return;
  Object* source = node->GetObjectRef();
  if (!source) return;
  Object* target = nullptr;
  switch (method) {
    case PICK_COPY: target = static_cast<Object*>(source->Clone(NoRemap())); break;
    case PICK_REFERENCE: target = MakeObjectDerivedObject(source); break;
    case PICK_INSTANCE:
    case PICK_MOVE: target = source; break;
    default: return;
  }
  targets[pickTargetIndex].offsetTM = node->GetObjectTM(t) * Inverse(node->GetNodeTM(t));
  ReplaceReference(pickTargetIndex + 1, target, TRUE);
  if (method == PICK_MOVE && ip) ip->DeleteNode(node, TRUE, FALSE);
}
