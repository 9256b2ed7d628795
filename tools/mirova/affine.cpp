#include "affine.h"

#include <algorithm>
#include <cmath>

namespace cli {

namespace {

double Determinant(const double m[3][3]) {
  return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
         m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

}  // namespace

Affine operator*(const Affine& a, const Affine& b) {
  Affine r;
  for (int i = 0; i < 3; ++i) {
    r.t[i] = a.t[i];
    for (int j = 0; j < 3; ++j) {
      r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j];
      r.t[i] += a.m[i][j] * b.t[j];
    }
  }
  return r;
}

Affine FromTrs(const double* t, const double* q, const double* s) {
  const double x = q[0], y = q[1], z = q[2], w = q[3];
  const double n = x * x + y * y + z * z + w * w, k = n > 0 ? 2 / n : 0;
  const double r[3][3] = {{1 - k * (y * y + z * z), k * (x * y - w * z), k * (x * z + w * y)},
                          {k * (x * y + w * z), 1 - k * (x * x + z * z), k * (y * z - w * x)},
                          {k * (x * z - w * y), k * (y * z + w * x), 1 - k * (x * x + y * y)}};
  Affine a;
  for (int i = 0; i < 3; ++i) {
    a.t[i] = t[i];
    for (int j = 0; j < 3; ++j) a.m[i][j] = r[i][j] * s[j];
  }
  return a;
}

Affine FromColumnMajor(const double* matrix) {
  Affine a;
  for (int i = 0; i < 3; ++i) {
    a.t[i] = matrix[12 + i];
    for (int j = 0; j < 3; ++j) a.m[i][j] = matrix[j * 4 + i];
  }
  return a;
}

// Newton's iteration x' = (g x + x^-T / g) / 2, scaled by g = det^(-1/3) so
// that a large or small scale takes no more steps; a rotation is its own
// polar factor and stops it at once.
bool RotationPart(const Affine& a, Rotation* rotation) {
  Rotation x;
  double size = 0;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) x.m[i][j] = a.m[i][j], size = std::max(size, std::fabs(a.m[i][j]));
  for (int step = 0; step < 40; ++step) {
    const double det = Determinant(x.m);
    if (!(det > 1e-12 * size * size * size)) return false;
    const double g = std::cbrt(1 / det);
    Rotation next;
    double change = 0;
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) {
        // x^-T is the matrix of cofactors over the determinant.
        const int i1 = (i + 1) % 3, i2 = (i + 2) % 3, j1 = (j + 1) % 3, j2 = (j + 2) % 3;
        const double cofactor = x.m[i1][j1] * x.m[i2][j2] - x.m[i1][j2] * x.m[i2][j1];
        next.m[i][j] = (g * x.m[i][j] + cofactor / (det * g)) / 2;
        change = std::max(change, std::fabs(next.m[i][j] - x.m[i][j]));
      }
    x = next;
    size = 1;
    if (change < 1e-14) break;
  }
  *rotation = x;
  return true;
}

}  // namespace cli
