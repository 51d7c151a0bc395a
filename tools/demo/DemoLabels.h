#pragma once
// The demo street's text labels: names of the houses and of the side lane, notes on the
// road, in Arial, Times New Roman and Courier New, upright, bold, italic and
// underlined, filled and outlined, Cyrillic and Latin, with every anchor code.

namespace vellmar {

class TStreetStructure;

// Adds the labels to a street that holds the avenue (along y = 0 from x = 0 to 300).
void AddDemoLabels(TStreetStructure& street);

}  // namespace vellmar
