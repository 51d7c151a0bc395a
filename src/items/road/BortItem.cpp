#include "items/road/BortItem.h"

#include <memory>

#include "document/ChunkFields.h"
#include "document/StreetStructure.h"
#include "platform/gpu/DxVertex.h"
#include "render/DxLineCollection.h"
#include "render/DxTriangleCollection.h"

namespace vellmar {

TBortItem::TBortItem(TStreetStructure& street, const TItemKind& kind)
    : TLineItem(street, kind), colour_(MakeColor(0, 128, 0, 255)) {}

void TBortItem::InitKindCollections(TStreetStructure& street) {
  TDxPrimCollections& collections = street.KindCollections(kKindIndex);
  auto lines = std::make_unique<TDxLineCollection>();
  lines->SetColor(MakeColor(100, 100, 255, 255));
  collections.push_back(std::move(lines));
  collections.push_back(std::make_unique<TDxTriangleCollection>());
}

void TBortItem::BuildPrimitives() {
  const TXYZArray& polyline = Points().Polyline();
  if (Points().Count() < 2) return;
  const TDxPrimCollections& collections = Street().KindCollections(kKindIndex);
  auto& lines = dynamic_cast<TDxLineCollection&>(*collections.at(0));
  auto& band = dynamic_cast<TDxTriangleCollection&>(*collections.at(1));
  // An empty mode set: curbs show in every drawing mode, whatever set a frame left here.
  lines.SetModeSet(0);
  lines.SetColor(colour_);
  band.SetModeSet(0);
  band.SetColor(colour_);
  lines.AddPolyline(this, polyline);
  band.AddSmoothRibbon(this, polyline, 0, width_ / 2, -width_ / 2, 0, 0);
}

void TBortItem::LoadFromStream(TStream& stream) {
  TLineItem::LoadFromStream(stream);
  LoadChunk(stream, "BORTKIND", curbKind_);
  LoadChunk(stream, "BORTGOST", gost_);
  LoadChunk(stream, "BORTWIDT", width_);
  LoadChunk(stream, "BORTCOLR", colour_);
}

void TBortItem::SaveToStream(TStream& stream) const {
  TLineItem::SaveToStream(stream);
  SaveChunkIfAny(stream, "BORTKIND", curbKind_);
  SaveChunkIfAny(stream, "BORTGOST", gost_);
  SaveChunk(stream, "BORTWIDT", width_);
  SaveChunk(stream, "BORTCOLR", colour_);
}

}  // namespace vellmar
