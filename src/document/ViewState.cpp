#include "document/ViewState.h"

#include <algorithm>
#include <cmath>

#include "document/StreetStructure.h"
#include "render/DxRenderer.h"

namespace vellmar {

namespace {

// Scale of a street without points to fit, and of a view never set when it is drawn.
constexpr float kEmptyFitScale = 0.01f;
constexpr float kUnsetDrawScale = 0.02f;

}  // namespace

TViewState StreetView(const TStreetStructure& street) {
  return {street.ViewCentre(), street.ViewScale(), street.ViewAngle()};
}

TViewState FitStreetView(TStreetStructure& street) {
  TViewState view;
  if (street.Points().Count() < 2) {
    view.Scale = kEmptyFitScale;
    return view;
  }
  const TPointBounds b = street.Points().GetBounds();
  view.Centre = {static_cast<float>((double{b[0]} + b[2]) / 2), static_cast<float>((double{b[1]} + b[3]) / 2),
                 0.0f};
  const double extent = std::max(double{b[2]} - b[0], double{b[3]} - b[1]);
  view.Scale = static_cast<float>(1.0 / (extent + 1.0));
  return view;
}

TViewState FitStreetViewTo(TStreetStructure& street, int width, int height) {
  TViewState view = FitStreetView(street);
  if (width <= 0 || height <= 0 || street.Points().Count() < 2) return view;
  const TPointBounds b = street.Points().GetBounds();
  // Points all in one place still get a unit square around them.
  double dx = double{b[2]} - b[0], dy = double{b[3]} - b[1];
  if (!(dx > 0.0) && !(dy > 0.0)) dx = dy = 1.0;
  const double usable = 1.0 - 2.0 * kFitMargin;
  const double pixelsPerUnit = usable * std::min(dx > 0.0 ? width / dx : HUGE_VAL, dy > 0.0 ? height / dy : HUGE_VAL);
  // The scale counts normalised device units across the width: 2 for the whole of it.
  view.Scale = static_cast<float>(2.0 * pixelsPerUnit / width);
  return view;
}

void SetupViewMatrices(TdxRenderer& renderer, const TViewState& view) {
  renderer.ResetMatrices();
  const double s = view.Scale == 0.0f ? kUnsetDrawScale : view.Scale;
  const double aspect = renderer.Height() > 0 ? double{1.0} * renderer.Width() / renderer.Height() : 1.0;
  TMatrixShell& matrix = renderer.View();
  matrix.Scale(false, s, s, s);
  matrix.RotateZ(false, -double{view.Rotation});
  matrix.Translate(false, -double{view.Centre.x}, -double{view.Centre.y}, 0.0);
  matrix.Scale(true, 1.0, aspect, 1.0);
  renderer.UpdateViewPlane();
}

TDxDrawParams ViewDrawParams(TdxRenderer& renderer, const TViewState& view) {
  TDxDrawParams params;
  params.Renderer = &renderer;
  params.Centre = view.Centre;
  params.Radius = 1.5f / view.Scale;
  return params;
}

}  // namespace vellmar
