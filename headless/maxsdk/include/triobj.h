// Stand-in: the triangle-mesh object, the host's default object class
// (defObjectClassID) and the target of most conversions.
#ifndef HEADLESS_TRIOBJ_H
#define HEADLESS_TRIOBJ_H
#include <mesh.h>
#include <object.h>

extern Class_ID triObjectClassID;  // the same id as defObjectClassID

class TriObject : public GeomObject {
 public:
  Mesh mesh;

  TriObject();
  ~TriObject() override;
  Mesh& GetMesh() { return mesh; }

  void GetClassName(TSTR& s) override { s = _T("TriObject"); }
  Class_ID ClassID() override { return triObjectClassID; }
  const TCHAR* GetObjectName() override { return _T("Mesh"); }
  CreateMouseCallBack* GetCreateMouseCallBack() override { return nullptr; }

  // A mesh in the scene is its own state.
  ObjectState Eval(TimeValue) override { return ObjectState(this); }

  int IsDeformable() override { return 1; }
  int NumPoints() override { return mesh.getNumVerts(); }
  // Point i of the mesh; an index out of range stops the program.
  Point3 GetPoint(int i) override { return mesh.getVert(i); }
  void SetPoint(int i, const Point3& p) override { mesh.setVert(i, p); }
  void PointsWereChanged() override { mesh.InvalidateGeomCache(); }

  // A mesh converts only to itself.
  int CanConvertToType(Class_ID obtype) override { return obtype == triObjectClassID; }
  Object* ConvertToType(TimeValue, Class_ID obtype) override;

  void ShallowCopy(Object* fromOb, ChannelMask channels) override;
  void NewAndCopyChannels(ChannelMask channels) override;

  RefTargetHandle Clone(RemapDir& remap) override;
  IOResult Save(ISave* isave) override;
  IOResult Load(ILoad* iload) override;
};

// A new, empty mesh object; the caller owns it.
TriObject* CreateNewTriObject();

#endif
