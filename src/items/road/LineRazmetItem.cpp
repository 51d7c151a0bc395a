#include "items/road/LineRazmetItem.h"

#include <algorithm>
#include <memory>

#include "document/ChunkFields.h"
#include "document/LnParam.h"
#include "document/StreetStructure.h"
#include "geometry/Planar.h"
#include "geometry/Vector.h"
#include "items/road/DataTexture.h"
#include "items/road/ModeSets.h"
#include "items/road/RazmetLabelPlaceItem.h"
#include "platform/gpu/DxVertex.h"
#include "platform/text/Cp1251.h"
#include "render/DxTriangleCollection.h"
#include "render/TextureSurface.h"

namespace vellmar {

namespace {

// The unknown marking: a red stripe 0.3 m wide, centred on the line.
constexpr double kUnknownHalfWidth = 0.15;
constexpr double kUnknownPeriod = 4.0;
constexpr std::string_view kTextureFolder = "\\DataFiles\\Разметка\\"_cp1251;

}  // namespace

void TLineRazmetItem::InitKindCollections(TStreetStructure& street) {
  TDxPrimCollections& collections = street.KindCollections(kKindIndex);
  for (const LnParam& param : street.GetLineParams()) {
    auto band = std::make_unique<TDxTriangleCollection>();
    const std::string file = std::string(kTextureFolder) + std::string(ShortStringText(param.TextureFile));
    TTextureSettings& settings = LoadDataTexture(*band, file).Settings();
    // Paint is black on a transparent ground; yellow markings add their tint to it.
    settings.ColorOp = TTextureOp::Add;
    settings.ColorArg1 = TTextureArg::Texture;
    settings.ColorArg2 = TTextureArg::Diffuse;
    settings.AddressU = TTextureAddress::Wrap;
    settings.AddressV = TTextureAddress::Clamp;
    band->SetColor(param.Yellow != 0 ? MakeColor(160, 128, 0, 255) : MakeColor(0, 0, 0, 255));
    collections.push_back(std::move(band));
  }
  auto unknown = std::make_unique<TDxTriangleCollection>();
  unknown->SetColor(MakeColor(200, 0, 0, 255));
  collections.push_back(std::move(unknown));
}

void TLineRazmetItem::BuildPrimitives() {
  const TXYZArray& polyline = Points().Polyline();
  if (Points().Count() < 2) return;
  const TDxPrimCollections& collections = Street().KindCollections(kKindIndex);
  const TLnParams& params = Street().GetLineParams();
  // The collections were made from the library as it stood then; a record beyond them
  // (the library grew since) is drawn as unknown rather than into another's texture.
  const bool known = paramIndex_ >= 0 && static_cast<size_t>(paramIndex_) + 1 < collections.size() &&
                     static_cast<size_t>(paramIndex_) < params.size();
  auto& band = dynamic_cast<TDxTriangleCollection&>(
      known ? *collections[static_cast<size_t>(paramIndex_)] : *collections.back());
  band.SetModeSet(kPlanModes);
  if (!known) {
    band.AddSmoothRibbon(this, polyline, kUnknownPeriod, kUnknownHalfWidth, -kUnknownHalfWidth, 0, 1);
    return;
  }
  const LnParam& param = params[static_cast<size_t>(paramIndex_)];
  const double sign = mirror_ ? -1.0 : 1.0;
  band.AddSmoothRibbon(this, polyline, param.Period, sign * param.Disp1, sign * param.Disp2, 0, 1);
}

// Whether the place's line passes within a primitive's reach: the marking's band as it
// was last built (its primitives are replaced only at the next rebuild).
bool TLineRazmetItem::BandNear(TAbstractItem& place) const {
  const TXYZArray& line = place.Points().Polyline();
  for (const TKindPrimitives& entry : KindPrimitives()) {
    const TDxPrimRun stored = entry.Collection->IndicesOf(entry.Prims);
    for (size_t index = stored.First; index < size_t{stored.First} + stored.Count; ++index) {
      const TDxPrimView prim = entry.Collection->PrimAt(index);
      const TXYZ centre{prim.CentreX, prim.CentreY, 0};
      for (size_t i = 1; i < line.size(); ++i) {
        const TLineRelation r = PointLineRelation(centre, line[i - 1], line[i]);
        const TXYZ foot = LerpXYZ(line[i - 1], line[i], std::clamp(r.t, 0.0, 1.0));
        if (DistanceXYZ(centre, foot) <= prim.Radius) return true;
      }
    }
  }
  return false;
}

void TLineRazmetItem::PointsChanged() {
  TLineItem::PointsChanged();
  TItemList& places = Street().ItemList(TRazmetLabelPlaceItem::kKindIndex);
  if (places.Count() == 0) return;
  const TXYZArray& polyline = Points().Polyline();
  for (int32_t p = 0; p < places.Count(); ++p) {
    TAbstractItem* place = places.Items(p);
    if (!place->Active() || place->Points().Modified()) continue;
    bool crosses = false;
    for (size_t i = 1; i < polyline.size() && !crosses; ++i) {
      TPolylineCrossing crossing;
      crosses = place->Points().Intersect(polyline[i - 1], polyline[i], -1.0, crossing);
    }
    // A marking that moved away leaves its old label behind unless the place it used to
    // cross writes its labels anew too.
    if (crosses || BandNear(*place)) place->Points().SetModified(true);
  }
}

void TLineRazmetItem::LoadFromStream(TStream& stream) {
  TLineItem::LoadFromStream(stream);
  std::string name;
  LoadChunk(stream, "LNRMGOST", name);
  SetGostName(name);
  LoadChunk(stream, "LNRMMIRR", mirror_);
}

void TLineRazmetItem::SaveToStream(TStream& stream) const {
  TLineItem::SaveToStream(stream);
  SaveChunk(stream, "LNRMGOST", gostName_);
  SaveChunk(stream, "LNRMMIRR", mirror_);
}

void TLineRazmetItem::SetGostName(const std::string& name) {
  gostName_ = name;
  paramIndex_ = FindLnParam(gostName_, Street().GetLineParams());
}

void TLineRazmetItem::GetPropertyNames(std::vector<std::string>& lines) const {
  TLineItem::GetPropertyNames(lines);
  lines.emplace_back("Тип_разметки"_cp1251);
  lines.emplace_back("Зеркально"_cp1251);
}

void TLineRazmetItem::GetPropertyValues(std::vector<std::string>& lines) const {
  TLineItem::GetPropertyValues(lines);
  lines.push_back(gostName_);
  lines.push_back(std::string(mirror_ ? "Да"_cp1251 : "Нет"_cp1251));
}

}  // namespace vellmar
