#pragma once
// Drawing streets of road kinds for the pixel tests: the committed data files as the
// data root, and one frame of a street through the headless GL device with a plan view
// of a chosen centre and resolution.

#include <cstdint>
#include <optional>

#include "document/KindSet.h"
#include "geometry/XYZ.h"
#include "render/OffscreenFrame.h"
#include "support/DarkPixel.h"
#include "support/TestSupport.h"

namespace vellmar {
class TStreetStructure;
}

namespace vellmar::test {

// VELLMAR_DATA pointing at the repository's data/DataFiles while it lives.
class RoadDataRoot {
 public:
  RoadDataRoot();

 private:
  ScopedDataVariable variable_;
};

// A frame of a plan: pixels, and where world points land on them.
struct TPlanPicture {
  TOffscreenFrame Frame;
  TXYZ Centre;
  double PixelsPerMetre = 1.0;
  // The pixel under a world point (the frame's top row is row 0).
  int32_t Column(double x) const;
  int32_t Row(double y) const;
  uint32_t At(double x, double y) const;
  uint32_t At(const TXYZ& p) const { return At(p.x, p.y); }
};

// The street drawn (kinds in the set) with centre in the middle of a width x height
// frame at pixelsPerMetre; nullopt when this machine can make no GL context.
std::optional<TPlanPicture> DrawPlan(TStreetStructure& street, const TXYZ& centre, double pixelsPerMetre,
                                     const TKindSet& kinds, uint32_t width = 200, uint32_t height = 200);

}  // namespace vellmar::test
