#pragma once
// A band of even width along a polyline whose segments meet in joins rather than in
// square ends: square ends leave a wedge gap outside every corner and a notch at every
// sharp apex. A mitre closes the corner while its tip stays near the line; beyond that
// a bevel does, so that a sharp apex grows no spike.

#include <cstddef>

#include "geometry/XYZ.h"

namespace vellmar {

// A mitre's tip lies at most this many half widths from the corner (twice the band's
// width): corners of about 29 degrees and wider are mitred, sharper ones bevelled.
inline constexpr double kMitreLimit = 4.0;

// The band's triangles (three points each) along points[first..last], halfWidth to
// either side; its two ends are square. Segments of no length are passed over; nothing
// when fewer than two distinct points remain.
TXYZArray JoinedBandTriangles(const TXYZArray& points, size_t first, size_t last, double halfWidth,
                              double mitreLimit = kMitreLimit);

}  // namespace vellmar
