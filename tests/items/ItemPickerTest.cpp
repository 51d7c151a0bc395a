#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "document/AbstractItem.h"
#include "document/ItemList.h"
#include "document/KindRegistry.h"
#include "document/StreetStructure.h"
#include "items/ItemKinds.h"
#include "items/ItemPicker.h"
#include "items/road/AxisItem.h"
#include "items/signs/NamedMetafileLib.h"
#include "items/signs/SignLibraries.h"
#include "items/signs/ZnakItem.h"
#include "signs/SignPictures.h"

namespace vellmar {
namespace {

constexpr int32_t kCarriageway = 2, kSidewalk = 3, kLawn = 4, kCurb = 8, kSign = 22, kAxis = 35;

// A carriageway with a sign on it and its axis down the middle, a sidewalk north of it
// with a curb drawn on the sidewalk, and two lawns of which the later overlaps the first.
class ItemPickerTest : public testing::Test {
 public:
  ItemPickerTest() {
    RegisterAllItemKinds();
    carriageway = Add(kCarriageway, {{0, 0, 0}, {100, 0, 0}, {100, 10, 0}, {0, 10, 0}});
    sidewalk = Add(kSidewalk, {{0, 10, 0}, {100, 10, 0}, {100, 14, 0}, {0, 14, 0}});
    curb = Add(kCurb, {{0, 10.5f, 0}, {60, 10.5f, 0}});
    sign = Add(kSign, {{40, 5, 0}});
    axis = Add(kAxis, {{0, 5, 0}, {100, 5, 0}});
    firstLawn = Add(kLawn, {{200, 0, 0}, {210, 0, 0}, {210, 10, 0}, {200, 10, 0}});
    secondLawn = Add(kLawn, {{205, 0, 0}, {215, 0, 0}, {215, 10, 0}, {205, 10, 0}});
  }
  TAbstractItem* Add(int32_t kind, const std::vector<TXYZ>& points) {
    TAbstractItem* item = street.ItemList(kind).NewItem();
    for (const TXYZ& p : points) item->Points().InsertNew(item->Points().Count(), p);
    return item;
  }
  TStreetStructure street;
  // The items, named for the cases.
  TAbstractItem *carriageway, *sidewalk, *curb, *sign, *axis, *firstLawn, *secondLawn;
};

// Three pixels of 0.1 m.
constexpr double kTolerance = 0.3;

TEST_F(ItemPickerTest, TheTopmostDrawnItemUnderThePoint) {
  struct TCase {
    std::string Name;
    TXYZ Point;
    TAbstractItem* ItemPickerTest::*Expected;  // nullptr: nothing there
  };
  const TCase cases[] = {
      {"the sign over the carriageway under it", {40, 5, 0}, &ItemPickerTest::sign},
      {"the sign within the tolerance", {40.2f, 5, 0}, &ItemPickerTest::sign},
      {"the carriageway beside the sign, under an axis whose line is hidden", {40.5f, 5, 0},
       &ItemPickerTest::carriageway},
      {"the curb over the sidewalk", {30, 10.6f, 0}, &ItemPickerTest::curb},
      {"the curb just past its end", {60.2f, 10.5f, 0}, &ItemPickerTest::curb},
      {"the sidewalk on the curb's line beyond its end", {65, 10.5f, 0}, &ItemPickerTest::sidewalk},
      {"the sidewalk away from the curb", {30, 12, 0}, &ItemPickerTest::sidewalk},
      {"the carriageway within the tolerance outside its edge", {50, -0.2f, 0}, &ItemPickerTest::carriageway},
      {"the later of two overlapping items of a kind", {207, 5, 0}, &ItemPickerTest::secondLawn},
      {"the earlier where only it lies", {202, 5, 0}, &ItemPickerTest::firstLawn},
      {"nothing outside every item", {50, -1, 0}, nullptr},
      {"nothing between the lawns and the street", {150, 5, 0}, nullptr},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TAbstractItem* expected = c.Expected == nullptr ? nullptr : this->*c.Expected;
    const TAbstractItem* picked = PickItem(street, TKindRegistry::AllKinds(), c.Point, kTolerance);
    EXPECT_EQ(picked, expected) << "picked an item of kind " << (picked ? picked->KindIndex() : -1);
    EXPECT_EQ(TItemPicker(street).Pick(TKindRegistry::AllKinds(), c.Point, kTolerance), expected);
  }
}

TEST_F(ItemPickerTest, HiddenKindsAreLookedThrough) {
  const TItemPicker picker(street);
  TKindSet visible = TKindRegistry::AllKinds();
  visible.Exclude(kSign);
  EXPECT_EQ(PickItem(street, visible, {40, 5, 0}, kTolerance), carriageway);
  EXPECT_EQ(picker.Pick(visible, {40, 5, 0}, kTolerance), carriageway);
  visible.Exclude(kCarriageway);
  EXPECT_EQ(PickItem(street, visible, {40, 5, 0}, kTolerance), nullptr);
  EXPECT_EQ(picker.Pick(visible, {40, 5, 0}, kTolerance), nullptr);
}

// The fast picker skips items by their boxes; a box that is too small (the tolerance
// forgotten, a closing edge or a single point left out) loses hits near the edges.
TEST_F(ItemPickerTest, TheFastPickerAgreesWithTheReferenceEverywhere) {
  Add(kCurb, {{-5, -5, 0}, {-1, -1, 0}});
  Add(kSign, {{120, 12, 0}});
  Add(kLawn, {{230, 0, 0}, {240, 10, 0}, {220, 10, 0}});
  const TItemPicker picker(street);
  int hits = 0;
  for (float x = -6; x <= 245; x += 0.35f) {
    for (float y = -6; y <= 15; y += 0.35f) {
      TAbstractItem* expected = PickItem(street, TKindRegistry::AllKinds(), {x, y, 0}, kTolerance);
      ASSERT_EQ(picker.Pick(TKindRegistry::AllKinds(), {x, y, 0}, kTolerance), expected) << x << ", " << y;
      hits += expected != nullptr;
    }
  }
  EXPECT_GT(hits, 1000);
}

TEST_F(ItemPickerTest, AnAxisIsPickedOnlyWhenItsLineIsDrawn) {
  dynamic_cast<TAxisItem&>(*axis).SetDrawLine(true);
  EXPECT_EQ(PickItem(street, TKindRegistry::AllKinds(), {70, 5.1f, 0}, kTolerance), axis);
  dynamic_cast<TAxisItem&>(*axis).SetDrawLine(false);
  EXPECT_EQ(PickItem(street, TKindRegistry::AllKinds(), {70, 5.1f, 0}, kTolerance), carriageway);
}

TEST_F(ItemPickerTest, TheToleranceGrowsWithThePixel) {
  // A click 1 m beside the curb hits it at 1 m pixels, not at 0.1 m ones.
  EXPECT_EQ(PickItem(street, TKindRegistry::AllKinds(), {30, 11.5f, 0}, kTolerance), sidewalk);
  EXPECT_EQ(PickItem(street, TKindRegistry::AllKinds(), {30, 11.5f, 0}, 3.0), curb);
}

// A sign is mostly its plates: a click on a plate away from the post picks the sign over
// the carriageway under it, and the fast picker's box must reach round the plate.
TEST_F(ItemPickerTest, ASignIsPickedOnItsPlateNotOnlyOnItsPost) {
  TNamedMetafileLib library;
  TNameValueList translation;
  // 300 picture units square: 2 m at the street's sign scale.
  const TMetafile picture = test::MetafileOf(test::BandPicture(300, 300, {0xFF0000}));
  const TSignLibraries libraries{library, translation, picture};
  // Foot at (70, 2), plates mounted at (70, 9) with the bend left of the top: they stand
  // upright, the plate 3 m under the top centred on (70, 6).
  auto& plated = dynamic_cast<TZnakItem&>(*Add(kSign, {{70, 2, 0}, {69, 9, 0}, {70, 9, 0}}));
  plated.UseLibraries(libraries);
  TEmfSubItem& plate = plated.AddPlate();
  plate.SetLibName("absent.emf");  // the library's missing-sign picture
  plate.SetOrigin({0, -3, 0});

  const auto outline = plated.PlateOutline(plate);
  ASSERT_TRUE(outline.has_value());
  for (size_t i = 0; i < 4; ++i) {
    const TXYZ& a = (*outline)[i];
    EXPECT_NEAR(std::abs(a.x - 70.0), 1.0, 1e-4) << i;
    EXPECT_NEAR(std::abs(a.y - 6.0), 1.0, 1e-4) << i;
  }

  const TItemPicker picker(street);
  struct TCase {
    const char* Name;
    TXYZ Point;
    TAbstractItem* Expected;
  };
  const TCase cases[] = {
      {"on the plate's corner, far from the post", {70.9f, 5.1f, 0}, &plated},
      {"just outside the plate", {71.2f, 6, 0}, carriageway},
      {"on the post below the plate", {70, 3, 0}, &plated},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(PickItem(street, TKindRegistry::AllKinds(), c.Point, kTolerance), c.Expected);
    EXPECT_EQ(picker.Pick(TKindRegistry::AllKinds(), c.Point, kTolerance), c.Expected);
  }
}

}  // namespace
}  // namespace vellmar
