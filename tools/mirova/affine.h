// Transforms of glTF nodes in plain doubles: a linear part (rotation, scale,
// shear) and a translation, acting on column vectors, and the rotation a
// camera takes from such a transform.
#ifndef MIROVA_CLI_AFFINE_H
#define MIROVA_CLI_AFFINE_H
#include "take_angles.h"

namespace cli {

// m, then t.
struct Affine {
  double m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  double t[3] = {0, 0, 0};
};

// a * b applies b first: a parent's transform times its child's.
Affine operator*(const Affine& a, const Affine& b);

// From translation, rotation (a quaternion x, y, z, w, of any length but 0)
// and scale, as a glTF node holds them: T * R * S.
Affine FromTrs(const double* t, const double* q, const double* s);
// From a glTF node's 16 numbers, column by column.
Affine FromColumnMajor(const double* matrix);

// The rotation nearest a's linear part (its orthogonal polar factor): what a
// scale or shear leaves of the turn. False when a mirrors or flattens.
bool RotationPart(const Affine& a, Rotation* rotation);

}  // namespace cli

#endif
