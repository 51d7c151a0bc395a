#pragma once
// Where the designation labels of painted texts and sign duplicates go: across the
// symbol's orientation, turned round when that would read against the road's axis.

#include <cstdint>

#include "geometry/XYZ.h"

namespace vellmar {

class TAbstractItem;
class TDxTriangleCollection;
class TMatrixShell;
class TOrientPointItem;
class TStreetStructure;

// Labels are 0.09 m an atlas unit, 0.1 m beside their symbol.
inline constexpr double kSymbolLabelScale = 0.09;
inline constexpr double kSymbolLabelGap = 0.1;

// The kind's one collection: its labels in atlas text.
void InitSymbolLabelCollection(TStreetStructure& street, int32_t kind);
// That collection, ready for the labels of the plan proper.
TDxTriangleCollection& SymbolLabelCollection(TAbstractItem& item);

struct TSymbolLabelFrame {
  TXYZ At;
  double Direction = 0.0;  // the symbol's orientation, turned round when flipped
  bool Flipped = false;
};

// The item's point and orientation; flipped when the orientation runs to the right of
// the axis there. Nothing without a point.
bool SymbolLabelFrame(TOrientPointItem& item, TSymbolLabelFrame& frame);

// Moves local to the frame's point and turns it a quarter turn clockwise from the
// frame's direction: labels then read across the symbol.
void PlaceSymbolLabel(TMatrixShell& local, const TSymbolLabelFrame& frame);

}  // namespace vellmar
