#pragma once
// Products, inverses and point transforms of TMatrix44 (row vectors, translation in
// row 3). Computed in double, stored as float.

#include "geometry/Matrix44.h"
#include "geometry/XYZ.h"

namespace vellmar {

constexpr TMatrix44 MatrixIdentity() {
  TMatrix44 m;
  m.m[0] = m.m[5] = m.m[10] = m.m[15] = 1.0f;
  return m;
}

// a x b: a point mapped by the result goes through a first, then b.
TMatrix44 MatrixMultiply(const TMatrix44& a, const TMatrix44& b);
// The inverse, with the translation split off before Gauss-Jordan elimination so that
// a pure translation inverts exactly. A singular matrix has no inverse: every element
// of the result is NaN, so whatever it maps is visibly undefined rather than wrong.
TMatrix44 MatrixInvert(const TMatrix44& m);
// (p, 1) x m with x, y and z divided by the resulting w.
TXYZ MatrixTransformPoint(const TMatrix44& m, const TXYZ& p);
// The plane through p whose normal is q - p.
TPlane PlaneThrough(const TXYZ& p, const TXYZ& q);

}  // namespace vellmar
