#pragma once
// Filled areas of a plan as the viewer fills them: every outline an item draws is a ring,
// and a point is inside when a ray from it crosses the rings an odd number of times (the
// even-odd rule), so holes and self-crossing outlines come out as drawn. The results are
// simple polygons (an outer ring, then its holes) in plan metres, which GIS formats take
// as they are. Computed through GEOS; every call owns what it makes.

#include <vector>

#include "geometry/XYZ.h"

namespace vellmar {

struct TPlanXY {
  double X = 0.0;
  double Y = 0.0;
  bool operator==(const TPlanXY&) const = default;
};

using TPlanRing = std::vector<TPlanXY>;  // closed: the last point repeats the first

struct TPlanPolygon {
  std::vector<TPlanRing> Rings;  // [0] the outer ring, then the holes
};

// The even-odd area of the rings as simple polygons; rings of fewer than three distinct
// points enclose nothing. Raises "EvenOddPolygons: ..." when GEOS cannot work the
// outlines out (coordinates that are not finite numbers).
std::vector<TPlanPolygon> EvenOddPolygons(const std::vector<TXYZArray>& rings);

// The area of the polygons (holes subtracted).
double PolygonsArea(const std::vector<TPlanPolygon>& polygons);

// The area covered by any of the polygons, overlaps and shared edges counted once.
double UnionArea(const std::vector<TPlanPolygon>& polygons);
// That area as simple polygons: those that overlap or share an edge are merged.
std::vector<TPlanPolygon> UnionPolygons(const std::vector<TPlanPolygon>& polygons);

}  // namespace vellmar
