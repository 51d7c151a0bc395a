#pragma once
// The view that lays a sheet of paper over the plan at a drawing scale: the paper's
// middle on a world point, its width across the whole target, turned with the paper.
// The printed pages of a street (its plan sheets, the current view) are drawn with it.

#include "document/ViewState.h"
#include "render/DxDrawParams.h"

namespace vellmar {

class TdxRenderer;

// The view showing WorldWidth world units across, centred on Centre, the paper's x
// axis running along Angle (radians, counter-clockwise from the world's x axis).
TViewState PaperViewState(const TXYZ& Centre, double Angle, double WorldWidth);

// SetupViewMatrices for a target that is the paper in pixels, its height put right:
// pixel sizes are rounded, the paper's aspect is not, and a page must be true to
// scale along both sides. Returns the frame's draw parameters, their radius reaching
// the corners of paper taller than wide too.
TDxDrawParams SetupPaperView(TdxRenderer& Renderer, const TViewState& View, double WidthMm, double HeightMm);

}  // namespace vellmar
