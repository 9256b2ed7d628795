// Normals of OBJ meshes: which corners share one, area-weighted normals made
// from the points, and the file's own normals turned as its surface turns.
#ifndef MIROVA_CLI_MESH_NORMALS_H
#define MIROVA_CLI_MESH_NORMALS_H
#include <point3.h>

#include <vector>

#include "obj_file.h"

namespace cli {

// The corners of a mesh's polygons grouped by the normal they share: at one
// point, those naming one normal (vn), or, naming none, those on polygons of
// one smoothing group (see StylesOf); a corner of a polygon whose smoothing
// is off shares with no other polygon.
struct NormalGroups {
  std::vector<std::vector<int>> corners;  // per polygon, per corner: its group
  std::vector<int> points;                // per group: the point its corners lie at
  std::vector<int> normals;               // per group: the normal its corners name, -1 for none
};
NormalGroups GroupCorners(const ObjMesh& mesh);

// Each group's normal with the mesh's polygons on points (one per point of
// the mesh): the sum of the vector areas of the polygons its corners lie on,
// made unit, so that larger polygons count more; +Z for a group on no
// polygon of any area.
std::vector<Point3> AreaNormals(const ObjMesh& mesh, const NormalGroups& groups, const std::vector<Point3>& points);

// v turned by the shortest rotation that takes unit vector a to unit vector
// b; v itself, to the bit, when a equals b.
Point3 Turned(const Point3& v, const Point3& a, const Point3& b);

// The mesh with points in place of its own (as many), its normals turned as
// the surface turns: each by the rotation from its group's area normal
// before to the one after. A normal whose corners now turn apart is written
// once for each way they turn, after the file's own.
ObjMesh Reshaped(const ObjMesh& mesh, const std::vector<Point3>& points);

}  // namespace cli

#endif
