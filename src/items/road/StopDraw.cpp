// The stop drawn: a pavilion rectangle or a flag on a pole.

#include <cmath>
#include <memory>

#include "document/StreetStructure.h"
#include "geometry/Vector.h"
#include "items/road/AxisDirection.h"
#include "items/road/ModeSets.h"
#include "items/road/StopItem.h"
#include "platform/gpu/DxVertex.h"
#include "render/DxLineCollection.h"
#include "render/DxTriangleCollection.h"

namespace vellmar {

namespace {

constexpr uint32_t kRed = MakeColor(255, 0, 0, 255);
constexpr uint32_t kYellow = MakeColor(255, 255, 80, 255);
constexpr uint32_t kInk = MakeColor(5, 5, 5, 255);

}  // namespace

void TStopItem::InitKindCollections(TStreetStructure& street) {
  TDxPrimCollections& collections = street.KindCollections(kKindIndex);
  collections.push_back(std::make_unique<TDxTriangleCollection>());
  collections.push_back(std::make_unique<TDxLineCollection>());
}

void TStopItem::BuildPrimitives() {
  if (Points().Count() < 2) return;
  const TDxPrimCollections& collections = Street().KindCollections(kKindIndex);
  auto& fills = dynamic_cast<TDxTriangleCollection&>(*collections.at(0));
  auto& lines = dynamic_cast<TDxLineCollection&>(*collections.at(1));
  fills.SetModeSet(kPlanModes);
  lines.SetModeSet(kPlanModes);
  const TXYZ p0 = Points().GetVertex(0);
  const TXYZ along = SubXYZ(p0, Points().GetVertex(1));
  // Coincident points give no direction to lay either form along.
  if (LengthXYZ(along) == 0.0) return;

  if (pavilion_) {
    const TXYZ q = SetLengthXYZ(along, length_);
    const TXYZ s = SetLengthXYZ(PerpLeft(along), width_);
    const TXYZ ps = AddXYZ(p0, s), psq = AddXYZ(ps, q), pq = AddXYZ(p0, q);
    const TXYZArray outline = {p0, ps, psq, pq, p0};
    if (Street().DrawOption("StopsYellow")) {
      fills.SetColor(kYellow);
      fills.AddTriangles(this, TXYZArray{p0, ps, psq, psq, pq, p0});
      lines.SetColor(kInk);
      lines.AddPolyline(this, outline);
    } else {
      lines.SetColor(kRed);
      lines.AddPolyline(this, outline);
      lines.AddSegments(this, TXYZArray{p0, psq, ps, pq});
    }
    return;
  }
  // The flag stands on the left of the direction taken along the axis.
  TXYZ d = SetLengthXYZ(along, 1.0);
  if (std::cos(AngleOf(d) - AxisDirectionAt(*this, p0).value_or(0.0)) <= 0) d = Negate2D(d);
  const TXYZ n = PerpLeft(d);
  const TXYZ r0 = p0, r1 = AddXYZ(p0, ScaleXYZ(d, 0.5)), r2 = AddXYZ(p0, ScaleXYZ(n, 1.5)),
             r3 = AddXYZ(p0, ScaleXYZ(n, 2.5)), r4 = AddXYZ(r2, ScaleXYZ(d, 1.5)), r5 = AddXYZ(r3, ScaleXYZ(d, 1.5));
  lines.SetColor(kRed);
  lines.AddSegments(this, TXYZArray{r0, r1, r0, r2, r2, r3, r3, r4, r4, r5, r5, r2, r2, r4, r3, r5});
}

}  // namespace vellmar
