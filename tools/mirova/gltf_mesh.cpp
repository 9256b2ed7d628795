#include "gltf_mesh.h"

#include <cmath>
#include <unordered_map>

#include "channels.h"
#include "mesh_normals.h"
#include "obj_lines.h"

namespace cli {

namespace {

// The polygons cut into triangle fans, as MakeTriObject cuts them for the
// object.
std::vector<unsigned> Fans(const ObjMesh& mesh) {
  std::vector<unsigned> triangles;
  for (const std::vector<int>& polygon : mesh.polygons)
    for (size_t c = 2; c < polygon.size(); ++c)
      triangles.insert(triangles.end(), {unsigned(polygon[0]), unsigned(polygon[c - 1]), unsigned(polygon[c])});
  return triangles;
}

// The face's triangles as a mesh with nothing else.
ObjMesh BareMesh(const BlendBreakdown& face) {
  ObjMesh bare;
  bare.points = face.base;
  for (size_t t = 0; t + 2 < face.triangles.size(); t += 3) {
    bare.polygons.push_back({int(face.triangles[t]), int(face.triangles[t + 1]), int(face.triangles[t + 2])});
    bare.texcoordIndices.push_back({-1, -1, -1});
    bare.normalIndices.push_back({-1, -1, -1});
  }
  return bare;
}

struct Vertex {
  int point, group = -1, texcoord = -1;
};

// Each corner's vertex: one per point, group and texture coordinate; a
// point's first takes the point's own index.
struct Corners {
  std::vector<Vertex> vertices;
  std::vector<std::vector<unsigned>> polygons;  // per polygon, per corner: its vertex
};

Corners SplitCorners(const ObjMesh& mesh, const NormalGroups& groups) {
  Corners split;
  for (size_t p = 0; p < mesh.points.size(); ++p) split.vertices.push_back({int(p)});
  std::unordered_map<unsigned long long, unsigned> made;
  for (size_t p = 0; p < mesh.polygons.size(); ++p) {
    std::vector<unsigned>& corners = split.polygons.emplace_back();
    for (size_t c = 0; c < mesh.polygons[p].size(); ++c) {
      const Vertex vertex{mesh.polygons[p][c], groups.corners[p][c], mesh.texcoordIndices[p][c]};
      const unsigned long long key = (static_cast<unsigned long long>(vertex.group) << 32) |
                                     static_cast<unsigned>(vertex.texcoord + 1);
      auto found = made.find(key);
      if (found == made.end()) {
        unsigned index = static_cast<unsigned>(vertex.point);
        if (split.vertices[index].group >= 0) {
          index = static_cast<unsigned>(split.vertices.size());
          split.vertices.push_back(vertex);
        } else {
          split.vertices[index] = vertex;
        }
        found = made.emplace(key, index).first;
      }
      corners.push_back(found->second);
    }
  }
  return split;
}

// The triangle fans of each material's polygons; parts and materials in the
// order the file first uses them.
void AddParts(const ObjMesh& mesh, const Corners& split, GltfFaceMesh& out) {
  const PolygonStyles styles = StylesOf(mesh);
  std::unordered_map<int, size_t> partOf;
  for (size_t p = 0; p < split.polygons.size(); ++p) {
    const int material = styles.material[p];
    auto found = partOf.emplace(material, out.parts.size());
    if (found.second) {
      out.parts.emplace_back();
      if (material >= 0) {
        ObjMaterial named;
        named.name = styles.materialNames[material];
        for (const ObjMaterial& defined : mesh.materials)
          if (defined.name == named.name) named = defined;
        out.parts.back().material = static_cast<int>(out.materials.size());
        out.materials.push_back(named);
      }
    }
    std::vector<unsigned>& triangles = out.parts[found.first->second].triangles;
    const std::vector<unsigned>& corners = split.polygons[p];
    for (size_t c = 2; c < corners.size(); ++c)
      triangles.insert(triangles.end(), {corners[0], corners[c - 1], corners[c]});
  }
}

void Append(std::vector<float>& values, const Point3& p) { values.insert(values.end(), {p.x, p.y, p.z}); }

// The file's normal of each group made unit, where it gives one of some
// length; the area normal otherwise.
std::vector<Point3> KeptNormals(const ObjMesh& mesh, const NormalGroups& groups, std::vector<Point3> area) {
  for (size_t g = 0; g < area.size(); ++g) {
    if (groups.normals[g] < 0) continue;
    const Point3& given = mesh.normals[groups.normals[g]];
    const double length = std::sqrt(double(given.x) * given.x + double(given.y) * given.y + double(given.z) * given.z);
    if (length > 0 && std::isfinite(length))
      area[g] = Point3(float(given.x / length), float(given.y / length), float(given.z / length));
  }
  return area;
}

void AddTargets(const ObjMesh& mesh, const NormalGroups& groups, const std::vector<Vertex>& vertices,
                const BlendBreakdown& face, GltfFaceMesh& out) {
  const std::vector<Point3> area = AreaNormals(mesh, groups, face.base);
  const std::vector<Point3> kept = KeptNormals(mesh, groups, area);
  for (const Vertex& v : vertices) {
    Append(out.positions, face.base[v.point]);
    Append(out.normals, v.group >= 0 ? kept[v.group] : Point3(0, 0, 1));
  }
  for (const BlendTarget& target : face.targets) {
    std::vector<Point3> shape = face.base;
    for (size_t i = 0; i < shape.size(); ++i) shape[i] += target.difference[i];
    const std::vector<Point3> after = AreaNormals(mesh, groups, shape);
    std::vector<float>& positions = out.positionDeltas.emplace_back();
    std::vector<float>& normals = out.normalDeltas.emplace_back();
    for (const Vertex& v : vertices) {
      Append(positions, target.difference[v.point]);
      const int g = v.group;
      Append(normals, g >= 0 ? Turned(kept[g], area[g], after[g]) - kept[g] : Point3(0, 0, 0));
    }
    out.targetNames.push_back(expressionChannels[target.channel].name);
  }
}

}  // namespace

GltfFaceMesh LayOutFace(const ObjMesh& neutral, const BlendBreakdown& face) {
  const bool own = neutral.points.size() == face.base.size() && Fans(neutral) == face.triangles;
  const ObjMesh bare = own ? ObjMesh() : BareMesh(face);
  const ObjMesh& mesh = own ? neutral : bare;
  const NormalGroups groups = GroupCorners(mesh);
  const Corners split = SplitCorners(mesh, groups);
  GltfFaceMesh out;
  AddParts(mesh, split, out);
  AddTargets(mesh, groups, split.vertices, face, out);
  bool textured = false;
  for (const Vertex& v : split.vertices) textured = textured || v.texcoord >= 0;
  for (const Vertex& v : split.vertices) {
    if (!textured) break;
    const ObjTexcoord uv = v.texcoord >= 0 ? mesh.texcoords[v.texcoord] : ObjTexcoord{0.0f, 1.0f};
    // glTF counts v down from the image's top, OBJ up from its bottom.
    out.texcoords.insert(out.texcoords.end(), {uv.u, 1.0f - uv.v});
  }
  return out;
}

}  // namespace cli
