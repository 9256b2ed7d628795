#include "mesh_normals.h"

#include <cmath>
#include <functional>
#include <unordered_map>

#include "obj_lines.h"

namespace cli {

namespace {

// In double, so that the products of coordinates near a float's limit stay finite.
struct Vector {
  double x = 0, y = 0, z = 0;
};
Vector Of(const Point3& p) { return {p.x, p.y, p.z}; }
Vector operator+(const Vector& a, const Vector& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vector operator-(const Vector& a, const Vector& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vector operator*(const Vector& a, double f) { return {a.x * f, a.y * f, a.z * f}; }
double Dot(const Vector& a, const Vector& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vector Cross(const Vector& a, const Vector& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// What a corner's normal is shared by, besides its point.
enum class Sharing { kNormal, kSmoothingGroup, kPolygon };

struct GroupKey {
  int point;
  Sharing sharing;
  long long value;  // the normal, the smoothing group or the polygon
  bool operator==(const GroupKey& k) const { return point == k.point && sharing == k.sharing && value == k.value; }
};

struct GroupKeyHash {
  size_t operator()(const GroupKey& k) const {
    const unsigned long long mixed = static_cast<unsigned long long>(k.value) * 31 + static_cast<unsigned>(k.sharing);
    return std::hash<unsigned long long>()(mixed) ^ (std::hash<int>()(k.point) << 1);
  }
};

// Twice the polygon's vector area: its normal, as long as its area.
Vector VectorArea(const std::vector<int>& polygon, const std::vector<Point3>& points) {
  Vector sum;
  const Vector first = Of(points[polygon[0]]);
  for (size_t c = 2; c < polygon.size(); ++c)
    sum = sum + Cross(Of(points[polygon[c - 1]]) - first, Of(points[polygon[c]]) - first);
  return sum;
}

Point3 Unit(const Vector& v) {
  const double length = std::sqrt(Dot(v, v));
  if (!(length > 0)) return Point3(0, 0, 1);
  return Point3(static_cast<float>(v.x / length), static_cast<float>(v.y / length), static_cast<float>(v.z / length));
}

}  // namespace

NormalGroups GroupCorners(const ObjMesh& mesh) {
  const PolygonStyles styles = StylesOf(mesh);
  NormalGroups groups;
  std::unordered_map<GroupKey, int, GroupKeyHash> index;
  for (size_t p = 0; p < mesh.polygons.size(); ++p) {
    std::vector<int>& corners = groups.corners.emplace_back();
    for (size_t c = 0; c < mesh.polygons[p].size(); ++c) {
      const int point = mesh.polygons[p][c], normal = mesh.normalIndices[p][c];
      const GroupKey key = normal >= 0                 ? GroupKey{point, Sharing::kNormal, normal}
                           : styles.smoothing[p] != 0 ? GroupKey{point, Sharing::kSmoothingGroup, styles.smoothing[p]}
                                                       : GroupKey{point, Sharing::kPolygon, static_cast<long long>(p)};
      const auto found = index.emplace(key, static_cast<int>(groups.points.size()));
      if (found.second) {
        groups.points.push_back(point);
        groups.normals.push_back(normal);
      }
      corners.push_back(found.first->second);
    }
  }
  return groups;
}

std::vector<Point3> AreaNormals(const ObjMesh& mesh, const NormalGroups& groups, const std::vector<Point3>& points) {
  std::vector<Vector> sums(groups.points.size());
  for (size_t p = 0; p < mesh.polygons.size(); ++p) {
    if (mesh.polygons[p].size() < 3) continue;
    const Vector area = VectorArea(mesh.polygons[p], points);
    for (int group : groups.corners[p]) sums[group] = sums[group] + area;
  }
  std::vector<Point3> normals;
  normals.reserve(sums.size());
  for (const Vector& sum : sums) normals.push_back(Unit(sum));
  return normals;
}

Point3 Turned(const Point3& v, const Point3& a, const Point3& b) {
  const Vector from = Of(a), to = Of(b), in = Of(v);
  const double cosine = Dot(from, to);
  // Half a turn has no one shortest rotation; the normal is turned round.
  if (cosine < -1 + 1e-9) return -v;
  // Rodrigues' formula with the axis scaled by the sine: k = a x b.
  const Vector k = Cross(from, to);
  const Vector out = in + Cross(k, in) + Cross(k, Cross(k, in)) * (1 / (1 + cosine));
  return Point3(static_cast<float>(out.x), static_cast<float>(out.y), static_cast<float>(out.z));
}

ObjMesh Reshaped(const ObjMesh& mesh, const std::vector<Point3>& points) {
  ObjMesh shaped = mesh;
  shaped.points = points;
  if (mesh.normals.empty() || points.size() != mesh.points.size()) return shaped;
  const NormalGroups groups = GroupCorners(mesh);
  const std::vector<Point3> before = AreaNormals(mesh, groups, mesh.points);
  const std::vector<Point3> after = AreaNormals(mesh, groups, points);
  // Per normal of the file, where each way it turns is written (its own
  // place first); per group, which of them it takes.
  std::vector<std::vector<int>> written(mesh.normals.size());
  std::vector<int> slot(groups.points.size(), -1);
  for (size_t g = 0; g < slot.size(); ++g) {
    const int normal = groups.normals[g];
    if (normal < 0) continue;
    const Point3 turned = Turned(mesh.normals[normal], before[g], after[g]);
    std::vector<int>& ways = written[normal];
    for (int way : ways)
      if (shaped.normals[way] == turned) slot[g] = way;
    if (slot[g] >= 0) continue;
    slot[g] = ways.empty() ? normal : static_cast<int>(shaped.normals.size());
    if (ways.empty())
      shaped.normals[normal] = turned;
    else
      shaped.normals.push_back(turned);
    ways.push_back(slot[g]);
  }
  for (size_t p = 0; p < mesh.polygons.size(); ++p)
    for (size_t c = 0; c < mesh.polygons[p].size(); ++c)
      if (mesh.normalIndices[p][c] >= 0) shaped.normalIndices[p][c] = slot[groups.corners[p][c]];
  // The extra normals follow the file's own.
  for (ObjLine& line : shaped.lines)
    if (line.normals == mesh.normals.size()) line.normals = shaped.normals.size();
  return shaped;
}

}  // namespace cli
