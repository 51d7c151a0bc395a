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
  TKindRegistry::RegisterFactory(1, MakeItem<TRazdPolItem>);
  TKindRegistry::RegisterFactory(2, MakeItem<TRoadWayItem>);
  TKindRegistry::RegisterFactory(3, MakeItem<TTrotuarItem>);
  TKindRegistry::RegisterFactory(4, MakeItem<TGazonItem>);
  TKindRegistry::RegisterFactory(5, MakeItem<TObochItem>);
  TKindRegistry::RegisterFactory(6, MakeItem<THouseItem>);
  TKindRegistry::RegisterFactory(8, MakeItem<TBortItem>);
  TKindRegistry::RegisterFactory(9, MakeItem<TRoadWallItem>);
  TKindRegistry::RegisterFactory(10, MakeItem<TLineRazmetItem>);
  TKindRegistry::RegisterFactory(11, MakeItem<TArrowRazmetItem>);
  TKindRegistry::RegisterFactory(15, MakeItem<TRazmetTextItem>);
  TKindRegistry::RegisterFactory(16, MakeItem<TRazmetZnakItem>);
  TKindRegistry::RegisterFactory(18, MakeItem<TTramWayItem>);
  TKindRegistry::RegisterFactory(24, MakeItem<TKMSignItem>);
  TKindRegistry::RegisterFactory(26, MakeItem<TArcCoordsItem>);
  TKindRegistry::RegisterFactory(35, MakeItem<TAxisItem>);
}

}  // namespace vellmar
