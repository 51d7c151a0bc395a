#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "../KindStreamTest.h"
#include "document/TaggedStream.h"
#include "items/road/CalcAreaItem.h"
#include "items/road/OstrovokItem.h"
#include "items/road/RazmerItem.h"
#include "items/road/RulerItem.h"
#include "items/road/SlopeMeasureItem.h"
#include "platform/text/Cp1251.h"

namespace vellmar::test {
namespace {

constexpr int32_t kIsland = 12;
constexpr int32_t kDimension = 30;
constexpr int32_t kCalcArea = 34;
constexpr int32_t kAxis = 35;

bool Holds(const TBytes& bytes, std::string_view text) {
  return std::search(bytes.begin(), bytes.end(), text.begin(), text.end()) != bytes.end();
}

// The measures and reference points derive from the item base itself, which drops no
// item for its point count: an item stored with too few points still loads and saves.
class UnshapedKindChunks : public KindStreamTest, public ::testing::WithParamInterface<TKindCase> {};

TEST_P(UnshapedKindChunks, LoadWhateverTheirPointCountAndSaveBackUnchanged) {
  const TKindCase& c = GetParam();
  for (const int32_t points : {0, PointsNeeded(c.Kind)}) {
    SCOPED_TRACE(points);
    TMemoryStream stored;
    WriteItemHead(stored, c.Kind, points);
    c.WriteAll(stored);
    TAbstractItem* item = LoadItem(c.Kind, stored);
    ASSERT_NE(item, nullptr);
    c.CheckAll(*item);
    EXPECT_EQ(Save(*item), BytesOf(stored));

    TMemoryStream bare;
    WriteItemHead(bare, c.Kind, points);
    item = LoadItem(c.Kind, bare);
    ASSERT_NE(item, nullptr);
    c.CheckDefaults(*item);
    c.WriteDefaults(bare);
    EXPECT_EQ(Save(*item), BytesOf(bare));
  }
  TMemoryStream fresh;
  WriteItemHead(fresh, c.Kind, 0);
  c.WriteDefaults(fresh);
  street.ItemList(c.Kind).Clear();
  TAbstractItem* item = street.ItemList(c.Kind).NewItem();
  c.CheckDefaults(*item);
  EXPECT_EQ(Save(*item), BytesOf(fresh));
}

void NoChunks(TStream&) {}

std::vector<TKindCase> UnshapedCases() {
  std::vector<TKindCase> cases;
  cases.push_back({"ReferencePoints", 25,
                   [](TStream& s) {
                     WriteIdent(s, "RULERTXT");
                     WriteByte(s, 3);
                     WriteIdent(s, "RULERCLR");
                     WriteInt32(s, static_cast<int32_t>(0xFF102030u));
                   },
                   [](const TAbstractItem& item) {
                     EXPECT_EQ(As<TRulerItem>(item).ShowText(), 3);
                     EXPECT_EQ(As<TRulerItem>(item).Colour(), 0xFF102030u);
                   },
                   [](TStream& s) {
                     WriteIdent(s, "RULERTXT");
                     WriteByte(s, 0);
                     WriteIdent(s, "RULERCLR");
                     WriteInt32(s, 0);
                   },
                   [](const TAbstractItem& item) {
                     EXPECT_EQ(As<TRulerItem>(item).ShowText(), 0);
                     EXPECT_EQ(As<TRulerItem>(item).Colour(), 0u);
                   }});
  cases.push_back({"DimensionLine", kDimension,
                   [](TStream& s) {
                     WriteIdent(s, "EXTCONTR");
                     WriteIdent(s, "CONNECTD");
                     WriteInt32(s, 1);
                     // Unresolved outside a street load, so only an empty reference saves back as it was.
                     WriteObjectRef(s, {});
                     WriteIdent(s, "NO_TEXTS");
                     WriteFlag(s, true);
                     WriteIdent(s, "CustTxts");
                     WriteString(s, Utf8ToCp1251("3,5\r\nдва\r\n"));
                   },
                   [](const TAbstractItem& item) {
                     const auto& dimension = As<TRazmerItem>(item);
                     EXPECT_EQ(dimension.Contour().PendingRefs(), std::vector<TObjectRef>(1));
                     EXPECT_TRUE(dimension.CustomTexts());
                     EXPECT_EQ(dimension.Texts(), (std::vector<std::string>{"3,5", Utf8ToCp1251("два")}));
                   },
                   // An empty contour is still written; the texts only when they are the user's.
                   [](TStream& s) {
                     WriteIdent(s, "EXTCONTR");
                     WriteIdent(s, "CONNECTD");
                     WriteInt32(s, 0);
                     WriteIdent(s, "NO_TEXTS");
                     WriteFlag(s, false);
                   },
                   [](const TAbstractItem& item) {
                     const auto& dimension = As<TRazmerItem>(item);
                     EXPECT_EQ(dimension.Contour().Count(), 0);
                     EXPECT_FALSE(dimension.CustomTexts());
                     EXPECT_TRUE(dimension.Texts().empty());
                   }});
  cases.push_back({"RadiusMeasure", 39, NoChunks, [](const TAbstractItem&) {}, NoChunks,
                   [](const TAbstractItem& item) { EXPECT_EQ(item.Ident(), TIdent("RAD_MEAS")); }});
  cases.push_back({"SlopeMeasure", 40,
                   [](TStream& s) {
                     WriteIdent(s, "SLOPEVAL");
                     for (const float v : {1.0f, -1.0f, 2.0f, -2.0f, 3.0f, -3.0f}) WriteSingle(s, v);
                   },
                   [](const TAbstractItem& item) {
                     // Stored pairwise: A1, B1, A2, B2, A3, B3.
                     EXPECT_EQ(As<TSlopeMeasureItem>(item).A(), (TSlopeMeasureItem::TValues{1, 2, 3}));
                     EXPECT_EQ(As<TSlopeMeasureItem>(item).B(), (TSlopeMeasureItem::TValues{-1, -2, -3}));
                   },
                   [](TStream& s) {
                     WriteIdent(s, "SLOPEVAL");
                     for (int i = 0; i < 6; ++i) WriteSingle(s, 0.0f);
                   },
                   [](const TAbstractItem& item) {
                     EXPECT_EQ(As<TSlopeMeasureItem>(item).A(), TSlopeMeasureItem::TValues{});
                     EXPECT_EQ(As<TSlopeMeasureItem>(item).B(), TSlopeMeasureItem::TValues{});
                   }});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(RoadDetail, UnshapedKindChunks, ::testing::ValuesIn(UnshapedCases()), KindCaseName);

using RoadDetailKindsTest = KindStreamTest;

// The island's "current scheme" flag is stored only when set, so its absence means the
// earlier rules - while a new island starts with the current ones.
TEST_F(RoadDetailKindsTest, IslandSchemeFlagIsWrittenOnlyWhenSetAndMissingMeansTheEarlierRules) {
  const auto writeIsland = [](TStream& s, bool scheme, int32_t points = 3) {
    WriteItemHead(s, kIsland, points);
    WriteIdent(s, "OSTRMNPT");
    WriteInt32(s, 2);
    WriteIdent(s, "OSTRGOST");
    WriteByte(s, 4);
    if (scheme) {
      WriteIdent(s, "OSTRGSCH");
      WriteFlag(s, true);
    }
    WriteIdent(s, "OSTRNOTL");
    WriteFlag(s, true);
  };
  for (const bool scheme : {true, false}) {
    TMemoryStream stored;
    writeIsland(stored, scheme);
    TAbstractItem* item = LoadItem(kIsland, stored);
    ASSERT_NE(item, nullptr);
    const auto& island = As<TOstrovokItem>(*item);
    EXPECT_EQ(island.MainPoint(), 2);
    EXPECT_EQ(island.GostType(), 4);
    EXPECT_EQ(island.NewScheme(), scheme);
    EXPECT_TRUE(island.NoOutline());
    EXPECT_EQ(Save(*item), BytesOf(stored));
  }

  TMemoryStream bare;
  WriteItemHead(bare, kIsland, 3);
  const auto& old = As<TOstrovokItem>(*LoadItem(kIsland, bare));
  EXPECT_FALSE(old.NewScheme());
  EXPECT_EQ(old.MainPoint(), 0);
  EXPECT_EQ(old.GostType(), 0);
  EXPECT_FALSE(old.NoOutline());

  street.ItemList(kIsland).Clear();
  const auto& fresh = As<TOstrovokItem>(*street.ItemList(kIsland).NewItem());
  EXPECT_TRUE(fresh.NewScheme());
  TMemoryStream expected;
  WriteItemHead(expected, kIsland, 0);
  WriteIdent(expected, "OSTRMNPT");
  WriteInt32(expected, 0);
  WriteIdent(expected, "OSTRGOST");
  WriteByte(expected, 0);
  WriteIdent(expected, "OSTRGSCH");
  WriteFlag(expected, true);
  WriteIdent(expected, "OSTRNOTL");
  WriteFlag(expected, false);
  EXPECT_EQ(Save(fresh), BytesOf(expected));

  // Two points make no polygon: that island is dropped, the one after it still loads.
  TMemoryStream items;
  writeIsland(items, true, 2);
  writeIsland(items, false);
  TItemList& list = LoadList(kIsland, 2, items);
  ASSERT_EQ(list.Count(), 1);
  EXPECT_FALSE(As<TOstrovokItem>(*list.Items(0)).NewScheme());
}

// The old chunks of a calculation area move into the neighbour list and the comment and
// are not written again; an old comment joins a current one instead of replacing it.
TEST_F(RoadDetailKindsTest, CalculationAreaReadsItsOldChunksIntoTheCurrentOnes) {
  for (const bool withComment : {false, true}) {
    TMemoryStream stored;
    WriteItemHead(stored, kCalcArea, 3);
    WriteIdent(stored, "CALCCONN");
    WriteIdent(stored, "CONNECTD");
    WriteInt32(stored, 1);
    WriteObjectRef(stored, {"GAZON   ", 7});
    WriteIdent(stored, "CALCCOMM");
    WriteString(stored, "old");
    TMemoryStream item;
    if (withComment) {
      // The item's own comment sits among the base chunks, before the polygon's.
      const TBytes head = BytesOf(stored);
      const std::string marker = "ITEMACTV";
      const auto at = std::search(head.begin(), head.end(), marker.begin(), marker.end()) + 9;
      item.Write(head.data(), static_cast<size_t>(at - head.begin()));
      WriteIdent(item, "COMMENT ");
      WriteString(item, "new");
      item.Write(&*at, static_cast<size_t>(head.end() - at));
    } else {
      item.Write(stored.Bytes().data(), stored.Bytes().size());
    }
    TAbstractItem* area = LoadItem(kCalcArea, item);
    ASSERT_NE(area, nullptr);
    EXPECT_EQ(As<TCalcAreaItem>(*area).Comment(), withComment ? "new\r\nold" : "old");
    EXPECT_EQ(dynamic_cast<TCalcAreaItem*>(area)->Neighbours().PendingRefs(),
              (std::vector<TObjectRef>{{"GAZON   ", 7}}));
    const TBytes saved = Save(*area);
    EXPECT_FALSE(Holds(saved, "CALCCONN") || Holds(saved, "CALCCOMM"));
  }
}

// A dimension's contour is a reference like any other: stored by kind and ID, found
// again once the whole street is read.
TEST_F(RoadDetailKindsTest, DimensionContourFindsItsItemAfterAStreetRoundTrip) {
  TAbstractItem* axis = street.ItemList(kAxis).NewItem();
  for (int32_t id : {1, 2}) axis->Points().InsertByID(axis->Points().Count(), id);
  auto* dimension = dynamic_cast<TRazmerItem*>(street.ItemList(kDimension).NewItem());
  ASSERT_NE(dimension, nullptr);
  for (int32_t id : {1, 2, 3, 4}) dimension->Points().InsertByID(dimension->Points().Count(), id);
  dimension->Contour().SetCapacity(1);
  dimension->Contour().SetItem(0, axis);
  dimension->SetCustomTexts(true);
  dimension->SetTexts({"a", "b"});
  street.SetView({}, 0.01f, 0);  // a new street's scale of 0 would load as 0.01

  TMemoryStream saved;
  street.SaveToStream(saved);
  saved.SetPosition(0);
  TStreetStructure loaded;
  loaded.LoadFromStream(saved);
  const auto& again = As<TRazmerItem>(*loaded.ItemList(kDimension).Items(0));
  EXPECT_EQ(again.Contour().Items(0), loaded.ItemList(kAxis).Items(0));
  EXPECT_EQ(again.Texts(), (std::vector<std::string>{"a", "b"}));
  TMemoryStream resaved;
  loaded.SaveToStream(resaved);
  EXPECT_EQ(BytesOf(resaved), BytesOf(saved));
}

}  // namespace
}  // namespace vellmar::test
