// The triangle mesh and the mesh object.
#include <ioapi.h>
#include <mesh.h>
#include <triobj.h>

#include <cstring>

#include "builtin_classes.h"

Class_ID triObjectClassID(TRIOBJ_CLASS_ID, 0);

namespace {

template <typename T>
std::shared_ptr<std::vector<T>> Copied(const std::shared_ptr<std::vector<T>>& data) {
  return std::make_shared<std::vector<T>>(*data);
}

template <typename T>
void Resize(std::shared_ptr<std::vector<T>>& data, int n, BOOL keep) {
  size_t count = n > 0 ? static_cast<size_t>(n) : 0;
  if (keep) {
    // A shared buffer stays with its other owners.
    if (data.use_count() > 1) data = Copied(data);
    data->resize(count);
  } else {
    data = std::make_shared<std::vector<T>>(count);
  }
}

}  // namespace

Mesh::Mesh()
    : vertData(std::make_shared<std::vector<Point3>>()), faceData(std::make_shared<std::vector<Face>>()) {}

Mesh::Mesh(const Mesh& m) : vertData(Copied(m.vertData)), faceData(Copied(m.faceData)) { Repoint(); }

Mesh& Mesh::operator=(const Mesh& m) {
  if (this != &m) {
    vertData = Copied(m.vertData);
    faceData = Copied(m.faceData);
    Repoint();
  }
  return *this;
}

BOOL Mesh::setNumVerts(int n, BOOL keep, BOOL) {
  Resize(vertData, n, keep);
  Repoint();
  return TRUE;
}

BOOL Mesh::setNumFaces(int n, BOOL keep, BOOL) {
  Resize(faceData, n, keep);
  Repoint();
  return TRUE;
}

Point3* Mesh::getVertPtr(int i) {
  if (i < 0 || i >= getNumVerts()) headless::detail::IndexOutOfRange("Mesh point", i);
  return verts + i;
}

Face& Mesh::getFace(int i) {
  if (i < 0 || i >= getNumFaces()) headless::detail::IndexOutOfRange("Mesh face", i);
  return faces[i];
}

void Mesh::ShareChannels(const Mesh& from, ChannelMask channels) {
  if (channels & GEOM_CHANNEL) vertData = from.vertData;
  if (channels & TOPO_CHANNEL) faceData = from.faceData;
  Repoint();
}

void Mesh::MakeChannelsPrivate(ChannelMask channels) {
  if ((channels & GEOM_CHANNEL) && vertData.use_count() > 1) vertData = Copied(vertData);
  if ((channels & TOPO_CHANNEL) && faceData.use_count() > 1) faceData = Copied(faceData);
  Repoint();
}

TriObject::TriObject() = default;
TriObject::~TriObject() = default;

Object* TriObject::ConvertToType(TimeValue, Class_ID obtype) {
  return obtype == triObjectClassID ? this : nullptr;
}

void TriObject::ShallowCopy(Object* fromOb, ChannelMask channels) {
  // Only another mesh object has mesh channels to share.
  if (fromOb->ClassID() == triObjectClassID && fromOb->SuperClassID() == GEOMOBJECT_CLASS_ID)
    mesh.ShareChannels(static_cast<TriObject*>(fromOb)->mesh, channels);
  Object::ShallowCopy(fromOb, channels);
}

void TriObject::NewAndCopyChannels(ChannelMask channels) { mesh.MakeChannelsPrivate(channels); }

RefTargetHandle TriObject::Clone(RemapDir&) {
  TriObject* copy = CreateNewTriObject();
  copy->mesh = mesh;
  for (int chan = 0; chan < NUM_OBJ_CHANS; ++chan)
    copy->SetChannelValidity(chan, ChannelValidity(0, chan));
  return copy;
}

namespace {

const USHORT VERTS_CHUNK = 0x0914;
const USHORT FACES_CHUNK = 0x0916;

struct SavedFace {
  DWORD v[3];
  DWORD smGroup;
  DWORD flags;
};

}  // namespace

IOResult TriObject::Save(ISave* isave) {
  ULONG written = 0;
  isave->BeginChunk(VERTS_CHUNK);
  if (mesh.getNumVerts() > 0)
    isave->Write(mesh.verts, static_cast<ULONG>(sizeof(Point3) * mesh.getNumVerts()), &written);
  isave->EndChunk();
  isave->BeginChunk(FACES_CHUNK);
  for (int i = 0; i < mesh.getNumFaces(); ++i) {
    const Face& f = mesh.faces[i];
    SavedFace saved = {{f.v[0], f.v[1], f.v[2]}, f.smGroup, f.flags};
    isave->Write(&saved, sizeof(saved), &written);
  }
  isave->EndChunk();
  return IO_OK;
}

IOResult TriObject::Load(ILoad* iload) {
  IOResult result = IO_OK;
  ULONG read = 0;
  while (result == IO_OK && iload->OpenChunk() == IO_OK) {
    ULONG length = iload->CurChunkLength();
    if (iload->CurChunkID() == VERTS_CHUNK) {
      mesh.setNumVerts(static_cast<int>(length / sizeof(Point3)));
      if (mesh.getNumVerts() > 0)
        result = iload->Read(mesh.verts, static_cast<ULONG>(sizeof(Point3) * mesh.getNumVerts()), &read);
    } else if (iload->CurChunkID() == FACES_CHUNK) {
      mesh.setNumFaces(static_cast<int>(length / sizeof(SavedFace)));
      for (int i = 0; result == IO_OK && i < mesh.getNumFaces(); ++i) {
        SavedFace saved;
        result = iload->Read(&saved, sizeof(saved), &read);
        Face& f = mesh.faces[i];
        std::memcpy(f.v, saved.v, sizeof(f.v));
        f.smGroup = saved.smGroup;
        f.flags = saved.flags;
      }
    }
    iload->CloseChunk();
  }
  // Faces must not name points the mesh does not have.
  for (int i = 0; result == IO_OK && i < mesh.getNumFaces(); ++i)
    for (DWORD v : mesh.faces[i].v)
      if (v >= static_cast<DWORD>(mesh.getNumVerts())) result = IO_ERROR;
  return result;
}

TriObject* CreateNewTriObject() { return new TriObject; }

namespace {

class TriObjectClassDesc : public ClassDesc {
 public:
  int IsPublic() override { return 0; }
  void* Create(BOOL) override { return CreateNewTriObject(); }
  const TCHAR* ClassName() override { return _T("Editable Mesh"); }
  SClass_ID SuperClassID() override { return GEOMOBJECT_CLASS_ID; }
  Class_ID ClassID() override { return triObjectClassID; }
  const TCHAR* Category() override { return _T(""); }
};

}  // namespace

ClassDesc* GetTriObjectDesc() {
  static TriObjectClassDesc desc;
  return &desc;
}
