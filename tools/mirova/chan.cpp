#include "chan.h"

#include <maxtypes.h>

#include <cmath>

#include "interchange.h"
#include "json.h"

namespace cli {

namespace {

const double kDegrees = 180.0 / 3.14159265358979323846;

// The column-vector matrix of a right-handed quaternion.
void ColumnMatrix(const Quat& q, double s[3][3]) {
  double x = q.x, y = q.y, z = q.z, w = q.w;
  double n = x * x + y * y + z * z + w * w;
  double k = n > 0 ? 2 / n : 0;
  s[0][0] = 1 - k * (y * y + z * z), s[0][1] = k * (x * y - w * z), s[0][2] = k * (x * z + w * y);
  s[1][0] = k * (x * y + w * z), s[1][1] = 1 - k * (x * x + z * z), s[1][2] = k * (y * z - w * x);
  s[2][0] = k * (x * z - w * y), s[2][1] = k * (y * z + w * x), s[2][2] = 1 - k * (x * x + y * y);
}

// The ZXY angles of s in degrees, rx in [-90, 90]. Looking straight up or
// down, Z and Y turn about one axis and only ry - rz (up) or ry + rz (down)
// is fixed: rz is then kept at keepRz.
void EulerOf(const double s[3][3], double keepRz, ChanPose* pose) {
  // S = Ry(b) Rx(a) Rz(g): S12 = -sin a, S10 = cos a sin g, S11 = cos a cos g,
  // S02 = sin b cos a, S22 = cos b cos a.
  double cosA = std::hypot(s[1][0], s[1][1]);
  pose->rx = std::atan2(-s[1][2], cosA) * kDegrees;
  if (cosA > 1e-6) {
    pose->rz = std::atan2(s[1][0], s[1][1]) * kDegrees;
    pose->ry = std::atan2(s[0][2], s[2][2]) * kDegrees;
  } else {
    double sinA = -s[1][2] > 0 ? 1.0 : -1.0;
    pose->rz = keepRz;
    pose->ry = std::atan2(-s[2][0], s[0][0]) * kDegrees + sinA * keepRz;
  }
}

// v moved by whole turns to lie within half a turn of near.
double NearestTurn(double v, double near) { return v + 360.0 * std::round((near - v) / 360.0); }

double SquaredDistance(const ChanPose& a, const ChanPose& b) {
  double x = a.rx - b.rx, y = a.ry - b.ry, z = a.rz - b.rz;
  return x * x + y * y + z * z;
}

// Of the two triples of the same rotation, (rx, ry, rz) and
// (180 - rx, ry + 180, rz + 180), each moved by whole turns, the one nearest
// previous.
void RunOnFrom(const ChanPose& previous, ChanPose* pose) {
  ChanPose candidates[2] = {*pose, *pose};
  candidates[1].rx = 180.0 - pose->rx;
  candidates[1].ry = pose->ry + 180.0;
  candidates[1].rz = pose->rz + 180.0;
  for (ChanPose& c : candidates) {
    c.rx = NearestTurn(c.rx, previous.rx);
    c.ry = NearestTurn(c.ry, previous.ry);
    c.rz = NearestTurn(c.rz, previous.rz);
  }
  *pose = SquaredDistance(candidates[1], previous) < SquaredDistance(candidates[0], previous)
              ? candidates[1]
              : candidates[0];
}

int FrameOf(int ticks, int fps) {
  // Sample i lies at floor(i * 4800 / fps) ticks, so i is the frame that
  // rounds the time up.
  long long scaled = static_cast<long long>(ticks) * fps;
  return static_cast<int>(scaled >= 0 ? (scaled + TIME_TICKSPERSEC - 1) / TIME_TICKSPERSEC
                                      : scaled / TIME_TICKSPERSEC);
}

}  // namespace

ChanPose ChanPoseOf(const Point3& position, const Quat& rotation, const ChanPose* previous) {
  ChanPose pose;
  Point3 p = YUp(position);
  pose.tx = p.x;
  pose.ty = p.y;
  pose.tz = p.z;
  double s[3][3];
  ColumnMatrix(YUpRotation(rotation), s);
  EulerOf(s, previous ? previous->rz : 0.0, &pose);
  if (previous) RunOnFrom(*previous, &pose);
  return pose;
}

void WriteChan(std::ostream& out, const std::vector<CameraKey>& keys, int fps, double vfov) {
  ChanPose previous;
  for (size_t i = 0; i < keys.size(); ++i) {
    ChanPose p = ChanPoseOf(keys[i].position, keys[i].rotation, i ? &previous : nullptr);
    out << FrameOf(keys[i].ticks, fps);
    for (double v : {p.tx, p.ty, p.tz, p.rx, p.ry, p.rz, vfov}) out << ' ' << JsonFloat(static_cast<float>(v));
    out << '\n';
    previous = p;
  }
}

}  // namespace cli
