// The conventions of the files other tools read. The scene is Z-up and its
// rotations follow the host's left-hand rule (quat.h); glTF, .chan readers
// and most 3-D packages are right-handed, and glTF and .chan are Y-up.
// Cameras look down their local -Z with +Y up in all of them, so only the
// world's axes change, never an object's own.
#ifndef MIROVA_CLI_INTERCHANGE_H
#define MIROVA_CLI_INTERCHANGE_H
#include <point3.h>
#include <quat.h>

#include <cmath>

namespace cli {

// The host's rotation as the right-handed quaternion that turns the same way
// in the same (Z-up) axes: its conjugate.
inline Quat RightHanded(const Quat& host) { return host.Conjugate(); }

// The frame the camera's field of view spans across (the host's 4:3
// output): glTF gives a lens by its vertical field of view and the frame's
// width over its height, .chan by the vertical field of view.
const double kCameraAspect = 4.0 / 3.0;

// The vertical field of view, in radians, of a camera whose horizontal one is
// fov radians across a kCameraAspect frame.
inline double VerticalFov(double fov) { return 2 * std::atan(std::tan(fov / 2.0) / kCameraAspect); }

// A point of the scene in Y-up axes: (x, y, z) becomes (x, z, -y).
Point3 YUp(const Point3& p);

// The orientation the host's rotation gives an object, as a right-handed
// quaternion in Y-up axes: the turn, then the change of axes of YUp.
Quat YUpRotation(const Quat& host);

}  // namespace cli

#endif
