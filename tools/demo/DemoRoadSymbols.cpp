#include "DemoRoadSymbols.h"

#include <string>
#include <vector>

#include "document/StreetStructure.h"
#include "items/road/ArrowRazmetItem.h"
#include "items/road/KolodItem.h"
#include "items/road/LineRazmetItem.h"
#include "items/road/PictureItem.h"
#include "items/road/RazmerItem.h"
#include "items/road/RazmetLabelPlaceItem.h"
#include "items/road/RazmetTextItem.h"
#include "items/road/RazmetZnakItem.h"
#include "items/road/StopItem.h"
#include "platform/MemoryStream.h"
#include "platform/metafile/MetafileWriter.h"
#include "platform/text/Cp1251.h"

namespace vellmar {

namespace {

// Lanes: the southern carriageway carries the east-bound traffic in lanes centred at
// y = -5.75 and -9.25, the northern one the west-bound traffic at 5.75 and 9.25.
struct TSymbol {
  int32_t Kind;
  std::vector<TXYZ> Points;
  const char* Type;  // UTF-8: arrow type, painted text, sign, marking or owner
};

const std::vector<TSymbol>& Symbols() {
  static const std::vector<TSymbol> symbols = {
      // Arrows before the crossing; the three-point one shows two arrows in a row.
      {TArrowRazmetItem::kKindIndex, {{130, -9.25f, 0}, {135, -9.25f, 0}}, "Прямо и направо"},
      {TArrowRazmetItem::kKindIndex, {{128, -5.75f, 0}, {133, -5.75f, 0}}, "Налево"},
      {TArrowRazmetItem::kKindIndex, {{106, -5.75f, 0}, {111, -5.75f, 0}, {116, -5.75f, 0}}, "Прямо и налево"},
      {TArrowRazmetItem::kKindIndex, {{172, 5.75f, 0}, {167, 5.75f, 0}}, "Направо"},
      // Words read by the drivers they face: letters stand along the traffic.
      {TRazmetTextItem::kKindIndex, {{138.5f, -4.5f, 0}, {138.5f, -8.5f, 0}}, "СТОП"},
      {TRazmetTextItem::kKindIndex, {{106, 8.2f, 0}, {106, 11, 0}}, "BUS"},
      // Signs painted on the lanes, upright for the traffic they face.
      {TRazmetZnakItem::kKindIndex, {{60, -9.25f, 0}, {60, -10.25f, 0}}, "3.24-40"},
      {TRazmetZnakItem::kKindIndex, {{80, -5.75f, 0}, {80, -6.75f, 0}}, "1.23"},
      {TRazmetZnakItem::kKindIndex, {{137, 5.75f, 0}, {137, 6.75f, 0}}, "5.19.1"},
      {TRazmetZnakItem::kKindIndex, {{100, 9.25f, 0}, {100, 10.25f, 0}}, "5.14"},
      // A yellow no-stopping line along the southern curb and a place for the labels of
      // the markings across the southern carriageway.
      {TLineRazmetItem::kKindIndex, {{20, -10.8f, 0}, {95, -10.8f, 0}}, "1.4"},
      {TRazmetLabelPlaceItem::kKindIndex, {{50, -12, 0}, {50, -3, 0}}, nullptr},
      {TKolodItem::kKindIndex, {{88, -9, 0}}, "Водоканал"},
      {TStopItem::kKindIndex, {{240, 12, 0}, {245, 12, 0}}, nullptr},
      // A kiosk on the northern sidewalk, drawn as its picture's frame.
      {TPictureItem::kKindIndex, {{30, 17.8f, 0}, {33, 17.8f, 0}}, nullptr},
      // Sidewalk, lawn and carriageway measured across the southern side.
      {TRazmerItem::kKindIndex,
       {{232, -20, 0}, {232, 0, 0}, {232, -18, 0}, {232, -14, 0}, {232, -11, 0}, {232, -4, 0}},
       nullptr},
  };
  return symbols;
}

// A kiosk's plan as the picture of a picture item: 3 by 2 m at 100 pixels a metre.
void GiveKioskPicture(TPictureItem& item) {
  TEmfWriter emf(300, 200);
  emf.SelectObject(emf.CreatePen(0, 4, 0x404040));
  emf.SelectObject(emf.CreateBrush(0, 0xC8E6F0));
  emf.Rectangle(10, 10, 290, 190);
  emf.SelectObject(emf.CreateBrush(0, 0x3C78B4));
  emf.Ellipse(120, 60, 180, 120);
  TMemoryStream in(emf.Finish());
  item.Picture().LoadFromStream(in);
}

void GiveType(TAbstractItem& item, const std::string& type) {
  if (auto* arrow = dynamic_cast<TArrowRazmetItem*>(&item)) arrow->SetArrowName(type);
  if (auto* text = dynamic_cast<TRazmetTextItem*>(&item)) text->SetText(type);
  if (auto* sign = dynamic_cast<TRazmetZnakItem*>(&item)) sign->SetSignName(type);
  if (auto* marking = dynamic_cast<TLineRazmetItem*>(&item)) marking->SetGostName(type);
  if (auto* manhole = dynamic_cast<TKolodItem*>(&item)) manhole->SetOwner(type);
}

}  // namespace

void AddDemoRoadSymbols(TStreetStructure& street) {
  for (const TSymbol& symbol : Symbols()) {
    TAbstractItem* item = street.ItemList(symbol.Kind).NewItem();
    for (const TXYZ& p : symbol.Points) item->Points().InsertNew(item->Points().Count(), p);
    if (symbol.Type != nullptr) GiveType(*item, Utf8ToCp1251(symbol.Type));
    // A stop on the northern lawn marked by a flag on a pole.
    if (auto* stop = dynamic_cast<TStopItem*>(item)) stop->SetPavilion(false);
    if (auto* picture = dynamic_cast<TPictureItem*>(item)) GiveKioskPicture(*picture);
  }
}

}  // namespace vellmar
