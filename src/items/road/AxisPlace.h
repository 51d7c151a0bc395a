#pragma once
// Where a world point lies along a road axis: its station (distance from the axis's
// first point) and its offset across the axis, positive to the right of the direction
// in which the axis runs. Before the first point and past the last one the end segments
// go on, as when a view is set to a station, so that the two agree everywhere.

#include <optional>

#include "geometry/XYZ.h"

namespace vellmar {

class TPointList;

struct TAxisPlace {
  double Station = 0.0;  // metres from the first point, negative before it
  double Offset = 0.0;   // metres, positive to the right
};

// Nothing when the axis has no segment or the point is not a finite one.
std::optional<TAxisPlace> PlaceOnAxis(TPointList& axis, const TXYZ& point);

}  // namespace vellmar
