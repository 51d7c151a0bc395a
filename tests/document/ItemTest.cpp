#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "document/AbstractItem.h"
#include "document/ConnectedItems.h"
#include "document/ItemList.h"
#include "document/KindRegistry.h"
#include "document/StreetStructure.h"
#include "document/TaggedStream.h"
#include "platform/Error.h"
#include "platform/MemoryStream.h"
#include "platform/text/Cp1251.h"

namespace vellmar {
namespace {

constexpr int32_t kLineKind = 8;  // "BORT    "
constexpr int32_t kAxisKind = 35;

class ItemTest : public ::testing::Test {
 protected:
  void SetUp() override { RegisterItemKinds(); }

  // An ITEM chunk written value by value, as another program could have written it.
  static void WriteItem(TStream& out, const TIdent& kind, int32_t id, const std::vector<int32_t>& pointIDs,
                        bool active, const char* group) {
    WriteIdent(out, "ITEM    ");
    WriteIdent(out, kind);
    WriteInt32(out, id);
    if (!pointIDs.empty()) {
      WriteIdent(out, "PNTLIST ");
      WriteInt32(out, static_cast<int32_t>(pointIDs.size()));
      for (int32_t pointID : pointIDs) WriteInt32(out, pointID);
    }
    WriteIdent(out, "ITEMACTV");
    WriteFlag(out, active);
    if (group != nullptr) {
      WriteIdent(out, "GROUPNAM");
      WriteString(out, group);
    }
  }

  TStreetStructure street;
};

TEST_F(ItemTest, RegistryHoldsAll41KindsWithTheirIdentsAndNames) {
  for (int32_t i = 0; i < kKindCount; ++i) {
    const TItemKind& kind = TKindRegistry::Kind(i);
    EXPECT_EQ(kind.Index, i);
    EXPECT_EQ(TKindRegistry::FindKindByIdent(kind.Ident), &kind) << i;
  }
  EXPECT_EQ(TKindRegistry::Kind(2).Ident, TIdent("ROADWAY "));
  EXPECT_EQ(TKindRegistry::Kind(2).DisplayName, Utf8ToCp1251("Проезжая часть"));
  EXPECT_EQ(TKindRegistry::Kind(40).DisplayName, Utf8ToCp1251("Измеритель уклона"));
  EXPECT_EQ(TKindRegistry::Kind(4).Base, TKindBase::Polygon);
  EXPECT_TRUE(TKindRegistry::Kind(4).IsClosed);
  EXPECT_EQ(TKindRegistry::Kind(26).Base, TKindBase::Line);
  EXPECT_EQ(TKindRegistry::Kind(21).Base, TKindBase::OrientPoint);
  EXPECT_TRUE(TKindRegistry::Kind(27).IsAnnotationKind);
  EXPECT_EQ(TKindRegistry::FindKindByIdent("EMPTYCLS"), nullptr);
  EXPECT_THROW(TKindRegistry::Kind(41), EVellmarError);
}

TEST_F(ItemTest, KindSetTextNamesEachKindFollowedBySemicolon) {
  const TKindSet set{1, 4, 40};
  const std::string text = TKindRegistry::KindSetToText(set);
  EXPECT_EQ(text, Utf8ToCp1251("Разд. полоса;Газон;Измеритель уклона;"));
  EXPECT_EQ(TKindRegistry::TextToKindSet(text), set);
  // "Дорожный знак;" must not be found inside "Дорожный знак 2;".
  EXPECT_EQ(TKindRegistry::TextToKindSet(Utf8ToCp1251("Дорожный знак 2;")), (TKindSet{23}));
  const TKindSet all = TKindRegistry::AllKinds();
  EXPECT_TRUE(all.Contains(0) && all.Contains(47));
}

TEST_F(ItemTest, ItemChunkRoundTripsByteForByte) {
  TAbstractItem* axis = street.ItemList(kAxisKind).NewItem();
  TAbstractItem* item = street.ItemList(kLineKind).NewItem();
  item->Points().InsertNew(0, {0, 0, 0});
  item->Points().InsertNew(1, {1, 0, 0});
  item->SetGroupName("G1");
  item->SetComment(Utf8ToCp1251("Примечание"));
  item->References().SetItem(0, axis);
  EXPECT_TRUE(axis->IsReferenced());
  TMemoryStream first;
  item->SaveToStream(first);

  TMemoryStream expected;
  WriteItem(expected, "BORT    ", 1, {1, 2}, true, "G1");
  WriteIdent(expected, "COMMENT ");
  WriteString(expected, Utf8ToCp1251("Примечание"));
  WriteIdent(expected, "REFERAX ");
  WriteIdent(expected, "CONNECTD");
  WriteInt32(expected, 1);
  WriteObjectRef(expected, TObjectRef{"AXIS    ", 1});
  // The writer adds the smoothing flag that the hand-written chunk left out.
  std::vector<uint8_t> want(expected.Bytes().begin(), expected.Bytes().end());
  const uint8_t smooth[] = {'P', 'N', 'T', 'L', 'S', 'T', 'S', 'P', 0};
  want.insert(want.begin() + 28, std::begin(smooth), std::end(smooth));
  EXPECT_EQ(std::vector<uint8_t>(first.Bytes().begin(), first.Bytes().end()), want);

  TAbstractItem* copy = street.ItemList(kLineKind).NewItem();
  first.SetPosition(0);
  copy->LoadFromStream(first);
  EXPECT_EQ(first.Remaining(), 0);
  copy->References().Resolve();
  EXPECT_EQ(copy->ReferenceAxis(), axis);
  TMemoryStream second;
  copy->SaveToStream(second);
  EXPECT_EQ(std::vector<uint8_t>(second.Bytes().begin(), second.Bytes().end()), want);
}

TEST_F(ItemTest, WrongIdentsRaiseTheirMessages) {
  TAbstractItem* item = street.ItemList(kLineKind).NewItem();
  TMemoryStream notItem;
  WriteIdent(notItem, "ITEMLIST");
  notItem.SetPosition(0);
  try {
    item->LoadFromStream(notItem);
    FAIL();
  } catch (const EVellmarError& e) {
    EXPECT_STREQ(e.what(), "TAbstractItem.LoadFromStream: Ident<>ITEM");
  }
  TMemoryStream otherKind;
  WriteItem(otherKind, "GAZON   ", 1, {}, true, nullptr);
  otherKind.SetPosition(0);
  try {
    item->LoadFromStream(otherKind);
    FAIL();
  } catch (const EVellmarError& e) {
    EXPECT_STREQ(e.what(), "TAbstractItem.LoadFromStream: Ident<>BORT    ");
  }
  TMemoryStream otherList;
  WriteIdent(otherList, "ITEMLIST");
  WriteIdent(otherList, "GAZON   ");
  otherList.SetPosition(0);
  try {
    street.ItemList(kLineKind).LoadFromStream(otherList);
    FAIL();
  } catch (const EVellmarError& e) {
    EXPECT_STREQ(e.what(), "TItemList.LoadFromStream: ident BORT     not found");
  }
}

TEST_F(ItemTest, GroupTableDecidesWhetherALoadedItemIsShown) {
  street.GroupNames().Lines() = {"Shown=ON", "Hidden=OFF", "Lower=on"};
  struct TCase {
    const char* Group;
    bool StoredActive;
    bool Active;
  };
  const TCase cases[] = {
      {"Shown", false, true},   // "ON" shows the group whatever the item stored
      {"shown", false, true},   // group names match without regard to case
      {"Hidden", true, false},  // any other value hides it
      {"Lower", true, false},   // the value must be "ON" exactly
      {"Unlisted", false, true}, {nullptr, false, true},
  };
  for (const TCase& c : cases) {
    TMemoryStream stream;
    WriteItem(stream, "BORT    ", 5, {}, c.StoredActive, c.Group);
    stream.SetPosition(0);
    TAbstractItem* item = street.ItemList(kLineKind).NewItem();
    item->LoadFromStream(stream);
    EXPECT_EQ(item->Active(), c.Active) << (c.Group ? c.Group : "(none)");
  }
}

TEST_F(ItemTest, LoadedListCountsIDsOnFromTheHighest) {
  // A kind straight on the item base, which keeps items without vertices.
  TMemoryStream stream;
  WriteIdent(stream, "ITEMLIST");
  WriteIdent(stream, "RULER   ");
  WriteInt32(stream, 2);
  WriteItem(stream, "RULER   ", 7, {}, true, nullptr);
  WriteItem(stream, "RULER   ", 3, {}, true, nullptr);
  stream.SetPosition(0);
  TItemList& list = street.ItemList(25);
  list.LoadFromStream(stream);
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.LastID(), 8);
  EXPECT_EQ(list.NewItem()->ID(), 9);
  EXPECT_EQ(list.FindByID(3), list.Items(1));
  EXPECT_EQ(list.FindByID(4), nullptr);
}

TEST_F(ItemTest, EmptyListWritesNothing) {
  TMemoryStream stream;
  street.ItemList(kLineKind).SaveToStream(stream);
  EXPECT_EQ(stream.Size(), 0);
}

TEST_F(ItemTest, FixedReferenceListRefusesMoreReferencesThanSlots) {
  TMemoryStream stream;
  WriteIdent(stream, "CONNECTD");
  WriteInt32(stream, 2);
  WriteObjectRef(stream, TObjectRef{});
  WriteObjectRef(stream, TObjectRef{});
  stream.SetPosition(0);
  TConnectedItems fixed(street, true, 1);
  try {
    fixed.LoadFromStream(stream);
    FAIL();
  } catch (const EVellmarError& e) {
    EXPECT_STREQ(e.what(), "TConnectedItems.LoadFromStream: Fixed, but Size>Capacity");
  }
  stream.SetPosition(0);
  TConnectedItems growing(street, false, 0);
  growing.LoadFromStream(stream);
  EXPECT_EQ(growing.Count(), 2);
}

TEST_F(ItemTest, ReferencesResolveToItemsOrEmptySlots) {
  TAbstractItem* axis = street.ItemList(kAxisKind).NewItem();
  TMemoryStream stream;
  WriteIdent(stream, "CONNECTD");
  WriteInt32(stream, 4);
  WriteObjectRef(stream, TObjectRef{"AXIS    ", axis->ID()});
  WriteObjectRef(stream, TObjectRef{"AXIS    ", 77});  // no such ID
  WriteObjectRef(stream, TObjectRef{"NOSUCHKD", 1});   // no such kind
  WriteObjectRef(stream, TObjectRef{});                // "EMPTYCLS"
  stream.SetPosition(0);
  TConnectedItems list(street, false, 0);
  list.LoadFromStream(stream);
  list.Resolve();
  ASSERT_EQ(list.Count(), 4);
  EXPECT_EQ(list.Items(0), axis);
  for (int32_t i = 1; i < 4; ++i) EXPECT_EQ(list.Items(i), nullptr);

  // A list without "CONNECTD" stays as it was.
  TMemoryStream other;
  WriteIdent(other, "SOMETHNG");
  other.SetPosition(0);
  list.LoadFromStream(other);
  EXPECT_EQ(list.Items(0), axis);
  EXPECT_EQ(other.Position(), 0);
}

TEST_F(ItemTest, FreedItemLeavesEveryReferenceList) {
  TAbstractItem* axis = street.ItemList(kAxisKind).NewItem();
  TAbstractItem* curb = street.ItemList(kLineKind).NewItem();
  curb->References().SetItem(0, axis);
  street.MainReferences().SetItem(0, axis);
  TConnectedItems growing(street, false, 3);
  growing.SetItem(0, axis);
  growing.SetItem(2, axis);
  street.ItemList(kAxisKind).Delete(axis);
  EXPECT_EQ(curb->References().Items(0), nullptr);
  EXPECT_EQ(street.MainAxis(), nullptr);
  EXPECT_EQ(growing.Count(), 1);  // a growing list closes the gaps
  EXPECT_EQ(curb->ReferenceAxis(), nullptr);
}

TEST_F(ItemTest, ChangingTheGroupOfAnItemRebuildsItsKind) {
  street.GroupNames().Lines() = {"Off=0"};
  TAbstractItem* curb = street.ItemList(kLineKind).NewItem();
  curb->Points().SetModified(false);
  street.ItemList(kLineKind).SetNeedsRebuild(false);
  curb->SetGroupName("OFF");
  EXPECT_FALSE(curb->Active());
  EXPECT_TRUE(curb->Points().Modified());
  EXPECT_TRUE(street.ItemList(kLineKind).NeedsRebuild());
}

}  // namespace
}  // namespace vellmar
