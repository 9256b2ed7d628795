// The camera track as a .chan file, the plain text that compositing and 3-D
// packages read: one line per key, "frame tx ty tz rx ry rz vfov", the last
// the vertical field of view in degrees, as the readers take it.
//
// Conventions of the file: Y up, so our Z-up (x, y, z) is written as
// (x, z, -y); right-handed rotations as Euler angles in degrees in ZXY order
// (about Z first, then X, then Y: R = Ry * Rx * Rz for column vectors); a
// camera at rotation 0 looks down its local -Z with +Y up, as ours does.
// Readers interpolate each angle on its own, so the angles run on from key
// to key instead of jumping by whole turns.
#ifndef MIROVA_CLI_CHAN_H
#define MIROVA_CLI_CHAN_H
#include <point3.h>
#include <quat.h>

#include <ostream>
#include <vector>

namespace cli {

// One key of the camera: time in ticks, position in the scene's Z-up axes and
// the rotation key as the host stores it (left-hand rule), which turns the
// camera from its rest orientation.
struct CameraKey {
  int ticks = 0;
  Point3 position;
  Quat rotation;
};

// A key as the file gives it: translation in Y-up space and ZXY Euler angles
// in degrees.
struct ChanPose {
  double tx = 0, ty = 0, tz = 0;
  double rx = 0, ry = 0, rz = 0;
};

// The key's pose. Of the Euler triples that give its rotation, the one
// nearest previous's angles; without previous, rx in [-90, 90] and ry, rz in
// [-180, 180].
ChanPose ChanPoseOf(const Point3& position, const Quat& rotation, const ChanPose* previous = nullptr);

// Writes one line per key; a key's frame is its time in frames of fps (the
// take's own rate), so that sample i is frame i; vfov (degrees) on each.
void WriteChan(std::ostream& out, const std::vector<CameraKey>& keys, int fps, double vfov);

}  // namespace cli

#endif
