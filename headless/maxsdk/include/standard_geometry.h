// Stand-in: two of the host's standard objects, enough to stand for their
// kinds: a parametric box (not deformable: it has no points of its own, but
// converts to a triangle mesh) and a particle system.
#ifndef HEADLESS_STANDARD_GEOMETRY_H
#define HEADLESS_STANDARD_GEOMETRY_H
#include <object.h>
#include <point3.h>

#include <vector>

#define BOXOBJ_CLASS_ID 0x00000010
#define SPRAY_CLASS_ID 0x9bd61aa0

// A box of the given size, its base centred on the origin.
class BoxObject : public GeomObject {
 public:
  explicit BoxObject(const Point3& size = Point3(10.0f, 10.0f, 10.0f)) : size(size) {}

  Point3 GetSize() const { return size; }
  void SetSize(const Point3& s);

  void GetClassName(TSTR& s) override { s = _T("Box"); }
  Class_ID ClassID() override { return Class_ID(BOXOBJ_CLASS_ID, 0); }
  const TCHAR* GetObjectName() override { return _T("Box"); }
  CreateMouseCallBack* GetCreateMouseCallBack() override { return nullptr; }
  ObjectState Eval(TimeValue) override { return ObjectState(this); }

  // 8 points, 12 faces.
  int CanConvertToType(Class_ID obtype) override;
  Object* ConvertToType(TimeValue t, Class_ID obtype) override;

  RefTargetHandle Clone(RemapDir& remap) override;
  IOResult Save(ISave* isave) override;
  IOResult Load(ILoad* iload) override;

 private:
  Point3 size;
};

// Particles at given positions; deformable (its points are the particles)
// and converting to nothing.
class SprayObject : public GeomObject {
 public:
  explicit SprayObject(int count = 0) : particles(static_cast<size_t>(count)) {}

  void GetClassName(TSTR& s) override { s = _T("Spray"); }
  Class_ID ClassID() override { return Class_ID(SPRAY_CLASS_ID, 0); }
  const TCHAR* GetObjectName() override { return _T("Spray"); }
  CreateMouseCallBack* GetCreateMouseCallBack() override { return nullptr; }
  ObjectState Eval(TimeValue) override { return ObjectState(this); }

  int IsParticleSystem() override { return 1; }
  int IsDeformable() override { return 1; }
  int NumPoints() override { return static_cast<int>(particles.size()); }
  // An index out of range stops the program.
  Point3 GetPoint(int i) override;
  void SetPoint(int i, const Point3& p) override;
  // Stand-in: the particles are the geometry channel, and they are copied.
  void ShallowCopy(Object* fromOb, ChannelMask channels) override;

  RefTargetHandle Clone(RemapDir& remap) override;
  IOResult Save(ISave* isave) override;
  IOResult Load(ILoad* iload) override;

 private:
  std::vector<Point3> particles;
};

#endif
