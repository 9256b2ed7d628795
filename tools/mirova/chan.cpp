#include "chan.h"

#include <matrix3.h>
#include <maxtypes.h>

#include <cmath>

#include "json.h"

namespace cli {

namespace {

const double kDegrees = 180.0 / 3.14159265358979323846;

// The world-from-camera rotation in Y-up space, for column vectors: the
// scene's rotation (rows of m are the camera's axes in Z-up space) followed by
// the change of axes (x, y, z) -> (x, z, -y). The camera's own axes stay as
// they are: both conventions look down local -Z with +Y up.
void YUpRotation(const Quat& q, double s[3][3]) {
  Matrix3 m;
  q.MakeMatrix(m);
  for (int c = 0; c < 3; ++c) {
    s[0][c] = m[c].x;
    s[1][c] = m[c].z;
    s[2][c] = -m[c].y;
  }
}

int FrameOf(int ticks, int fps) {
  // Sample i lies at floor(i * 4800 / fps) ticks, so i is the frame that
  // rounds the time up.
  long long scaled = static_cast<long long>(ticks) * fps;
  return static_cast<int>(scaled >= 0 ? (scaled + TIME_TICKSPERSEC - 1) / TIME_TICKSPERSEC
                                      : scaled / TIME_TICKSPERSEC);
}

}  // namespace

ChanPose ChanPoseOf(const Point3& position, const Quat& rotation) {
  ChanPose pose;
  pose.tx = position.x;
  pose.ty = position.z;
  pose.tz = -position.y;
  // S = Ry(b) Rx(a) Rz(g): S12 = -sin a, S10 = cos a sin g, S11 = cos a cos g,
  // S02 = sin b cos a, S22 = cos b cos a.
  double s[3][3];
  YUpRotation(rotation, s);
  double cosA = std::hypot(s[1][0], s[1][1]);
  pose.rx = std::atan2(-s[1][2], cosA) * kDegrees;
  if (cosA > 1e-6) {
    pose.rz = std::atan2(s[1][0], s[1][1]) * kDegrees;
    pose.ry = std::atan2(s[0][2], s[2][2]) * kDegrees;
  } else {  // looking straight up or down: Z and Y turn about one axis
    pose.rz = 0.0;
    pose.ry = std::atan2(-s[2][0], s[0][0]) * kDegrees;
  }
  return pose;
}

void WriteChan(std::ostream& out, const std::vector<CameraKey>& keys, int fps) {
  for (const CameraKey& key : keys) {
    ChanPose p = ChanPoseOf(key.position, key.rotation);
    out << FrameOf(key.ticks, fps);
    for (double v : {p.tx, p.ty, p.tz, p.rx, p.ry, p.rz}) out << ' ' << JsonFloat(static_cast<float>(v));
    out << '\n';
  }
}

}  // namespace cli
