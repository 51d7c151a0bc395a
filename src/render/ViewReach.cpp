#include "render/ViewReach.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace vellmar {

bool PlacedRectReachesView(const TMatrix44& placed, double x0, double y0, double x1, double y1,
                           const TDxDrawParams& params) {
  const std::array<TXYZ, 4> corners = {
      MatrixTransformPoint(placed, {static_cast<float>(x0), static_cast<float>(y0), 0}),
      MatrixTransformPoint(placed, {static_cast<float>(x1), static_cast<float>(y0), 0}),
      MatrixTransformPoint(placed, {static_cast<float>(x1), static_cast<float>(y1), 0}),
      MatrixTransformPoint(placed, {static_cast<float>(x0), static_cast<float>(y1), 0})};
  double cx = 0, cy = 0;
  for (const TXYZ& c : corners) {
    cx += c.x / 4.0;
    cy += c.y / 4.0;
  }
  double radius = 0;
  for (const TXYZ& c : corners) radius = std::max(radius, std::hypot(c.x - cx, c.y - cy));
  const double distance = std::hypot(cx - params.Centre.x, cy - params.Centre.y);
  // NaN compares false, so a placement of infinities or NaNs is never drawn.
  return distance - radius <= params.Radius;
}

}  // namespace vellmar
