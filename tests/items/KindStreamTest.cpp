#include "KindStreamTest.h"

#include "document/KindRegistry.h"
#include "document/TaggedStream.h"
#include "items/ItemKinds.h"
#include "items/support/ItemStreams.h"

namespace vellmar::test {

KindStreamTest::TRegistration::TRegistration() {
  RegisterAllItemKinds();
}

KindStreamTest::KindStreamTest() {
  const TXYZ corners[] = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}};
  for (const TXYZ& corner : corners) street.Points().NewPoint(corner);
}

void KindStreamTest::WriteItemHead(TStream& out, int32_t kind, int32_t pointCount) {
  const TItemKind& entry = TKindRegistry::Kind(kind);
  std::vector<int32_t> pointIDs;
  for (int32_t id = 1; id <= pointCount; ++id) pointIDs.push_back(id);
  test::WriteItemHead(out, entry.Ident, 1, pointIDs);
  if (entry.Base == TKindBase::Polygon) {
    WriteIdent(out, "POLYCONN");
    WriteIdent(out, "CONNECTD");
    WriteInt32(out, 1);
    WriteObjectRef(out, TObjectRef{});
  }
}

int32_t KindStreamTest::PointsNeeded(int32_t kind) {
  return TKindRegistry::Kind(kind).MinPointCount;
}

TItemList& KindStreamTest::LoadList(int32_t kind, int32_t count, const TMemoryStream& items) {
  TMemoryStream list;
  WriteIdent(list, "ITEMLIST");
  WriteIdent(list, TKindRegistry::Kind(kind).Ident);
  WriteInt32(list, count);
  list.Write(items.Bytes().data(), items.Bytes().size());
  list.SetPosition(0);
  TItemList& loaded = street.ItemList(kind);
  loaded.Clear();
  loaded.LoadFromStream(list);
  EXPECT_EQ(list.Remaining(), 0) << "the items' chunks were not all read";
  return loaded;
}

TAbstractItem* KindStreamTest::LoadItem(int32_t kind, const TMemoryStream& item) {
  TItemList& list = LoadList(kind, 1, item);
  return list.Count() == 0 ? nullptr : list.Items(0);
}

TBytes KindStreamTest::Save(const TAbstractItem& item) {
  TMemoryStream out;
  item.SaveToStream(out);
  return BytesOf(out);
}

TBytes KindStreamTest::BytesOf(const TMemoryStream& stream) {
  return TBytes(stream.Bytes().begin(), stream.Bytes().end());
}

void PrintTo(const TKindCase& c, std::ostream* os) {
  *os << c.Name;
}

std::string KindCaseName(const ::testing::TestParamInfo<TKindCase>& info) {
  return info.param.Name;
}

// Every chunk present: each lands in its field, and saving gives back the very bytes,
// which also proves the writer's order and presence rules for filled fields.
TEST_P(KindChunks, AllChunksLoadIntoTheirFieldsAndSaveBackUnchanged) {
  const TKindCase& c = GetParam();
  TMemoryStream stored;
  WriteItemHead(stored, c.Kind, PointsNeeded(c.Kind));
  c.WriteAll(stored);
  TAbstractItem* item = LoadItem(c.Kind, stored);
  ASSERT_NE(item, nullptr);
  c.CheckAll(*item);
  const TBytes saved = Save(*item);
  EXPECT_EQ(saved, BytesOf(stored));
  TMemoryStream again(saved);
  EXPECT_EQ(Save(*LoadItem(c.Kind, again)), saved);
}

// No own chunk at all: the defaults apply, and saving writes exactly the chunks a
// default item writes (the ones written always, none of the ones written when set).
TEST_P(KindChunks, MissingChunksGiveTheDefaults) {
  const TKindCase& c = GetParam();
  TMemoryStream stored;
  WriteItemHead(stored, c.Kind, PointsNeeded(c.Kind));
  TAbstractItem* item = LoadItem(c.Kind, stored);
  ASSERT_NE(item, nullptr);
  c.CheckDefaults(*item);
  TMemoryStream expected;
  WriteItemHead(expected, c.Kind, PointsNeeded(c.Kind));
  c.WriteDefaults(expected);
  EXPECT_EQ(Save(*item), BytesOf(expected));
}

TEST_P(KindChunks, NewItemHasTheDefaults) {
  const TKindCase& c = GetParam();
  TAbstractItem* item = street.ItemList(c.Kind).NewItem();
  c.CheckDefaults(*item);
  TMemoryStream expected;
  WriteItemHead(expected, c.Kind, 0);
  c.WriteDefaults(expected);
  EXPECT_EQ(Save(*item), BytesOf(expected));
}

// An item with fewer points than its kind needs is dropped, and the item after it in
// the list still loads: the dropped one's chunks were read to their end.
TEST_P(KindChunks, TooFewPointsDropTheItem) {
  const TKindCase& c = GetParam();
  TMemoryStream items;
  WriteItemHead(items, c.Kind, PointsNeeded(c.Kind) - 1);
  c.WriteAll(items);
  WriteItemHead(items, c.Kind, PointsNeeded(c.Kind));
  c.WriteAll(items);
  TItemList& list = LoadList(c.Kind, 2, items);
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Items(0)->Points().Count(), PointsNeeded(c.Kind));
  c.CheckAll(*list.Items(0));
}

}  // namespace vellmar::test
