// Stand-in: the host's triangle mesh, points and faces.
//
// As in the host, the points and faces are reached through the public arrays
// `verts` and `faces`. Stand-in: behind them the arrays are shared buffers,
// so that a shallow copy of a mesh object (ShareChannels) can share them
// safely and MakeChannelsPrivate copies a shared one before it is changed.
// Copying a Mesh copies everything.
#ifndef HEADLESS_MESH_H
#define HEADLESS_MESH_H
#include <object.h>
#include <point3.h>

#include <memory>
#include <vector>

class Face {
 public:
  DWORD v[3] = {0, 0, 0};  // point indices
  DWORD smGroup = 0;
  DWORD flags = 0;

  void setVerts(int a, int b, int c) {
    v[0] = static_cast<DWORD>(a), v[1] = static_cast<DWORD>(b), v[2] = static_cast<DWORD>(c);
  }
  DWORD getVert(int i) const { return v[i]; }
  bool operator==(const Face& f) const { return v[0] == f.v[0] && v[1] == f.v[1] && v[2] == f.v[2]; }
};

class Mesh {
 public:
  Point3* verts = nullptr;  // getNumVerts() points
  Face* faces = nullptr;    // getNumFaces() faces

  Mesh();
  Mesh(const Mesh& m);
  Mesh& operator=(const Mesh& m);
  ~Mesh() = default;

  // Resizes the points; keep keeps the first ones (new ones are zero).
  BOOL setNumVerts(int n, BOOL keep = FALSE, BOOL synchronous = FALSE);
  int getNumVerts() const { return static_cast<int>(vertData->size()); }
  BOOL setNumFaces(int n, BOOL keep = FALSE, BOOL synchronous = FALSE);
  int getNumFaces() const { return static_cast<int>(faceData->size()); }

  // Points and faces by index; an index out of range stops the program.
  void setVert(int i, const Point3& p) { *getVertPtr(i) = p; }
  void setVert(int i, float x, float y, float z) { setVert(i, Point3(x, y, z)); }
  Point3& getVert(int i) { return *getVertPtr(i); }
  Point3* getVertPtr(int i);
  Face& getFace(int i);

  // Drops derived data (bounds, normals) after the points moved.
  void InvalidateGeomCache() {}

  // Stand-in: how a mesh object shares and unshares its channels
  // (GEOM_CHANNEL: the points, TOPO_CHANNEL: the faces).
  void ShareChannels(const Mesh& from, ChannelMask channels);
  void MakeChannelsPrivate(ChannelMask channels);
  // Whether the points are shared with another mesh.
  bool SharesVerts() const { return vertData.use_count() > 1; }

 private:
  void Repoint() {
    verts = vertData->empty() ? nullptr : vertData->data();
    faces = faceData->empty() ? nullptr : faceData->data();
  }
  std::shared_ptr<std::vector<Point3>> vertData;
  std::shared_ptr<std::vector<Face>> faceData;
};

#endif
