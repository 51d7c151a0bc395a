// The defects drawn: a dark red line with a band 0.2 m wide along it, open for a line
// defect and round the outline for an area defect.

#include <memory>

#include "document/StreetStructure.h"
#include "items/road/LnDefectItem.h"
#include "items/road/ModeSets.h"
#include "items/road/SqDefectItem.h"
#include "platform/gpu/DxVertex.h"
#include "render/DxLineCollection.h"
#include "render/DxTriangleCollection.h"

namespace vellmar {

namespace {

constexpr uint32_t kDefectRed = MakeColor(128, 0, 0, 255);
constexpr double kHalfBand = 0.1;
constexpr double kBandPeriod = 10.0;

void InitDefectCollections(TStreetStructure& street, int32_t kind) {
  TDxPrimCollections& collections = street.KindCollections(kind);
  auto lines = std::make_unique<TDxLineCollection>();
  lines->SetColor(kDefectRed);
  collections.push_back(std::move(lines));
  auto band = std::make_unique<TDxTriangleCollection>();
  band->SetColor(kDefectRed);
  collections.push_back(std::move(band));
}

// The line and its band; round a closed outline the band passes the first corner once
// more, so that it is mitred there like every other corner.
void AddDefect(TAbstractItem& item, int32_t kind, bool closed) {
  const TXYZArray& polyline = item.Points().Polyline();
  if (item.Points().Count() < 2 || polyline.size() < 2) return;
  const TDxPrimCollections& collections = item.Street().KindCollections(kind);
  auto& lines = dynamic_cast<TDxLineCollection&>(*collections.at(0));
  auto& band = dynamic_cast<TDxTriangleCollection&>(*collections.at(1));
  lines.SetModeSet(kPlanModes);
  band.SetModeSet(kPlanModes);
  lines.AddPolyline(&item, polyline);
  if (!closed || polyline.size() < 3) {
    band.AddSmoothRibbon(&item, polyline, kBandPeriod, kHalfBand, -kHalfBand, 0, 1);
    return;
  }
  TXYZArray round = polyline;
  round.push_back(polyline[1]);
  band.AddSmoothRibbon(&item, round, kBandPeriod, kHalfBand, -kHalfBand, 0, 1);
}

}  // namespace

void TLnDefectItem::InitKindCollections(TStreetStructure& street) {
  InitDefectCollections(street, kKindIndex);
}

void TLnDefectItem::BuildPrimitives() {
  AddDefect(*this, kKindIndex, /*closed=*/false);
}

void TSqDefectItem::InitKindCollections(TStreetStructure& street) {
  InitDefectCollections(street, kKindIndex);
}

void TSqDefectItem::BuildPrimitives() {
  // Kept for hit testing.
  Triangulate();
  AddDefect(*this, kKindIndex, /*closed=*/true);
}

}  // namespace vellmar
