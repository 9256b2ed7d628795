#include "interchange.h"

#include <cmath>

namespace cli {

Point3 YUp(const Point3& p) { return Point3(p.x, p.z, -p.y); }

Quat YUpRotation(const Quat& host) {
  // YUp is the right-handed turn by -90 degrees about X; the Hamilton product
  // toYUp r applies r first.
  const float half = std::sqrt(0.5f);
  const Quat toYUp(-half, 0.0f, 0.0f, half);
  return toYUp * RightHanded(host);
}

}  // namespace cli
