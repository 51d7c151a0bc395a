#include "document/PaperView.h"

#include <algorithm>

#include "render/DxRenderer.h"

namespace vellmar {

TViewState PaperViewState(const TXYZ& Centre, double Angle, double WorldWidth) {
  TViewState view;
  view.Centre = Centre;
  view.Scale = static_cast<float>(2.0 / WorldWidth);
  // The view turns the plan back by its rotation: the paper's axis becomes horizontal.
  view.Rotation = static_cast<float>(-Angle);
  return view;
}

TDxDrawParams SetupPaperView(TdxRenderer& Renderer, const TViewState& View, double WidthMm, double HeightMm) {
  SetupViewMatrices(Renderer, View);
  const double pixelAspect = double{1.0} * Renderer.Width() / Renderer.Height();
  Renderer.Projection().Scale(true, 1.0, WidthMm / HeightMm / pixelAspect, 1.0);
  Renderer.UpdateViewPlane();
  TDxDrawParams params = ViewDrawParams(Renderer, View);
  params.Radius *= static_cast<float>(std::max(1.0, HeightMm / WidthMm));
  return params;
}

}  // namespace vellmar
