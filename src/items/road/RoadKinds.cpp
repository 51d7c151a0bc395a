#include "items/road/RoadKinds.h"

#include "document/KindRegistry.h"
#include "items/road/ArcCoordsItem.h"
#include "items/road/ArrowRazmetItem.h"
#include "items/road/AxisItem.h"
#include "items/road/BortItem.h"
#include "items/road/GazonItem.h"
#include "items/road/HouseItem.h"
#include "items/road/KMSignItem.h"
#include "items/road/LineRazmetItem.h"
#include "items/road/ObochItem.h"
#include "items/road/RazdPolItem.h"
#include "items/road/RazmetTextItem.h"
#include "items/road/RazmetZnakItem.h"
#include "items/road/RoadWallItem.h"
#include "items/road/RoadWayItem.h"
#include "items/road/TramWayItem.h"
#include "items/road/TrotuarItem.h"

namespace vellmar {

void RegisterRoadKinds() {
  TKindRegistry::RegisterClass(1, MakeItem<TRazdPolItem>, TRazdPolItem::InitKindCollections);
  TKindRegistry::RegisterClass(2, MakeItem<TRoadWayItem>, TRoadWayItem::InitKindCollections);
  TKindRegistry::RegisterClass(3, MakeItem<TTrotuarItem>, TTrotuarItem::InitKindCollections);
  TKindRegistry::RegisterClass(4, MakeItem<TGazonItem>, TGazonItem::InitKindCollections);
  TKindRegistry::RegisterClass(5, MakeItem<TObochItem>, TObochItem::InitKindCollections);
  TKindRegistry::RegisterClass(6, MakeItem<THouseItem>, THouseItem::InitKindCollections);
  TKindRegistry::RegisterClass(8, MakeItem<TBortItem>, TBortItem::InitKindCollections);
  TKindRegistry::RegisterClass(9, MakeItem<TRoadWallItem>, TRoadWallItem::InitKindCollections);
  TKindRegistry::RegisterClass(10, MakeItem<TLineRazmetItem>, TLineRazmetItem::InitKindCollections);
  TKindRegistry::RegisterFactory(11, MakeItem<TArrowRazmetItem>);
  TKindRegistry::RegisterFactory(15, MakeItem<TRazmetTextItem>);
  TKindRegistry::RegisterFactory(16, MakeItem<TRazmetZnakItem>);
  TKindRegistry::RegisterClass(18, MakeItem<TTramWayItem>, TTramWayItem::InitKindCollections);
  TKindRegistry::RegisterFactory(24, MakeItem<TKMSignItem>);
  TKindRegistry::RegisterClass(26, MakeItem<TArcCoordsItem>, TArcCoordsItem::InitKindCollections);
  TKindRegistry::RegisterClass(35, MakeItem<TAxisItem>, TAxisItem::InitKindCollections);
}

}  // namespace vellmar
