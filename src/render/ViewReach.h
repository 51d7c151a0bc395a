#pragma once
// Whether something drawn every frame can show in the view: a rectangle placed on the
// plan by a matrix is culled by its own bounding circle, not by the point it hangs from,
// which may lie well outside the view while the picture is in it (a plate mounted low
// on its post, a block's picture beside its anchor).

#include "geometry/Matrix.h"
#include "render/DxDrawParams.h"

namespace vellmar {

// The rectangle (x0, y0) to (x1, y1) under placed (row vectors, as the matrix shell
// multiplies) reaches into the view's circle. A placement that is not finite reaches
// nowhere.
bool PlacedRectReachesView(const TMatrix44& placed, double x0, double y0, double x1, double y1,
                           const TDxDrawParams& params);

}  // namespace vellmar
