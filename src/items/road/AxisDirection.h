#pragma once
// The direction of an item's road axis where it passes a point, which the road kinds'
// symbols and captions turn by.

#include <optional>

#include "geometry/XYZ.h"

namespace vellmar {

class TAbstractItem;

// The direction (radians, counter-clockwise from +x) of item's reference axis at the
// projection of at; none when the item has no axis of at least two points.
std::optional<double> AxisDirectionAt(const TAbstractItem& item, const TXYZ& at);

}  // namespace vellmar
