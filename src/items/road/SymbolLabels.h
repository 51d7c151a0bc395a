#pragma once
// Where the designation labels of painted texts and sign duplicates go: across the
// symbol's orientation, turned round when that would read against the road's axis.

#include "geometry/XYZ.h"

namespace vellmar {

class TOrientPointItem;
class TMatrixShell;

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
