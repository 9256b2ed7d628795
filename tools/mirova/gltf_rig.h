// A user's glTF rig driven by the expression object: its meshes' morph
// targets found by name, the map's channels weighted onto them at every
// frame, and one animation added to the file, everything else in it kept
// (gltf_document.h).
#ifndef MIROVA_CLI_GLTF_RIG_H
#define MIROVA_CLI_GLTF_RIG_H
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "blend_breakdown.h"
#include "gltf_edit.h"
#include "library_access.h"
#include "rig_map.h"

class ExpressionObject;

namespace cli {

// One mesh's morph targets as the map drives them.
struct RigMesh {
  std::vector<std::string> names;                           // one per target
  std::vector<std::pair<double, double>> ranges;            // each target's weight is clamped to these
  std::vector<std::vector<std::pair<int, double>>> drives;  // per target: channel and factor
  bool Driven() const;
};

class GltfRig {
 public:
  // Reads the rig and the map (the preset when mapPath is empty) and finds
  // the map's targets among the rig's. EXIT_OK; otherwise, said on err,
  // EXIT_USAGE for a file that is no glTF or no map, EXIT_REFUSED for a
  // rig that has none of the map's targets. Targets the map names and the
  // rig lacks are said on err.
  int Load(const std::string& rigPath, const std::string& mapPath, std::ostream& err);

  // Drives the rig with the channels of obj, weighted at every scene frame
  // its keys span (as mirova face --format gltf samples them): every node
  // whose mesh has a mapped target gets a LINEAR "weights" channel in an
  // animation named after the recording (its file name less the
  // extension), which replaces one of that name this tool added before.
  // Writes the rig to out (GLB when output ends in .glb) and copies the
  // files it names beside output. False, with *problem, when it cannot be
  // written; keys moved to start at 0 are said in *note.
  bool Drive(const LibraryAccess& library, ExpressionObject* obj, const std::string& recording,
             const std::string& output, std::ostream& out, std::ostream& err, std::string* problem, std::string* note);

 private:
  // channels: NUM_CHANNELS weights at each of its ticks.
  bool Write(const WeightTrack& channels, const std::string& name, const std::string& output, bool binary,
             std::ostream& out, std::ostream& err, std::string* problem);

  GltfDocument doc;
  std::vector<RigMesh> meshes;  // by the rig's mesh index
};

}  // namespace cli

#endif
