#include "shell/plan/PlanOverlay.h"

#include "render/DxRenderer.h"

namespace vellmar {

void TPlanOverlay::Line(TXYZArray points, bool closed, double widthPixels, uint32_t colour) const {
  if (closed && points.size() >= 3) points.push_back(points.front());
  if (points.size() < 2) return;
  const double half = widthPixels * pixelSize_ / 2;
  renderer_.DrawRibbon(points, colour, -half, half);
}

void TPlanOverlay::Mark(const TXYZ& at, TPointMark shape, double halfPixels, double widthPixels, uint32_t colour) const {
  const auto offset = [&](double dx, double dy) {
    return TXYZ{static_cast<float>(at.x + dx * halfPixels * pixelSize_), static_cast<float>(at.y + dy * halfPixels * pixelSize_), at.z};
  };
  switch (shape) {
    case TPointMark::Square:
      Line({offset(-1, -1), offset(1, -1), offset(1, 1), offset(-1, 1)}, true, widthPixels, colour);
      break;
    case TPointMark::Diamond:
      Line({offset(0, -1), offset(1, 0), offset(0, 1), offset(-1, 0)}, true, widthPixels, colour);
      break;
    case TPointMark::Cross:
      Line({offset(-1, -1), offset(1, 1)}, false, widthPixels, colour);
      Line({offset(-1, 1), offset(1, -1)}, false, widthPixels, colour);
      break;
  }
}

}  // namespace vellmar
