#include "take_angles.h"

#include <cmath>

namespace cli {

namespace {

const double kPi = 3.14159265358979323846;
const double kDegrees = 180.0 / kPi;
// Below this cosine of the roll, pan and tilt cannot be told apart in the
// rotation's numbers.
const double kGimbalLock = 1e-6;

// v moved by whole turns to lie within half a turn of near.
double NearestTurn(double v, double near) { return v + 360.0 * std::round((near - v) / 360.0); }

TakeAngles NearestTurns(TakeAngles a, const TakeAngles& near) {
  a.pan = NearestTurn(a.pan, near.pan);
  a.tilt = NearestTurn(a.tilt, near.tilt);
  a.roll = NearestTurn(a.roll, near.roll);
  return a;
}

double SquaredDistance(const TakeAngles& a, const TakeAngles& b) {
  const double p = a.pan - b.pan, t = a.tilt - b.tilt, r = a.roll - b.roll;
  return p * p + t * t + r * r;
}

}  // namespace

Rotation operator*(const Rotation& a, const Rotation& b) {
  Rotation r;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j];
  return r;
}

Rotation AxisTurn(int axis, double degrees) {
  const double c = std::cos(degrees / kDegrees), s = std::sin(degrees / kDegrees);
  const int u = (axis + 1) % 3, v = (axis + 2) % 3;
  Rotation r;
  r.m[u][u] = r.m[v][v] = c;
  r.m[u][v] = -s;
  r.m[v][u] = s;
  return r;
}

TakeAngles TakeAnglesOf(const Rotation& rotation, const TakeAngles& previous) {
  // M = Rz(a) Ry(b) Rx(c) with a = -pan, b = -roll, c = tilt; then
  // M20 = -sin b, M00 = cos a cos b, M10 = sin a cos b, M21 = cos b sin c,
  // M22 = cos b cos c.
  const Rotation m = rotation * AxisTurn(0, -90);
  const double cosB = std::hypot(m.m[0][0], m.m[1][0]);
  const double b = std::atan2(-m.m[2][0], cosB);
  TakeAngles angles;
  angles.roll = -b * kDegrees;
  if (cosB > kGimbalLock) {
    angles.pan = -std::atan2(m.m[1][0], m.m[0][0]) * kDegrees;
    angles.tilt = std::atan2(m.m[2][1], m.m[2][2]) * kDegrees;
  } else {
    // M = Rz(a - c sin b) Ry(b): only that sum shows, in M01 and M11.
    const double sinB = b > 0 ? 1.0 : -1.0;
    const double sum = std::atan2(-m.m[0][1], m.m[1][1]) * kDegrees;
    angles.tilt = previous.tilt;
    angles.pan = -(sum + sinB * previous.tilt);
    return NearestTurns(angles, previous);
  }
  TakeAngles other = angles;
  other.pan += 180.0;
  other.tilt += 180.0;
  other.roll = 180.0 - angles.roll;
  angles = NearestTurns(angles, previous);
  other = NearestTurns(other, previous);
  return SquaredDistance(other, previous) < SquaredDistance(angles, previous) ? other : angles;
}

TakeSample TakeSampleOfYUp(const CameraPose& yUp, const TakeAngles& previous) {
  // Y-up (x, z, -y) back to the scene's (x, y, z); the rotation likewise
  // turned back by +90 degrees about X.
  TakeSample sample;
  sample.eastWest = yUp.position[0];
  sample.track = yUp.position[2];  // VTrack is -y, and y is -z in Y-up
  sample.northSouth = yUp.position[1];
  sample.angles = TakeAnglesOf(AxisTurn(0, 90) * yUp.rotation, previous);
  return sample;
}

}  // namespace cli
