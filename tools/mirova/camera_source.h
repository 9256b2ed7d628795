// A camera move read from another tool's file (glTF, .chan), asked for the
// camera's pose at the times a take samples it.
#ifndef MIROVA_CLI_CAMERA_SOURCE_H
#define MIROVA_CLI_CAMERA_SOURCE_H
#include <memory>
#include <string>

#include "take_angles.h"

namespace cli {

class CameraSource {
 public:
  virtual ~CameraSource() = default;

  // The first and the last key's time, in the source's own unit (seconds or
  // frames).
  virtual double FirstTime() const = 0;
  virtual double LastTime() const = 0;
  // The time `frames` frames of the take's rate after start, as the source
  // keeps times: the take's sample there is keyed where the source's camera
  // stands at that time. Never decreases as frames grows.
  virtual double SampleTime(double start, long long frames) const = 0;
  // The camera's pose at time, in Y-up axes; false, with *problem, when it
  // has none there (its transform mirrors or flattens it).
  virtual bool PoseAt(double time, CameraPose* pose, std::string* problem) = 0;
};

// What a reader made of a file: the move, or why there is none.
struct CameraRead {
  std::unique_ptr<CameraSource> source;  // null when the file gives no move
  int status = 0;        // when source is null: EXIT_USAGE for a file that cannot be read as
                         // its kind, EXIT_REFUSED for one that holds no move to take
  std::string problem;   // when source is null: "FILE[:LINE]: what", naming the node or line
  std::string note;      // "FILE: what was left out", or ""
};

}  // namespace cli

#endif
