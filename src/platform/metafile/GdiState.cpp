#include "platform/metafile/GdiState.h"

#include <algorithm>
#include <cmath>

namespace vellmar {

namespace {

// Millimetres of one logical unit of a fixed map mode.
double MillimetresPerUnit(int mapMode) {
  switch (mapMode) {
    case kMmLoMetric: return 0.1;
    case kMmHiMetric: return 0.01;
    case kMmLoEnglish: return 0.254;
    case kMmHiEnglish: return 0.0254;
    case kMmTwips: return 25.4 / 1440;
    default: return 0;
  }
}

}  // namespace

cairo_matrix_t PageToDevice(const TGdiState& state, double pixelsPerMmX, double pixelsPerMmY) {
  double sx = 1;
  double sy = 1;
  if (const double mm = MillimetresPerUnit(state.MapMode); mm > 0) {
    sx = mm * pixelsPerMmX;
    sy = -mm * pixelsPerMmY;
  } else if (state.MapMode == kMmIsotropic || state.MapMode == kMmAnisotropic) {
    sx = state.ViewportExt.X / state.WindowExt.X;
    sy = state.ViewportExt.Y / state.WindowExt.Y;
    if (state.MapMode == kMmIsotropic) {
      // Both axes take the smaller scale; each keeps its own direction.
      const double scale = std::min(std::abs(sx), std::abs(sy));
      sx = std::copysign(scale, sx);
      sy = std::copysign(scale, sy);
    }
  }
  return {sx, 0, 0, sy, state.ViewportOrg.X - state.WindowOrg.X * sx, state.ViewportOrg.Y - state.WindowOrg.Y * sy};
}

}  // namespace vellmar
