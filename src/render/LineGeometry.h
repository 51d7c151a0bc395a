#pragma once
// Geometry shared by everything that lays a band or a texture along a polyline: the
// running length for texture U, and the direction in which a point of the polyline is
// offset sideways (unit normal at the ends, miter offset in between).

#include <cstddef>
#include <vector>

#include "geometry/XYZ.h"

namespace vellmar {

// Length along Points[First..Last] from Points[First] to each point, in double;
// element 0 is 0. Empty when Last < First.
std::vector<double> PolylineLengths(const TXYZArray& Points, size_t First, size_t Last);

// The vector that, scaled by an offset, moves point I of the polyline Points[First..Last]
// sideways by that offset to the left of the direction of travel: the unit left normal
// of the first or last segment at the ends, MiterOffset in between (no miter limit).
// Needs Last > First.
TXYZ OffsetDirection(const TXYZArray& Points, size_t First, size_t Last, size_t I);

}  // namespace vellmar
