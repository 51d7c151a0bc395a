#include <gtest/gtest.h>

#include "../KindStreamTest.h"
#include "document/TaggedStream.h"
#include "items/road/ArrowRazmetItem.h"
#include "items/road/AxisItem.h"
#include "items/road/RazmetTextItem.h"
#include "items/road/RazmetZnakItem.h"
#include "items/road/RoadWallItem.h"
#include "platform/text/Cp1251.h"

namespace vellmar::test {
namespace {

constexpr int32_t kAxis = 35;
constexpr int32_t kArrow = 11;

using RoadKindsTest = KindStreamTest;

TEST_F(RoadKindsTest, AxisWithoutNameTakesItsCommentAndIsRebuilt) {
  TMemoryStream stored;
  WriteItemHead(stored, kAxis, 2);
  WriteIdent(stored, "COMMENT ");
  WriteString(stored, Utf8ToCp1251("Проспект Мира"));
  TAbstractItem* item = LoadItem(kAxis, stored);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(As<TAxisItem>(*item).AxisName(), Utf8ToCp1251("Проспект Мира"));
  EXPECT_TRUE(item->Points().Modified());
}

TEST_F(RoadKindsTest, MarkingLabelsFollowTheTextAndTheSignGroup) {
  auto* text = dynamic_cast<TRazmetTextItem*>(street.ItemList(15).NewItem());
  ASSERT_NE(text, nullptr);
  const struct {
    const char* Text;
    const char* Label;
  } texts[] = {{"СТОП", "1.21"}, {"стоп", "1.22"}, {"СТОП ", "1.22"}, {"", "1.22"}};
  for (const auto& c : texts) {
    text->SetText(Utf8ToCp1251(c.Text));
    EXPECT_EQ(text->GostLabel(), c.Label) << c.Text;
  }
  auto* sign = dynamic_cast<TRazmetZnakItem*>(street.ItemList(16).NewItem());
  ASSERT_NE(sign, nullptr);
  const struct {
    const char* Name;
    const char* Label;
  } signs[] = {{"1.1", "1.24.1"},       {"3.24", "1.24.2"}, {"8.2.1", "1.24.3"},
               {"5.19.1", "1.24.4(*)"}, {"2.1", "????"},    {"", "????"}};
  for (const auto& c : signs) {
    sign->SetSignName(c.Name);
    EXPECT_EQ(sign->GostLabel(), c.Label) << c.Name;
  }
}

TEST_F(RoadKindsTest, WallKindsAreNamedInIndexOrder) {
  const auto& names = TRoadWallItem::WallKindNames();
  EXPECT_EQ(names[0], Utf8ToCp1251("Двойное"));
  EXPECT_EQ(names[1], Utf8ToCp1251("Правое"));
  EXPECT_EQ(names[2], Utf8ToCp1251("Левое"));
}

// An arrow type the arrow library lacks must not lose its name on saving, and the items
// the arrow belongs to come back once the street is read.
TEST_F(RoadKindsTest, ArrowKeepsItsNameAndItsItemsThroughAStreet) {
  TAbstractItem* axis = street.ItemList(kAxis).NewItem();
  auto* arrow = dynamic_cast<TArrowRazmetItem*>(street.ItemList(kArrow).NewItem());
  ASSERT_NE(arrow, nullptr);
  for (TAbstractItem* item : {axis, static_cast<TAbstractItem*>(arrow)}) {
    item->Points().Insert(0, street.Points().FindByID(1));
    item->Points().Insert(1, street.Points().FindByID(2));
  }
  arrow->SetArrowName("NotInTheLibrary");
  arrow->Connected().SetCapacity(2);
  arrow->Connected().SetItem(1, axis);
  street.SetView({0, 0, 0}, 1.0f, 0.0f);  // a stored scale of 0 would load as 0.01
  TMemoryStream first;
  street.SaveToStream(first);

  TStreetStructure copy;
  first.SetPosition(0);
  copy.LoadFromStream(first);
  ASSERT_EQ(copy.ItemList(kArrow).Count(), 1);
  const auto& loaded = dynamic_cast<TArrowRazmetItem&>(*copy.ItemList(kArrow).Items(0));
  EXPECT_EQ(loaded.ArrowName(), "NotInTheLibrary");
  ASSERT_EQ(loaded.Connected().Count(), 2);
  EXPECT_EQ(loaded.Connected().Items(0), nullptr);
  EXPECT_EQ(loaded.Connected().Items(1), copy.ItemList(kAxis).Items(0));
  TMemoryStream second;
  copy.SaveToStream(second);
  EXPECT_EQ(BytesOf(second), BytesOf(first));
}

}  // namespace
}  // namespace vellmar::test
