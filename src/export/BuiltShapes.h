#pragma once
// The shapes an item's last build put into its kind's collections, for the kinds whose
// whole content is generated (a crossing's stripes): what the plan shows of them.

#include <vector>

#include "export/PlanPolygon.h"
#include "geometry/XYZ.h"

namespace vellmar {

class TAbstractItem;

// The item's triangles, three points each, from its kind's triangle collections.
TXYZArray BuiltTriangles(const TAbstractItem& item);

// The area the triangles cover, as simple polygons (overlaps and shared edges merged).
std::vector<TPlanPolygon> TrianglesUnion(const TXYZArray& triangles);

}  // namespace vellmar
