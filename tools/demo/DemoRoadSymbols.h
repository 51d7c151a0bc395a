#pragma once
// The demo street's painted symbols and point furniture: arrows of every library type,
// painted words and sign duplicates, a manhole with its owner, a flag stop, a kiosk's
// picture, markings with a label place naming them, and a dimension chain across the
// southern side.

namespace vellmar {

class TStreetStructure;

// Adds them to a street that holds the avenue (along y = 0 from x = 0 to 300).
void AddDemoRoadSymbols(TStreetStructure& street);

}  // namespace vellmar
