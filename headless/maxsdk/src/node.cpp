#include <inode.h>
#include <object.h>

INode::INode(const char* n) : name(n ? n : "") {
  MakeRefByID(FOREVER, 0, NewDefaultMatrix3Controller());
}

INode::~INode() { DeleteAllRefsFromMe(); }

void INode::SetObjectRef(Object* obj) { ReplaceReference(1, obj, TRUE); }

BOOL INode::SetTMController(Control* c) {
  ReplaceReference(0, c, TRUE);
  return TRUE;
}

RefTargetHandle INode::GetReference(int i) {
  if (i == 0) return tmControl;
  if (i == 1) return object;
  return nullptr;
}

void INode::SetReference(int i, RefTargetHandle target) {
  if (i == 0) tmControl = static_cast<Control*>(target);
  if (i == 1) object = static_cast<Object*>(target);
}

Matrix3 INode::GetNodeTM(TimeValue t, Interval* valid) {
  Matrix3 tm(1);
  Interval v = FOREVER;
  if (tmControl) tmControl->GetValue(t, &tm, v, CTRL_RELATIVE);
  if (valid) *valid &= v;
  return tm;
}

Matrix3 INode::GetObjectTM(TimeValue t, Interval* valid) {
  Matrix3 axes, rotation;
  offsetScale.q.MakeMatrix(axes);
  offsetRot.MakeMatrix(rotation);
  Matrix3 offset = Inverse(axes) * ScaleMatrix(offsetScale.s) * axes * rotation;
  offset.Translate(offsetPos);
  return offset * GetNodeTM(t, valid);
}
