#include "items/road/RoadDetailKinds.h"

#include "document/KindClass.h"
#include "document/KindRegistry.h"
#include "items/road/CalcAreaItem.h"
#include "items/road/KolodItem.h"
#include "items/road/LnDefectItem.h"
#include "items/road/OstrovokItem.h"
#include "items/road/PictureItem.h"
#include "items/road/RadiusMeasureItem.h"
#include "items/road/RazmerItem.h"
#include "items/road/RazmetLabelPlaceItem.h"
#include "items/road/RazmetStopItem.h"
#include "items/road/ReshetItem.h"
#include "items/road/RulerItem.h"
#include "items/road/SlopeMeasureItem.h"
#include "items/road/SqDefectItem.h"
#include "items/road/StopItem.h"
#include "items/road/ZebraItem.h"

namespace vellmar {

namespace {
constexpr int32_t kStopKind = 32;
}  // namespace

void RegisterRoadDetailKinds() {
  RegisterKindClass<TOstrovokItem>(12);
  RegisterKindClass<TRazmetStopItem>(13);
  RegisterKindClass<TZebraItem>(14);
  RegisterKindClass<TPictureItem>(17);
  RegisterKindClass<TRulerItem>(25);
  RegisterKindClass<TKolodItem>(27);
  RegisterKindClass<TReshetItem>(28);
  RegisterKindClass<TRazmerItem>(30);
  RegisterKindClass<TRazmetLabelPlaceItem>(31);
  RegisterKindClass<TStopItem>(kStopKind);
  RegisterKindClass<TCalcAreaItem>(34);
  RegisterKindClass<TLnDefectItem>(37);
  RegisterKindClass<TSqDefectItem>(38);
  TKindRegistry::RegisterFactory(39, MakeItem<TRadiusMeasureItem>);
  TKindRegistry::RegisterFactory(40, MakeItem<TSlopeMeasureItem>);
  // Neither form of a stop can be drawn from one point, so it is dropped at load with
  // fewer than two.
  TItemKind stop = TKindRegistry::Kind(kStopKind);
  stop.MinPointCount = 2;
  TKindRegistry::Register(stop);
}

}  // namespace vellmar
