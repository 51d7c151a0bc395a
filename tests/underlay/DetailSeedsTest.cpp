// The "details" seed of fuzz/StreetFuzz.cpp: a street with an item of every detail kind,
// a plan sheet with a stamp and an underlay, made with the kinds' own writers so that it
// stays a valid file as they change.
//   VELLMAR_WRITE_SEEDS=1 underlay_tests --gtest_filter='DetailSeeds.*'
// rewrites the committed file.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "document/StreetStructure.h"
#include "items/plan/PlanDefineItem.h"
#include "items/road/KolodItem.h"
#include "items/road/RazmerItem.h"
#include "items/road/StopItem.h"
#include "items/road/ZebraItem.h"
#include "kinds/AllKinds.h"
#include "platform/MemoryStream.h"
#include "support/CommittedFile.h"
#include "support/Prerequisite.h"
#include "support/TestSupport.h"
#include "underlay/SubLayerItem.h"

namespace vellmar {
namespace {

// An item of the kind over new points at the given positions.
TAbstractItem* Place(TStreetStructure& street, int32_t kind, std::initializer_list<TXYZ> points) {
  TAbstractItem* item = street.ItemList(kind).NewItem();
  for (const TXYZ& p : points) item->Points().InsertNew(item->Points().Count(), p);
  return item;
}

std::vector<uint8_t> DetailStreet() {
  TStreetStructure street;
  street.SetView({5, 5, 0}, 0.1f, 0.0f);
  auto* underlay =
      dynamic_cast<TSubLayerItem*>(Place(street, 0, {{0, 0, 0}, {0, 9, 0}, {9, 9, 0}, {9, 0, 0}}));
  underlay->SetFileName("C:\\maps\\photo.sub");
  Place(street, 12, {{1, 1, 0}, {4, 1, 0}, {2, 3, 0}});
  Place(street, 13, {{0, 2, 0}, {9, 2, 0}});
  dynamic_cast<TZebraItem*>(Place(street, 14, {{1, 5, 0}, {1, 8, 0}}))->SetBackground(true);
  Place(street, 17, {{6, 6, 0}, {7, 6, 0}});
  Place(street, 25, {{3, 3, 0}, {4, 4, 0}});
  dynamic_cast<TKolodItem*>(Place(street, 27, {{5, 5, 0}}))->SetOwner("water");
  Place(street, 28, {{6, 5, 0}, {6, 6, 0}});
  TAbstractItem* axis = Place(street, 35, {{0, 0, 0}, {9, 0, 0}});
  auto* dimension =
      dynamic_cast<TRazmerItem*>(Place(street, 30, {{0, 1, 0}, {9, 1, 0}, {3, 2, 0}, {6, 2, 0}}));
  dimension->Contour().SetCapacity(1);
  dimension->Contour().SetItem(0, axis);
  dimension->SetCustomTexts(true);
  dimension->SetTexts({"3", "3"});
  Place(street, 31, {{2, 0, 0}, {2, 9, 0}});
  dynamic_cast<TStopItem*>(Place(street, 32, {{8, 1, 0}, {8, 5, 0}}))->SetStopName("school");
  Place(street, 34, {{0, 0, 0}, {2, 0, 0}, {2, 2, 0}});
  Place(street, 37, {{1, 1, 0}, {2, 2, 0}});
  Place(street, 38, {{5, 0, 0}, {7, 0, 0}, {7, 2, 0}});
  Place(street, 39, {{0, 0, 0}, {1, 1, 0}, {2, 0, 0}});
  Place(street, 40, {{0, 0, 0}, {1, 1, 0}});
  auto* sheet = dynamic_cast<TPlanDefineItem*>(Place(street, 36, {{0, 0, 0}, {1, 0, 0}}));
  auto stamp = std::make_unique<TStreetStructure>();
  stamp->SetStreetName("stamp");
  stamp->SetView({}, 0.01f, 0.0f);  // a new street's scale of 0 would load as 0.01
  Place(*stamp, 27, {{10, 10, 0}});
  sheet->SetStamp(TPlanDefineItem::TCorner::BottomRight, std::move(stamp));
  sheet->SetSheetKinds({0, 27, 36});
  TMemoryStream out;
  street.SaveToStream(out);
  return {out.Bytes().begin(), out.Bytes().end()};
}

TEST(DetailSeeds, CommittedSeedIsWhatTheWritersMake) {
  const auto path = test::SourceDir() / "fuzz/corpus/StreetFuzz/details";
  if (!std::filesystem::is_directory(path.parent_path()))
    VELLMAR_SKIP_OR_FAIL("no source tree beside the test");
  RegisterAllKinds();
  const std::vector<uint8_t> bytes = DetailStreet();
  EXPECT_TRUE(test::IsCommittedFile(path, bytes));
  // The seed is a street that loads and saves back unchanged, underlay, stamp and all.
  TMemoryStream in(bytes);
  TStreetStructure loaded;
  loaded.LoadFromStream(in);
  TMemoryStream again;
  loaded.SaveToStream(again);
  EXPECT_EQ(std::vector<uint8_t>(again.Bytes().begin(), again.Bytes().end()), bytes);
}

}  // namespace
}  // namespace vellmar
