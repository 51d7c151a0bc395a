#pragma once
// What the viewer's tools draw over the plan after the street, in world coordinates but
// sized in screen pixels so it reads the same at every scale: wide lines (the identified
// item's outline, the measured line) and the marks of points (where a measurement snaps).

#include <cstdint>

#include "geometry/XYZ.h"

namespace vellmar {

class TdxRenderer;

// The shapes of point marks.
enum class TPointMark { Square, Diamond, Cross };

class TPlanOverlay {
 public:
  // pixelSize: world units per device pixel of the view being drawn.
  TPlanOverlay(TdxRenderer& renderer, double pixelSize) : renderer_(renderer), pixelSize_(pixelSize) {}

  // A line widthPixels wide along the points, closed back to its start when asked.
  void Line(TXYZArray points, bool closed, double widthPixels, uint32_t colour) const;
  // A mark of the given half size round the point, its outline widthPixels wide.
  void Mark(const TXYZ& at, TPointMark shape, double halfPixels, double widthPixels, uint32_t colour) const;

 private:
  TdxRenderer& renderer_;
  double pixelSize_;
};

}  // namespace vellmar
