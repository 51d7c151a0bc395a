#include "items/road/ArcCoordsItem.h"

#include <memory>

#include "document/StreetStructure.h"
#include "items/road/ModeSets.h"
#include "platform/gpu/DxVertex.h"
#include "render/DxLineCollection.h"

namespace vellmar {

void TArcCoordsItem::InitKindCollections(TStreetStructure& street) {
  auto lines = std::make_unique<TDxLineCollection>();
  lines->SetColor(MakeColor(100, 5, 5, 255));
  street.KindCollections(kKindIndex).push_back(std::move(lines));
}

void TArcCoordsItem::BuildPrimitives() {
  if (Points().Count() < 2) return;
  auto& lines = dynamic_cast<TDxLineCollection&>(*Street().KindCollections(kKindIndex).at(0));
  lines.SetModeSet(kConstructionModes);
  lines.AddPolyline(this, Points().GetVertices());
  lines.AddPolyline(this, Points().Polyline());
}

}  // namespace vellmar
