#pragma once
// The view that looks at a station of a road axis: centred on the axis point at that
// distance from the axis's first point, turned so that the axis runs from left to right
// there. Before the start or past the end the first or last segment goes on. Used when a
// station is pointed at from outside and by going to a station.

#include <optional>

#include "document/ViewState.h"

namespace vellmar {

class TPointList;

// The view with centre and rotation set for the station, its scale kept. Nothing when
// the axis has no segment or the place is not a finite one (a damaged station, or a
// segment of no length at the place), so that a view is never made unusable.
std::optional<TViewState> ViewAtStation(TPointList& axis, double station, TViewState view);

}  // namespace vellmar
