// The traffic island drawn: outline and hatching.

#include <memory>

#include "document/StreetStructure.h"
#include "items/road/IslandHatching.h"
#include "items/road/ModeSets.h"
#include "items/road/OstrovokItem.h"
#include "platform/gpu/DxVertex.h"
#include "render/DxLineCollection.h"
#include "render/DxTriangleCollection.h"
#include "render/JoinedBand.h"

namespace vellmar {

namespace {

constexpr double kOutlineHalf = 0.05;
constexpr uint8_t kParallelType = 3;
constexpr uint8_t kPlacedType = 4;

}  // namespace

void TOstrovokItem::InitKindCollections(TStreetStructure& street) {
  const uint32_t black = MakeColor(5, 5, 5, 255);
  TPolygonItem::InitPolygonCollections(street, kKindIndex, black, black);
}

void TOstrovokItem::BuildPrimitives() {
  TPointList& points = Points();
  const int32_t count = points.Count();
  const TDxPrimCollections& collections = Street().KindCollections(kKindIndex);
  auto& fill = dynamic_cast<TDxTriangleCollection&>(*collections.at(0));
  auto& lines = dynamic_cast<TDxLineCollection&>(*collections.at(1));
  fill.SetModeSet(kPlanModes);
  lines.SetModeSet(kPlanModes);
  if (count < 3) return;

  TIslandOutline island;
  island.Controls = points.GetVertices();
  island.Polyline = points.Polyline();
  island.VertexIndex = points.VertexIndex();
  const auto at = [&](int32_t i) { return island.VertexIndex.at(static_cast<size_t>(i)); };

  // The outline runs along the sides the island's type paints; the closing edges stay open.
  int32_t outlineFrom = 0;
  int32_t outlineTo = at(count - 2);
  TXYZArray quads;
  if (!newScheme_) {
    quads = EarlierApexHatch(island, mainPoint_, gostType_);
  } else if (gostType_ == kParallelType) {
    outlineFrom = at(1);
    outlineTo = at(count - 1);
    quads = ParallelHatch(island);
  } else if (gostType_ == kPlacedType) {
    outlineTo = outlineFrom;
    quads = PlacedHatch(island);
  } else {
    quads = ApexHatch(island, mainPoint_, gostType_);
  }
  if (!noOutline_ && outlineTo > outlineFrom) {
    // Joined at every corner, mitred where the tip stays near the line and bevelled at
    // a sharp apex, so the outline has neither notches nor spikes.
    fill.AddTriangles(this, JoinedBandTriangles(island.Polyline, static_cast<size_t>(outlineFrom),
                                                static_cast<size_t>(outlineTo), kOutlineHalf));
    lines.AddPolylineRange(this, island.Polyline, outlineTo, outlineFrom);
  }
  if (quads.empty()) {
    Triangulate();
    fill.AddTriangles(this, Triangles());
    return;
  }
  fill.AddQuads(this, quads);
  // Each quad's first two and last two corners are its stripe edges.
  lines.AddSegments(this, quads);
}

}  // namespace vellmar
