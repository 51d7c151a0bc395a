#pragma once
// The demo street's design elements: a block library (bench, litter bin, survey mark),
// a line library with a hedge drawn from a picture, a figure library with a hatched
// fill, dashed and dash-dot boundary lines, and an A3 landscape plan sheet at 1:500 with
// a title block in its bottom-right corner.

namespace vellmar {

class TStreetStructure;

// Fills the libraries, gives the avenue's design items their types and lays the sheet
// over the avenue (along y = 0 from x = 0 to 300).
void AddDemoDesign(TStreetStructure& street);

}  // namespace vellmar
