#pragma once
// Where a plan sheet's paper lies on the plan. Sheet coordinates are millimetres on the
// paper, x from the left edge along the width, y from the bottom edge along the height;
// the sheet's corner point and direction put them into the world at the sheet's scale.
// Plain geometry without a device, so that drawing and printing place the paper, its
// frame and its stamps the same way. A layout is a copy of the sheet's settings.

#include <array>
#include <cstdint>

#include "geometry/XYZ.h"
#include "items/plan/PlanDefineItem.h"

namespace vellmar {

class TMatrixShell;

struct TSheetLayout {
  TXYZ Origin;              // the sheet's bottom-left corner in the world
  double Angle = 0.0;       // radians, counter-clockwise
  double SheetScale = 0.0;  // paper length / world length
  int32_t Width = 0;        // paper, mm
  int32_t Height = 0;
  int32_t Left = 0;  // inner frame margins, mm
  int32_t Right = 0;
  int32_t Top = 0;
  int32_t Bottom = 0;
  bool Landscape = false;

  static TSheetLayout Of(const TPlanDefineItem& sheet);

  // A scale of 0, a negative or a non-finite one puts the paper nowhere (it would be
  // infinitely large or turned inside out): such a sheet is not drawn.
  bool Placeable() const;
  // The world point of a sheet point.
  TXYZ ToWorld(double x, double y) const;
  // The paper's edge and the inner frame as world points: top-left, bottom-left,
  // bottom-right, top-right.
  std::array<TXYZ, 4> Edge() const;
  std::array<TXYZ, 4> Frame() const;
  // Half the paper's perimeter in world units: a view centre farther than this (plus the
  // view's own radius) from the corner point cannot see the sheet.
  double Reach() const;

  // The inner-frame corner a stamp is put in (sheet millimetres): a landscape sheet
  // moves each stamp one corner on, clockwise.
  TXYZ StampCorner(TPlanDefineItem::TCorner corner) const;
  // The turn of a stamp's own drawing before it goes to its corner: a quarter turn
  // counter-clockwise in portrait, a half turn in landscape (as RotateZ takes it).
  double StampTurn() const;
  // Makes placement the map from a stamp's millimetres to the world.
  void PlaceStamp(TMatrixShell& placement, TPlanDefineItem::TCorner corner) const;

 private:
  // The inner frame's corners in sheet millimetres, in the order of Frame().
  std::array<TXYZ, 4> InnerCorners() const;
};

}  // namespace vellmar
