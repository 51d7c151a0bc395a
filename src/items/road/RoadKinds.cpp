#include "items/road/RoadKinds.h"

#include "document/KindClass.h"
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
  RegisterKindClass<TRazdPolItem>(1);
  RegisterKindClass<TRoadWayItem>(2);
  RegisterKindClass<TTrotuarItem>(3);
  RegisterKindClass<TGazonItem>(4);
  RegisterKindClass<TObochItem>(5);
  RegisterKindClass<THouseItem>(6);
  RegisterKindClass<TBortItem>(8);
  RegisterKindClass<TRoadWallItem>(9);
  RegisterKindClass<TLineRazmetItem>(10);
  RegisterKindClass<TArrowRazmetItem>(11);
  RegisterKindClass<TRazmetTextItem>(15);
  RegisterKindClass<TRazmetZnakItem>(16);
  RegisterKindClass<TTramWayItem>(18);
  TKindRegistry::RegisterFactory(24, MakeItem<TKMSignItem>);
  RegisterKindClass<TArcCoordsItem>(26);
  RegisterKindClass<TAxisItem>(35);
}

}  // namespace vellmar
