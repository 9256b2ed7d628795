// Which of a rig's morph targets the expression object's eleven channels
// drive, by the targets' names: each channel drives any number of targets,
// each by a factor (the target's weight gains channel weight x factor), and
// several channels may add into one target. The built-in preset speaks the
// 52-name convention of face-capture apps and avatar platforms; a map file
// replaces it wholly.
#ifndef MIROVA_CLI_RIG_MAP_H
#define MIROVA_CLI_RIG_MAP_H
#include <string>
#include <vector>

#include "channels.h"

namespace cli {

struct RigDrive {
  std::string target;  // the morph target's name, as the rig spells it
  double factor = 1.0;
};

struct RigMap {
  std::vector<RigDrive> drives[NUM_CHANNELS];  // by channel index
};

// The preset for the 52-name convention. "Left" is the performer's left
// there as in the recording's marker names (eyelid_left ...), so each of our
// Left channels drives the convention's ...Left targets.
const RigMap& PresetRigMap();

// Reads a map file: {"Mouth Vertical": {"jawOpen": 1.0}, ...}, keyed by the
// channels' names (expressionChannels[c].name), each holding target names
// and finite factors. False, with *error "PATH:LINE: why", for a file that
// is no such map (a channel or a target named twice, an unknown channel,
// a factor that is no number).
bool ReadRigMap(const std::string& path, RigMap* map, std::string* error);

// Every target the map names, once each, in the order first named.
std::vector<std::string> MappedTargets(const RigMap& map);

}  // namespace cli

#endif
