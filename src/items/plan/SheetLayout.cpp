#include "items/plan/SheetLayout.h"

#include <cmath>
#include <numbers>

#include "render/MatrixShell.h"

namespace vellmar {

namespace {
constexpr double kMetresPerMillimetre = 0.001;
}  // namespace

TSheetLayout TSheetLayout::Of(const TPlanDefineItem& sheet) {
  TSheetLayout layout;
  const TPointList& points = sheet.Points();
  if (points.Count() > 0) layout.Origin = points.GetVertex(0);
  layout.Angle = sheet.Orientation();
  layout.SheetScale = sheet.SheetScale();
  layout.Width = sheet.FormatWidth();
  layout.Height = sheet.FormatHeight();
  layout.Left = sheet.IndentLeft();
  layout.Right = sheet.IndentRight();
  layout.Top = sheet.IndentTop();
  layout.Bottom = sheet.IndentBottom();
  layout.Landscape = sheet.Landscape();
  return layout;
}

bool TSheetLayout::Placeable() const {
  return std::isfinite(SheetScale) && SheetScale > 0.0;
}

TXYZ TSheetLayout::ToWorld(double x, double y) const {
  // In double all the way: the paper may lie far from the plan's origin.
  const double k = kMetresPerMillimetre / SheetScale;
  const double u = x * k, v = y * k, c = std::cos(Angle), s = std::sin(Angle);
  return TXYZ{static_cast<float>(Origin.x + u * c - v * s), static_cast<float>(Origin.y + u * s + v * c), Origin.z};
}

std::array<TXYZ, 4> TSheetLayout::Edge() const {
  return {ToWorld(0, Height), ToWorld(0, 0), ToWorld(Width, 0), ToWorld(Width, Height)};
}

std::array<TXYZ, 4> TSheetLayout::Frame() const {
  std::array<TXYZ, 4> frame = InnerCorners();
  for (TXYZ& p : frame) p = ToWorld(p.x, p.y);
  return frame;
}

double TSheetLayout::Reach() const {
  return (double(Width) + Height) * kMetresPerMillimetre / SheetScale;
}

std::array<TXYZ, 4> TSheetLayout::InnerCorners() const {
  // In double: margins read from a file may be anything an int32 holds.
  const double left = Left, right = double(Width) - Right, top = double(Height) - Top, bottom = Bottom;
  const auto at = [](double x, double y) { return TXYZ{static_cast<float>(x), static_cast<float>(y), 0.0f}; };
  return {at(left, top), at(left, bottom), at(right, bottom), at(right, top)};
}

TXYZ TSheetLayout::StampCorner(TPlanDefineItem::TCorner corner) const {
  using TCorner = TPlanDefineItem::TCorner;
  const auto [topLeft, bottomLeft, bottomRight, topRight] = InnerCorners();
  switch (corner) {
    case TCorner::TopLeft:
      return Landscape ? bottomLeft : topLeft;
    case TCorner::TopRight:
      return Landscape ? topLeft : topRight;
    case TCorner::BottomLeft:
      return Landscape ? bottomRight : bottomLeft;
    case TCorner::BottomRight:
      return Landscape ? topRight : bottomRight;
  }
  return bottomLeft;
}

double TSheetLayout::StampTurn() const {
  return Landscape ? -std::numbers::pi : -std::numbers::pi / 2;
}

void TSheetLayout::PlaceStamp(TMatrixShell& placement, TPlanDefineItem::TCorner corner) const {
  const TXYZ at = StampCorner(corner);
  const double k = 1.0 / SheetScale;
  placement.LoadIdentity();
  placement.Translate(false, Origin.x, Origin.y, Origin.z);
  placement.RotateZ(false, -Angle);
  placement.Scale(false, k, k, k);
  placement.Scale(false, kMetresPerMillimetre, kMetresPerMillimetre, kMetresPerMillimetre);
  placement.Translate(false, at.x, at.y, 0.0);
  placement.RotateZ(false, StampTurn());
}

}  // namespace vellmar
