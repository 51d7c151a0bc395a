#pragma once
// A line marking as it is painted: the pieces of paint along its line (each stripe of
// its type's pattern at its place across the band, cut into the dashes of every repeat)
// and the painted length and area. The band holds a whole number of repeats over the
// line's length, as the plan draws it, so a dash pattern counts by its share of each
// repeat. A type the library lacks is the plan's red stripe: solid, 0.3 m wide.

#include <vector>

#include "geometry/XYZ.h"

namespace vellmar {

class TLineRazmetItem;
class TMarkingPatterns;

struct TPaintedMarking {
  std::vector<TXYZArray> Pieces;  // line strings along the middle of each painted run
  double LineLength = 0.0;        // the marking's drawn line
  double PaintedLength = 0.0;     // along the line where paint lies
  double PaintedArea = 0.0;
};

TPaintedMarking PaintMarking(TLineRazmetItem& item, TMarkingPatterns& patterns);

// The part of the polyline from distance s0 to s1 along it, moved sideways by offset
// (metres, positive to the left of the direction of travel; corners mitred).
TXYZArray OffsetSlice(const TXYZArray& line, double s0, double s1, double offset);

}  // namespace vellmar
