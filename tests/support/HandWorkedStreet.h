#pragma once
// A street whose quantities are worked out by hand, for the export and quantity tests:
// a main axis along x from 0 to 200; a 100 m line of marking 1.5 (dashes of 3 in 12:
// eight repeats of 12.5 m, 25 m and 2.5 m² painted); a zebra 4 m long and 6 m wide
// (four stripes 0.4 m deep: 9.6 m²); three signs, 5.19.1 at stations 30 (8 m right) and
// 60 (8 m left) and 3.24 at 90 (8 m right); two carriageway squares of 2000 m² sharing
// an edge; a bow-tie lawn whose outline crosses itself (two triangles of 25 m² by the
// even-odd rule, 0 by the signed area); a 200 m kerb and a 60 m barrier. Needs the kinds
// registered and the committed data files as the data root (the marking library).

#include <filesystem>
#include <initializer_list>

#include "document/AbstractItem.h"
#include "document/StreetStructure.h"
#include "items/road/LineRazmetItem.h"
#include "items/road/ZebraItem.h"
#include "items/signs/ZnakItem.h"

namespace vellmar::test {

inline std::filesystem::path CommittedDataFiles() {
  // Not found through __FILE__: a compiler cache may make that relative to the build folder.
  return std::filesystem::path(VELLMAR_SOURCE_DIR) / "data/DataFiles";
}

inline TAbstractItem* AddItem(TStreetStructure& street, int32_t kind, std::initializer_list<TXYZ> points) {
  TAbstractItem* item = street.ItemList(kind).NewItem();
  for (const TXYZ& p : points) item->Points().InsertNew(item->Points().Count(), p);
  return item;
}

inline void BuildHandWorkedStreet(TStreetStructure& street) {
  constexpr int32_t kRoadway = 2, kLawn = 4, kKerb = 8, kBarrier = 9, kAxis = 35;
  TAbstractItem* axis = AddItem(street, kAxis, {{0, 0, 0}, {200, 0, 0}});
  street.MainReferences().SetItem(0, axis);
  auto* dashed = dynamic_cast<TLineRazmetItem*>(AddItem(street, TLineRazmetItem::kKindIndex, {{0, 2, 0}, {100, 2, 0}}));
  dashed->SetGostName("1.5");
  AddItem(street, TZebraItem::kKindIndex, {{120, -3, 0}, {124, -3, 0}});
  const struct {
    float X, Y;
    const char* Picture;
  } signs[] = {{30, -8, "5-19-1.emf"}, {60, 8, "5-19-1.emf"}, {90, -8, "3-24_40.emf"}};
  for (const auto& s : signs) {
    auto* sign = dynamic_cast<TZnakItem*>(
        AddItem(street, TZnakItem::kKindIndex, {{s.X, s.Y, 0}, {s.X + 0.5f, s.Y + 1, 0}, {s.X, s.Y + 1, 0}}));
    sign->AddPlate().SetLibName(s.Picture);
  }
  AddItem(street, kRoadway, {{0, -10, 0}, {100, -10, 0}, {100, 10, 0}, {0, 10, 0}});
  AddItem(street, kRoadway, {{100, -10, 0}, {200, -10, 0}, {200, 10, 0}, {100, 10, 0}});
  AddItem(street, kLawn, {{0, 20, 0}, {10, 30, 0}, {10, 20, 0}, {0, 30, 0}});
  AddItem(street, kKerb, {{0, 10, 0}, {200, 10, 0}});
  AddItem(street, kBarrier, {{0, -12, 0}, {50, -12, 0}, {50, -22, 0}});
}

}  // namespace vellmar::test
