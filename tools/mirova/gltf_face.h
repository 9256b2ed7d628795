// A face and its morph targets as glTF 2.0: one node with one mesh whose
// morph targets are the expression shapes, one primitive per material (all
// sharing the vertices), with set weights and, when given, an animation of
// the weights. Mesh coordinates are written as they come: OBJ files
// conventionally hold them Y-up, as glTF does.
#ifndef MIROVA_CLI_GLTF_FACE_H
#define MIROVA_CLI_GLTF_FACE_H
#include <ostream>
#include <string>
#include <vector>

#include "blend_breakdown.h"
#include "gltf_mesh.h"

namespace cli {

// Writes the face (see LayOutFace) with its targets as morph targets,
// weights (one per target) as the mesh's set weights and, when track has
// times, a LINEAR "weights" animation at ticks / 4800 seconds, to out as the
// glTF file output (GLB when it ends in .glb): a texture is named by its
// path from output's folder. A face without triangles is written as points.
// False, with *problem, for a face without points, a value that is not a
// finite number, or two times that fall on one glTF time.
bool WriteFaceGltf(const GltfFaceMesh& face, const std::vector<float>& weights, const WeightTrack& track,
                   const std::string& output, std::ostream& out, std::string* problem);

// The URI of the file at path (from the working folder, or absolute) as a
// file written at output names it: relative to output's folder, its bytes
// outside a URI's unreserved ones and '/' percent-encoded.
std::string RelativeUri(const std::string& path, const std::string& output);

}  // namespace cli

#endif
