#pragma once
// The plan as a DXF drawing for CAD, written by our own small writer (GDAL's DXF driver
// gives every new layer the same colour and has no way to define a block from our
// geometry in the same pass). Release 12 layout, understood by every reader: a layer
// per kind named by its ident, coloured with the nearest standard colour to the kind's
// drawing colour; areas as closed polylines along their outlines (the outlines as
// drawn; a reader fills them by the even-odd rule), lines as polylines (line markings
// where painted), points as points, texts as TEXT, and road signs and painted arrows as
// blocks inserted at their places: a sign's plate as its outline and number, an arrow as
// its library outline. Units are metres; texts are Windows-1251, as the header says.

#include <vector>

#include "export/ExportFeatures.h"

namespace vellmar {

class TStream;
class TStreetStructure;

void WriteDxf(TStreetStructure& street, const std::vector<TKindFeatures>& kinds, TStream& out);

// The standard drawing colour (1-255) for an RGB colour in the layer table: a grey or,
// for a colour with a hue, the standard colour of the nearest hue.
int NearestAci(uint32_t rgb);

}  // namespace vellmar
