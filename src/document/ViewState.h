#pragma once
// The view a street is shown with (centre, scale, rotation), how the renderer's view
// matrix follows from it, and the view that fits a whole street. Plain values; the
// street keeps its own copy as ViewCentre, ViewScale and ViewAngle.

#include "geometry/XYZ.h"
#include "render/DxDrawParams.h"

namespace vellmar {

class TdxRenderer;
class TStreetStructure;

struct TViewState {
  TXYZ Centre;            // world units; z is carried, the view uses x and y
  float Scale = 0.0f;     // normalised device units per world unit; 0 = no view set yet
  float Rotation = 0.0f;  // radians, counter-clockwise, not wrapped
};
static_assert(sizeof(TViewState) == 20, "the view is stored as five singles");

// The street's stored view.
TViewState StreetView(const TStreetStructure& street);
// Centres the street's point bounds with the larger extent (plus one unit) across the
// viewport, rotation 0; fewer than two points give the origin at scale 0.01.
TViewState FitStreetView(TStreetStructure& street);
// The whole street in a viewport of width × height pixels, as "show the whole street"
// does: the bounds' centre in the middle, rotation 0, and the scale at which the bounds
// fill the viewport up to a margin of kFitMargin of each side on the side they reach
// first (the width for a wide street, the height for a tall one or a square one in a
// wide window). An empty viewport gives FitStreetView.
inline constexpr double kFitMargin = 0.03;
TViewState FitStreetViewTo(TStreetStructure& street, int width, int height);

// Identity world and projection; the view matrix maps the view's centre to the middle
// of the viewport, turned by the rotation and scaled by the scale (y by width / height
// as well, so a world unit is as many pixels across as up). A scale of 0 counts as 0.02.
void SetupViewMatrices(TdxRenderer& renderer, const TViewState& view);

// What a frame drawn with the view hands its draw operations: the renderer, the view's
// centre and the world radius a picture no taller than wide can show (1.5 / scale).
TDxDrawParams ViewDrawParams(TdxRenderer& renderer, const TViewState& view);

}  // namespace vellmar
