#pragma once
// Lengths, areas and nearest points of polylines on the plan, in double precision over
// the single coordinates they are stored in. z is ignored: plans are flat.

#include <span>

#include "geometry/XYZ.h"

namespace vellmar {

// The sum of the segments' lengths; closed adds the segment from the last point back to
// the first.
double PolylineLength(std::span<const TXYZ> points, bool closed);
// The area the ring of points encloses (the polyline closed back to its start), always
// positive, whichever way the ring runs; 0 for fewer than three points.
double RingArea(std::span<const TXYZ> points);
// The point of the segment a-b (not of its line) nearest to p; a when the two coincide.
TXYZ NearestOnSegment(const TXYZ& p, const TXYZ& a, const TXYZ& b);
// Distances in the plane.
double PlanarDistance(const TXYZ& a, const TXYZ& b);
double SegmentDistance(const TXYZ& p, const TXYZ& a, const TXYZ& b);

}  // namespace vellmar
