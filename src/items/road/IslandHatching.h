#pragma once
// The hatching of a traffic island, computed from its control points and its evaluated
// outline: quads (four corners each: one stripe edge's axis and chain ends, then the
// other edge's) in world coordinates. The island item draws them; this computes only.

#include <cstdint>
#include <vector>

#include "geometry/XYZ.h"

namespace vellmar {

struct TIslandOutline {
  TXYZArray Controls;                // the control points
  TXYZArray Polyline;                // the evaluated outline
  std::vector<int32_t> VertexIndex;  // each control point's index in Polyline
};

// 1.16.1 (type 0), 1.16.2 (1), 1.16.3 (2): up to four stripes on either side of the axis
// from the apex (control point mainPoint) to the last control point, sloped by the
// island's opening.
TXYZArray ApexHatch(const TIslandOutline& island, int32_t mainPoint, int32_t type);
// The rules kept for islands stored before the current ones: the same types, stripes
// at a fixed pitch and at an angle from the opening at the apex.
TXYZArray EarlierApexHatch(const TIslandOutline& island, int32_t mainPoint, int32_t type);
// 1.16.4*: stripes parallel to the edge from control point 1 to 0, stepped along the
// outline from control point 1 on.
TXYZArray ParallelHatch(const TIslandOutline& island);
// 1.16.5*: one stripe along each pair of control points (1, 2), (3, 4), ...
TXYZArray PlacedHatch(const TIslandOutline& island);

}  // namespace vellmar
