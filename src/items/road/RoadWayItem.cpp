#include "items/road/RoadWayItem.h"

#include "document/StreetStructure.h"
#include "platform/gpu/DxVertex.h"

namespace vellmar {

void TRoadWayItem::InitKindCollections(TStreetStructure& street) {
  InitPolygonCollections(street, kKindIndex, 0, MakeColor(1, 1, 1, 255));
}

void TRoadWayItem::BuildPrimitives() {
  const uint8_t grey = Street().DrawOption("RWWhite") ? 255 : 235;
  Street().KindCollections(kKindIndex).at(0)->SetColor(MakeColor(grey, grey, grey, 255));
  TPavedSurfaceItem::BuildPrimitives();
}

}  // namespace vellmar
