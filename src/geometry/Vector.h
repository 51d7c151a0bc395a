#pragma once
// Vector arithmetic on TXYZ. Every function computes in double and rounds to float
// only when it stores a TXYZ component; scalar results stay double so that callers
// comparing angles or lengths do not see a second rounding. Nothing here raises:
// a zero-length direction gives infinities or NaNs, as the rest of the program expects.

#include <span>

#include "geometry/XYZ.h"

namespace vellmar {

TXYZ MakeXYZ(double x, double y, double z);
// All three components exactly equal in value (0 equals -0, NaN equals nothing).
bool XYZEqual(const TXYZ& a, const TXYZ& b);
// The bytes of x and y identical: -0 differs from 0 here, unlike XYZEqual.
bool XYZSame2D(const TXYZ& a, const TXYZ& b);
double Slope(const TXYZ& a, const TXYZ& b);
TXYZ Midpoint(const TXYZ& a, const TXYZ& b);
TXYZ AddXYZ(const TXYZ& a, const TXYZ& b);
// The sum of all items, accumulated in double; pass list.first(n + 1) for "items 0 to n".
TXYZ SumXYZ(std::span<const TXYZ> list);
// The vector from a to b (b - a).
TXYZ SubXYZ(const TXYZ& a, const TXYZ& b);
double LengthXYZ(const TXYZ& v);
double DistanceXYZ(const TXYZ& a, const TXYZ& b);
TXYZ SetLengthXYZ(const TXYZ& v, double length);
TXYZ LerpXYZ(const TXYZ& a, const TXYZ& b, double t);
TXYZ ScaleXYZ(const TXYZ& v, double k);
TXYZ PerpLeft(const TXYZ& v);
TXYZ PerpRight(const TXYZ& v);
TXYZ Negate2D(const TXYZ& v);
// Counter-clockwise by angle radians in the x-y plane; z kept.
TXYZ RotateAngle(const TXYZ& v, double angle);
// Rotation by the direction (c, s), which need not be of unit length.
TXYZ RotateDir(const TXYZ& v, double c, double s);
// The direction of v in [0, 2*pi).
double AngleOf(const TXYZ& v);
// The angle of v counter-clockwise from dir, in [0, 2*pi).
double AngleRelative(const TXYZ& dir, const TXYZ& v);
// The angle of c->d counter-clockwise from a->b, in [0, 2*pi).
double AngleBetween(const TXYZ& a, const TXYZ& b, const TXYZ& c, const TXYZ& d);
// p reflected across the line through the origin along dir.
TXYZ MirrorAcross(const TXYZ& p, const TXYZ& dir);

}  // namespace vellmar
