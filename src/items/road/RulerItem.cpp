#include "items/road/RulerItem.h"

#include <memory>

#include "document/ChunkFields.h"
#include "document/StreetStructure.h"
#include "geometry/Vector.h"
#include "items/road/ModeSets.h"
#include "platform/gpu/DxVertex.h"
#include "render/DxLineCollection.h"

namespace vellmar {

void TRulerItem::LoadFromStream(TStream& stream) {
  TAbstractItem::LoadFromStream(stream);
  LoadChunk(stream, "RULERTXT", showText_);
  LoadChunk(stream, "RULERCLR", colour_);
}

void TRulerItem::SaveToStream(TStream& stream) const {
  TAbstractItem::SaveToStream(stream);
  SaveChunk(stream, "RULERTXT", showText_);
  SaveChunk(stream, "RULERCLR", colour_);
}

}  // namespace vellmar

namespace vellmar {

void TRulerItem::InitKindCollections(TStreetStructure& street) {
  auto crosses = std::make_unique<TDxLineCollection>();
  crosses->SetColor(MakeColor(5, 5, 5, 255));
  street.KindCollections(kKindIndex).push_back(std::move(crosses));
}

void TRulerItem::BuildPrimitives() {
  TPointList& points = Points();
  const int32_t count = points.Count();
  if (count < 1) return;
  const double beta = count < 2 ? 0.0 : AngleOf(SubXYZ(points.GetVertex(0), points.GetVertex(1)));
  const TXYZ v = RotateAngle(TXYZ{0.5f, 0.5f, 0}, beta), w = PerpLeft(v);
  auto& crosses = dynamic_cast<TDxLineCollection&>(*Street().KindCollections(kKindIndex).at(0));
  crosses.SetModeSet(kConstructionModes);
  crosses.SetColor(colour_);
  TXYZArray segments;
  for (int32_t i = 0; i < count; ++i) {
    const TXYZ p = points.GetVertex(i);
    for (const TXYZ& arm : {v, w}) {
      segments.push_back(AddXYZ(p, arm));
      segments.push_back(SubXYZ(arm, p));
    }
  }
  crosses.AddSegments(this, segments);
}

}  // namespace vellmar
