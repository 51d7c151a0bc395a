#include "items/road/TramWayItem.h"

#include <memory>

#include "document/ChunkFields.h"
#include "document/StreetStructure.h"
#include "items/road/DataTexture.h"
#include "items/road/ModeSets.h"
#include "platform/text/Cp1251.h"
#include "render/DxTriangleCollection.h"

namespace vellmar {

namespace {
constexpr double kStandardGauge = 1.4;
}  // namespace

void TTramWayItem::InitKindCollections(TStreetStructure& street) {
  auto band = std::make_unique<TDxTriangleCollection>();
  LoadDataTexture(*band, "\\DataFiles\\Текстуры\\Tramway.bmp"_cp1251);
  street.KindCollections(kKindIndex).push_back(std::move(band));
}

void TTramWayItem::BuildPrimitives() {
  const TXYZArray& polyline = Points().Polyline();
  if (Points().Count() < 2) return;
  const double gauge = gauge_ == 0.0f ? kStandardGauge : gauge_;
  const double half = gauge / kStandardGauge;
  auto& band = dynamic_cast<TDxTriangleCollection&>(*Street().KindCollections(kKindIndex).at(0));
  band.SetModeSet(kPlanModes);
  // The picture's top (texture row 0) on the left of the direction of travel, as every
  // band lays its picture.
  band.AddSmoothRibbon(this, polyline, 1.0, half, -half, 0, 1);
}

void TTramWayItem::LoadFromStream(TStream& stream) {
  TLineItem::LoadFromStream(stream);
  LoadChunk(stream, "RUTWIDTH", gauge_);
}

void TTramWayItem::SaveToStream(TStream& stream) const {
  TLineItem::SaveToStream(stream);
  if (gauge_ != 0.0f) SaveChunk(stream, "RUTWIDTH", gauge_);
}

}  // namespace vellmar
