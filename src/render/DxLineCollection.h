#pragma once
// A primitive collection of line segments, drawn as a line list. Ownership as for every
// collection (see DxPrimCollection.h).

#include <cstdint>
#include <span>

#include "geometry/XYZ.h"
#include "render/DxPrimCollection.h"

namespace vellmar {

class TDxLineCollection final : public TDxPrimCollection {
 public:
  TDxLineCollection();

  // (P0,P1), (P2,P3), ...; an odd last point is ignored.
  void AddSegments(const TAbstractItem* owner, std::span<const TXYZ> points);
  // (P0,P1), (P1,P2), ..., (Pn-2,Pn-1).
  void AddPolyline(const TAbstractItem* owner, std::span<const TXYZ> points);
  // (Pk,Pk+1) for k = first ... last - 1; indices outside the points are cut to them.
  void AddPolylineRange(const TAbstractItem* owner, std::span<const TXYZ> points, int32_t last,
                        int32_t first);
  // AddPolyline plus (Pn-1,P0).
  void AddClosedPolyline(const TAbstractItem* owner, std::span<const TXYZ> points);

 private:
  void AddLine(const TAbstractItem* owner, const TXYZ& a, const TXYZ& b);
};

}  // namespace vellmar
