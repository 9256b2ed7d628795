// The stand-in's parametric box and particle system.
#include <ioapi.h>
#include <standard_geometry.h>
#include <triobj.h>

#include "builtin_classes.h"

namespace {

const USHORT SIZE_CHUNK = 0x0100;
const USHORT PARTICLES_CHUNK = 0x0200;

// Corners as (x, y, z) choices of -1/+1 half sizes; z runs from 0 up.
const int corners[8][3] = {{-1, -1, 0}, {1, -1, 0}, {-1, 1, 0}, {1, 1, 0},
                           {-1, -1, 1}, {1, -1, 1}, {-1, 1, 1}, {1, 1, 1}};
// Two outward-facing triangles per side.
const int boxFaces[12][3] = {{0, 2, 3}, {3, 1, 0}, {4, 5, 7}, {7, 6, 4}, {0, 1, 5}, {5, 4, 0},
                             {1, 3, 7}, {7, 5, 1}, {3, 2, 6}, {6, 7, 3}, {2, 0, 4}, {4, 6, 2}};

}  // namespace

void BoxObject::SetSize(const Point3& s) {
  size = s;
  NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
}

int BoxObject::CanConvertToType(Class_ID obtype) { return obtype == triObjectClassID; }

Object* BoxObject::ConvertToType(TimeValue t, Class_ID obtype) {
  if (obtype != triObjectClassID) return nullptr;
  TriObject* tri = CreateNewTriObject();
  Mesh& mesh = tri->GetMesh();
  mesh.setNumVerts(8);
  for (int i = 0; i < 8; ++i)
    mesh.setVert(i, corners[i][0] * size.x / 2, corners[i][1] * size.y / 2, corners[i][2] * size.z);
  mesh.setNumFaces(12);
  for (int i = 0; i < 12; ++i) mesh.faces[i].setVerts(boxFaces[i][0], boxFaces[i][1], boxFaces[i][2]);
  tri->SetChannelValidity(GEOM_CHAN_NUM, ObjectValidity(t));
  return tri;
}

RefTargetHandle BoxObject::Clone(RemapDir&) { return new BoxObject(size); }

IOResult BoxObject::Save(ISave* isave) {
  ULONG written = 0;
  isave->BeginChunk(SIZE_CHUNK);
  isave->Write(&size, sizeof(size), &written);
  isave->EndChunk();
  return IO_OK;
}

IOResult BoxObject::Load(ILoad* iload) {
  IOResult result = IO_OK;
  ULONG read = 0;
  while (result == IO_OK && iload->OpenChunk() == IO_OK) {
    if (iload->CurChunkID() == SIZE_CHUNK) result = iload->Read(&size, sizeof(size), &read);
    iload->CloseChunk();
  }
  return result;
}

Point3 SprayObject::GetPoint(int i) {
  if (i < 0 || i >= NumPoints()) headless::detail::IndexOutOfRange("SprayObject particle", i);
  return particles[static_cast<size_t>(i)];
}

void SprayObject::SetPoint(int i, const Point3& p) {
  if (i < 0 || i >= NumPoints()) headless::detail::IndexOutOfRange("SprayObject particle", i);
  particles[static_cast<size_t>(i)] = p;
}

void SprayObject::ShallowCopy(Object* fromOb, ChannelMask channels) {
  if ((channels & GEOM_CHANNEL) && fromOb->ClassID() == ClassID() && fromOb->SuperClassID() == SuperClassID())
    particles = static_cast<SprayObject*>(fromOb)->particles;
  Object::ShallowCopy(fromOb, channels);
}

RefTargetHandle SprayObject::Clone(RemapDir&) {
  auto* copy = new SprayObject;
  copy->particles = particles;
  return copy;
}

IOResult SprayObject::Save(ISave* isave) {
  ULONG written = 0;
  isave->BeginChunk(PARTICLES_CHUNK);
  if (!particles.empty())
    isave->Write(particles.data(), static_cast<ULONG>(particles.size() * sizeof(Point3)), &written);
  isave->EndChunk();
  return IO_OK;
}

IOResult SprayObject::Load(ILoad* iload) {
  IOResult result = IO_OK;
  ULONG read = 0;
  while (result == IO_OK && iload->OpenChunk() == IO_OK) {
    if (iload->CurChunkID() == PARTICLES_CHUNK) {
      particles.resize(iload->CurChunkLength() / sizeof(Point3));
      if (!particles.empty())
        result = iload->Read(particles.data(), static_cast<ULONG>(particles.size() * sizeof(Point3)), &read);
    }
    iload->CloseChunk();
  }
  return result;
}

namespace {

template <typename T>
class StandardClassDesc : public ClassDesc {
 public:
  StandardClassDesc(const TCHAR* name, Class_ID id) : name(name), id(id) {}
  int IsPublic() override { return 1; }
  void* Create(BOOL) override { return new T; }
  const TCHAR* ClassName() override { return name; }
  SClass_ID SuperClassID() override { return GEOMOBJECT_CLASS_ID; }
  Class_ID ClassID() override { return id; }
  const TCHAR* Category() override { return _T("Standard Primitives"); }

 private:
  const TCHAR* name;
  Class_ID id;
};

}  // namespace

ClassDesc* GetBoxObjectDesc() {
  static StandardClassDesc<BoxObject> desc(_T("Box"), Class_ID(BOXOBJ_CLASS_ID, 0));
  return &desc;
}

ClassDesc* GetSprayObjectDesc() {
  static StandardClassDesc<SprayObject> desc(_T("Spray"), Class_ID(SPRAY_CLASS_ID, 0));
  return &desc;
}
