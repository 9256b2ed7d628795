// The inverse of "Apply To Camera": where a camera stands and how it is
// turned, as the six axis values of a motion-control take that the utility
// turns back into that very pose.
//
// The utility builds a sample's orientation from the camera's rest (looking
// down its local -Z with +Y up) by the base turn of +90 degrees about X, then
// tilt about X, roll about Y and pan about Z, each about the scene's fixed
// axes. As right-handed rotations of column vectors, in the scene's Z-up axes:
//
//   R = Rz(-pan) * Ry(-roll) * Rx(tilt) * Rx(90)
//
// so pan and tilt are the outer and inner axes and roll the middle one. At a
// roll of +-90 degrees tilt and pan turn about one line and only pan - tilt
// (roll +90) or pan + tilt (roll -90) is fixed: tilt then keeps its previous
// value and pan takes the rest.
//
// Plain arithmetic, no I/O.
#ifndef MIROVA_CLI_TAKE_ANGLES_H
#define MIROVA_CLI_TAKE_ANGLES_H

namespace cli {

// A right-handed rotation of column vectors: its columns are where the X, Y
// and Z axes go.
struct Rotation {
  double m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
};

// A camera's place: the rotation that turns it from its rest orientation, and
// its position.
struct CameraPose {
  Rotation rotation;
  double position[3] = {0, 0, 0};
};

// A take's turns, in degrees, as the take holds them (VPan, VTilt, VRoll).
struct TakeAngles {
  double pan = 0, tilt = 0, roll = 0;
};

// One sample of a take: positions in scene units and turns in degrees, as
// the take holds them.
struct TakeSample {
  double track = 0, eastWest = 0, northSouth = 0;
  TakeAngles angles;
};

// The turns that give rotation (Z-up). Of the triples that do, the one
// nearest previous: (pan, tilt, roll) and (pan + 180, tilt + 180, 180 - roll),
// each moved by whole turns, so that a pan through 360 degrees keeps counting
// and no axis jumps by a whole turn.
TakeAngles TakeAnglesOf(const Rotation& rotation, const TakeAngles& previous);

// The sample that puts the camera at pose, given in Y-up axes (glTF, .chan:
// the scene's (x, y, z) held as (x, z, -y)). Angles nearest previous's.
TakeSample TakeSampleOfYUp(const CameraPose& yUp, const TakeAngles& previous);

// Multiplies two rotations: a * b turns by b first.
Rotation operator*(const Rotation& a, const Rotation& b);
// About the X, Y or Z axis (0, 1, 2) by degrees, right-handed.
Rotation AxisTurn(int axis, double degrees);

}  // namespace cli

#endif
