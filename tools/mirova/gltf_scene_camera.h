// The keyed camera put into a user's glTF scene (mirova camera --into): a
// node with the camera mirova camera --format gltf writes and one
// animation, everything else in the scene kept (gltf_document.h).
#ifndef MIROVA_CLI_GLTF_SCENE_CAMERA_H
#define MIROVA_CLI_GLTF_SCENE_CAMERA_H
#include <ostream>
#include <string>
#include <vector>

#include "chan.h"
#include "gltf_edit.h"

namespace cli {

class GltfSceneCamera {
 public:
  // Reads the scene and finds the node called name. EXIT_OK; otherwise,
  // said on err, EXIT_USAGE for a file that is no glTF, EXIT_REFUSED when
  // two nodes have that name or the node is placed by a matrix (which no
  // animation may drive).
  int Load(const std::string& scenePath, const std::string& name, std::ostream& err);

  // Keys the node called name with keys (see WriteCameraGltf): a new node
  // at the first key, among the default scene's roots, holding a camera of
  // fov radians across; or the node of that name, which keeps its place at
  // rest and its camera (it is given one when it has none). The animation,
  // named as the node, replaces the one this tool made for it before.
  // Writes the scene to out (GLB when binary) and copies the files it names
  // beside output. False, with *problem, when it cannot be written.
  bool Write(const std::vector<CameraKey>& keys, float fov, const std::string& output, bool binary, std::ostream& out,
             std::ostream& err, std::string* problem);

 private:
  long long AddNode(const std::vector<float>& translations, const std::vector<float>& rotations, float fov,
                    std::ostream& err);

  GltfDocument doc;
  std::string name;
  long long node = -1;  // the node of that name, when the scene has one
};

}  // namespace cli

#endif
