#include "items/road/RoadWallItem.h"

#include <memory>

#include "document/ChunkFields.h"
#include "document/StreetStructure.h"
#include "items/road/DataTexture.h"
#include "items/road/ModeSets.h"
#include "platform/gpu/DxVertex.h"
#include "platform/text/Cp1251.h"
#include "render/DxLineCollection.h"
#include "render/DxTriangleCollection.h"
#include "render/TextureSurface.h"

namespace vellmar {

const std::array<std::string_view, 3>& TRoadWallItem::WallKindNames() {
  static constexpr std::array<std::string_view, 3> kNames = {"Двойное"_cp1251, "Правое"_cp1251,
                                                             "Левое"_cp1251};
  return kNames;
}

namespace {

// One repeat of the barrier texture along the line: four posts.
constexpr double kWallPeriod = 9.6;

// Where the band lies across the line and which half of the texture it shows: the
// upper half (v 0 to 0.5) is the double-sided barrier centred on the line, the lower
// half the one-sided one, 0.3 m off the centre and mirrored between right and left.
struct TWallBand {
  double OffsetA, VA, OffsetB, VB;
};
constexpr TWallBand kWallBands[3] = {{0.6, 0, -0.6, 0.5}, {0.9, 0.5, -0.3, 1}, {0.3, 1, -0.9, 0.5}};

}  // namespace

void TRoadWallItem::InitKindCollections(TStreetStructure& street) {
  TDxPrimCollections& collections = street.KindCollections(kKindIndex);
  auto lines = std::make_unique<TDxLineCollection>();
  lines->SetColor(MakeColor(5, 5, 5, 255));
  collections.push_back(std::move(lines));
  auto band = std::make_unique<TDxTriangleCollection>();
  TTextureSettings& settings = LoadDataTexture(*band, "\\DataFiles\\Текстуры\\RoadWall.bmp"_cp1251).Settings();
  settings.MinFilter = TTextureFilter::Linear;
  settings.MagFilter = TTextureFilter::Linear;
  settings.AddressU = TTextureAddress::Wrap;
  settings.AddressV = TTextureAddress::Clamp;
  collections.push_back(std::move(band));
}

void TRoadWallItem::BuildPrimitives() {
  const TXYZArray& polyline = Points().Polyline();
  if (Points().Count() < 2) return;
  const TDxPrimCollections& collections = Street().KindCollections(kKindIndex);
  auto& lines = dynamic_cast<TDxLineCollection&>(*collections.at(0));
  auto& band = dynamic_cast<TDxTriangleCollection&>(*collections.at(1));
  lines.SetModeSet(kPlanModes);
  band.SetModeSet(kPlanModes);
  lines.AddPolyline(this, polyline);
  if (wallKind_ < 0 || wallKind_ > 2) return;
  const TWallBand& b = kWallBands[wallKind_];
  band.AddSmoothRibbon(this, polyline, kWallPeriod, b.OffsetA, b.OffsetB, b.VA, b.VB);
}

void TRoadWallItem::LoadFromStream(TStream& stream) {
  TLineItem::LoadFromStream(stream);
  LoadChunk(stream, "RWALLKND", wallKind_);
}

void TRoadWallItem::SaveToStream(TStream& stream) const {
  TLineItem::SaveToStream(stream);
  SaveChunk(stream, "RWALLKND", wallKind_);
}

}  // namespace vellmar
