// A face and its morph targets as glTF 2.0: one node with one mesh whose
// morph targets are the expression shapes, with set weights and, when given,
// an animation of the weights. Mesh coordinates are written as they come:
// OBJ files conventionally hold them Y-up, as glTF does.
#ifndef MIROVA_CLI_GLTF_FACE_H
#define MIROVA_CLI_GLTF_FACE_H
#include <point3.h>

#include <ostream>
#include <string>
#include <vector>

namespace cli {

struct MorphTarget {
  std::string name;  // shown to the user (mesh.extras.targetNames)
  int channel = 0;   // the expression channel that weights it
  std::vector<Point3> deltas;  // what the target adds to each point at weight 1
};

struct MorphMesh {
  std::vector<Point3> points;
  std::vector<unsigned> triangles;  // three point indices each
  std::vector<MorphTarget> targets;
};

// Weights over time: one value per target at each time, time by time.
struct WeightTrack {
  std::vector<int> ticks;
  std::vector<float> weights;
};

// Writes the mesh with weights (one per target) as its set weights and, when
// track has times, a LINEAR "weights" animation at ticks / 4800 seconds. A
// mesh without triangles is written as points. False, with *problem, for a
// mesh without points, a value that is not a finite number, or two times
// that fall on one glTF time.
bool WriteFaceGltf(const MorphMesh& mesh, const std::vector<float>& weights, const WeightTrack& track,
                   bool binary, std::ostream& out, std::string* problem);

}  // namespace cli

#endif
