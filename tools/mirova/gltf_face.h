// A face and its morph targets as glTF 2.0: one node with one mesh whose
// morph targets are the expression shapes, with set weights and, when given,
// an animation of the weights. Mesh coordinates are written as they come:
// OBJ files conventionally hold them Y-up, as glTF does.
#ifndef MIROVA_CLI_GLTF_FACE_H
#define MIROVA_CLI_GLTF_FACE_H
#include <ostream>
#include <string>
#include <vector>

#include "blend_breakdown.h"

namespace cli {

// Writes face's base with its targets as morph targets (named by their
// channels, as the host lists them), weights (one per target) as the mesh's
// set weights and, when track has times, a LINEAR "weights" animation at
// ticks / 4800 seconds. A face without triangles is written as points.
// False, with *problem, for a face without points, a value that is not a
// finite number, or two times that fall on one glTF time.
bool WriteFaceGltf(const BlendBreakdown& face, const std::vector<float>& weights, const WeightTrack& track,
                   bool binary, std::ostream& out, std::string* problem);

}  // namespace cli

#endif
