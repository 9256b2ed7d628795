// What mirova camera writes of the keyed camera: JSON, .chan or glTF.
#ifndef MIROVA_CLI_CAMERA_REPORT_H
#define MIROVA_CLI_CAMERA_REPORT_H
#include <inode.h>

#include <ostream>
#include <string>
#include <vector>

#include "camera_panel.h"
#include "chan.h"
#include "messages.h"

namespace cli {

// The camera at each of its position keys, and its horizontal field of view
// in radians.
std::vector<CameraKey> CameraKeys(INode* camera);
float CameraFov(INode* camera);

// The camera's keys in format ("json", "chan" or "gltf"; glTF as GLB when
// binary), with what the panel showed of the take. False, with *problem,
// when the keys do not fit the format.
bool WriteCameraReport(INode* camera, const PanelTake& take, const MessageLog& messages, const std::string& format,
                       bool binary, std::ostream& to, std::string* problem);

}  // namespace cli

#endif
