// A face laid out for glTF: glTF's attributes are per vertex where OBJ's are
// per corner, so a point becomes one vertex for each different texture
// coordinate and normal its corners give; polygons become triangle fans,
// grouped by material.
#ifndef MIROVA_CLI_GLTF_MESH_H
#define MIROVA_CLI_GLTF_MESH_H
#include <string>
#include <vector>

#include "blend_breakdown.h"
#include "obj_file.h"

namespace cli {

struct GltfFaceMesh {
  // Per vertex, components in a row. A point's first vertex has its index,
  // so that a mesh that needs no split keeps its points' order.
  std::vector<float> positions, normals;
  std::vector<float> texcoords;  // u, v with v down from the image's top; empty without any
  // Per target, what it adds at weight 1 to each vertex's position and normal.
  std::vector<std::vector<float>> positionDeltas, normalDeltas;
  std::vector<std::string> targetNames;  // by the channels, as the host lists them
  struct Part {
    int material = -1;  // into materials; -1 for none
    std::vector<unsigned> triangles;
  };
  std::vector<Part> parts;  // in the order the file first uses their materials
  std::vector<ObjMaterial> materials;
};

// face laid out with the Neutral's corners, texture coordinates, normals and
// materials when neutral holds the face's topology (its points, as many, cut
// into the face's triangles), else with the face's bare triangles. Normals
// the OBJ gives are kept (made unit) and, per target, turned as the surface
// turns there; the others are area-weighted (see AreaNormals), from each
// target's own points for its deltas.
GltfFaceMesh LayOutFace(const ObjMesh& neutral, const BlendBreakdown& face);

}  // namespace cli

#endif
