#pragma once
// The demo street's second half: the avenue's road swinging north on a curve east of
// the avenue, with the markings of the marking library, zebra crossings, an island,
// curbs, a barrier and the stationed axis.

namespace vellmar {

class TStreetStructure;

// Adds the curved road to a street that holds the avenue (its main axis along y = 0
// from x = 0 to 300), and carries the main axis on along the curve with its pickets.
void AddCurvedRoad(TStreetStructure& street);

}  // namespace vellmar
