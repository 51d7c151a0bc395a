#pragma once
// Curved glyph edges as straight runs of points: every spline segment is evaluated at
// a fixed number of evenly spaced parameters, so a glyph is flattened once for all
// zooms and the result is the same on every machine.

#include <span>

#include "geometry/XYZ.h"

namespace vellmar {

inline constexpr int kPointsPerSplineSegment = 5;

// A quadratic spline through control points C0 ... Cm, in the way glyph outlines hand
// them over: the first and last points lie on the curve, the inner ones are controls
// with implied on-curve points halfway between neighbours. Two points make one
// straight segment, three one parabola, m + 1 >= 4 make m - 1 parabolas. With N
// segments the result holds PointsPerSegment * N points at evenly spaced parameters
// t = i / (PointsPerSegment * N - 1) over the whole spline; the ends are C0 and Cm.
// Fewer than two points give nothing.
TXYZArray FlattenQuadraticSpline(std::span<const TXYZ> Controls,
                                 int PointsPerSegment = kPointsPerSplineSegment);

// One cubic Bezier segment from Start to End, as PointsPerSegment points at evenly
// spaced parameters, both ends included.
TXYZArray FlattenCubicSegment(const TXYZ& Start, const TXYZ& Control1, const TXYZ& Control2, const TXYZ& End,
                              int PointsPerSegment = kPointsPerSplineSegment);

}  // namespace vellmar
