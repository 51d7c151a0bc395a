#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <numbers>
#include <vector>

#include "document/AbstractItem.h"
#include "document/ItemList.h"
#include "document/KindRegistry.h"
#include "document/PointList.h"
#include "document/PointStructure.h"
#include "document/StreetStructure.h"
#include "document/TaggedStream.h"
#include "platform/Error.h"
#include "platform/MemoryStream.h"

namespace vellmar {
namespace {

constexpr int32_t kLineKind = 8;     // curb: an open line
constexpr int32_t kPolygonKind = 4;  // lawn: closed
constexpr int32_t kPointKind = 27;   // manhole: an annotation kind

std::vector<uint8_t> Bytes(const TMemoryStream& stream) {
  return {stream.Bytes().begin(), stream.Bytes().end()};
}

template <class T>
void Append(std::vector<uint8_t>& out, T value) {
  const auto* p = reinterpret_cast<const uint8_t*>(&value);
  out.insert(out.end(), p, p + sizeof value);
}

void AppendText(std::vector<uint8_t>& out, const char* text) {
  out.insert(out.end(), text, text + std::strlen(text));
}

class PointStorageTest : public ::testing::Test {
 protected:
  void SetUp() override { RegisterItemKinds(); }

  TAbstractItem* NewItem(int32_t kind, std::initializer_list<TXYZ> vertices) {
    TAbstractItem* item = street.ItemList(kind).NewItem();
    for (const TXYZ& v : vertices) item->Points().InsertNew(item->Points().Count(), v);
    return item;
  }

  TStreetStructure street;
};

TEST_F(PointStorageTest, PointTableChunkHasExactBytes) {
  TPointStructure& table = street.Points();
  table.NewPoint({1.5f, -2.0f, 0.0f});
  table.NewPoint({0.0f, 3.25f, 7.0f});
  TMemoryStream stream;
  table.SaveToStream(stream);

  std::vector<uint8_t> expected;
  AppendText(expected, "PNTSTRCT");
  Append<int32_t>(expected, 2);
  Append<int32_t>(expected, 1);
  Append(expected, 1.5);
  Append(expected, -2.0);
  Append(expected, 0.0);
  Append<int32_t>(expected, 2);
  Append(expected, 0.0);
  Append(expected, 3.25);
  Append(expected, 7.0);
  EXPECT_EQ(Bytes(stream), expected);
}

TEST_F(PointStorageTest, LoadedTableDropsZAndKeepsHighestID) {
  std::vector<uint8_t> bytes;
  AppendText(bytes, "PNTSTRCT");
  Append<int32_t>(bytes, 2);
  Append<int32_t>(bytes, 40);
  Append(bytes, 1.0);
  Append(bytes, 2.0);
  Append(bytes, 9.0);
  Append<int32_t>(bytes, 41);
  Append(bytes, 3.0);
  Append(bytes, 4.0);
  Append(bytes, 9.0);
  TMemoryStream stream(bytes);
  TPointStructure table;
  table.LoadFromStream(stream);
  ASSERT_EQ(table.Count(), 2);
  EXPECT_EQ(table.Items(0)->Position.z, 0.0f);
  EXPECT_EQ(table.LastID(), 41);
  EXPECT_EQ(table.NewPoint({})->ID, 42);
  EXPECT_EQ(table.GetBounds(), (TPointBounds{0.0f, 0.0f, 3.0f, 4.0f}));
}

// A damaged or foreign file may store point IDs out of order; a binary search over the
// stored order would then miss points and silently drop vertices of items.
TEST_F(PointStorageTest, TableWithDescendingIDsStillFindsEveryPointAndSavesInStoredOrder) {
  std::vector<uint8_t> bytes;
  AppendText(bytes, "PNTSTRCT");
  const std::vector<int32_t> ids = {9, 2, 7, 2, 5};
  Append<int32_t>(bytes, static_cast<int32_t>(ids.size()));
  for (size_t k = 0; k < ids.size(); ++k) {
    Append<int32_t>(bytes, ids[k]);
    Append(bytes, double(k));
    Append(bytes, 0.0);
    Append(bytes, 0.0);
  }
  TMemoryStream in(bytes);
  TPointStructure table;
  table.LoadFromStream(in);
  for (int32_t id : {9, 7, 5}) ASSERT_NE(table.FindByID(id), nullptr) << id;
  // A repeated ID finds the first stored point.
  EXPECT_EQ(table.FindByID(2)->Position.x, 1.0f);
  EXPECT_EQ(table.FindByID(3), nullptr);
  TMemoryStream out;
  table.SaveToStream(out);
  EXPECT_EQ(Bytes(out), bytes);
  EXPECT_EQ(table.NewPoint({})->ID, 10);
  EXPECT_EQ(table.FindByID(10)->ID, 10);
  EXPECT_EQ(table.FindByID(9)->Position.x, 0.0f);
}

// Tables and lists larger than the blocks they are read and written in (a few thousand
// points, hundreds of vertices): the bytes come back unchanged, with IDs that run without
// gaps for a while and then jump, as in a street edited after it was made.
TEST_F(PointStorageTest, LargeTableAndListReadAndWriteBackUnchanged) {
  std::vector<int32_t> ids;
  for (int32_t id = 1; id <= 3000; ++id) ids.push_back(id);
  for (int32_t id = 5001; id <= 6099; ++id) ids.push_back(id);
  std::vector<uint8_t> tableBytes;
  AppendText(tableBytes, "PNTSTRCT");
  Append<int32_t>(tableBytes, static_cast<int32_t>(ids.size()));
  for (int32_t id : ids) {
    Append<int32_t>(tableBytes, id);
    Append(tableBytes, 0.5 * id);
    Append(tableBytes, -0.25 * id);
    Append(tableBytes, 0.0);
  }
  TMemoryStream tableIn(tableBytes);
  TPointStructure& table = street.Points();
  table.LoadFromStream(tableIn);
  TMemoryStream tableOut;
  table.SaveToStream(tableOut);
  EXPECT_EQ(Bytes(tableOut), tableBytes);

  struct TLookup {
    int32_t ID;
    bool Found;
  };
  for (const TLookup& lookup : std::vector<TLookup>{{1, true},
                                                    {2048, true},
                                                    {2049, true},
                                                    {3000, true},
                                                    {3001, false},
                                                    {4999, false},
                                                    {5001, true},
                                                    {6099, true},
                                                    {6100, false},
                                                    {0, false},
                                                    {std::numeric_limits<int32_t>::min(), false},
                                                    {std::numeric_limits<int32_t>::max(), false}}) {
    const TPointRecord* record = table.FindByID(lookup.ID);
    ASSERT_EQ(record != nullptr, lookup.Found) << lookup.ID;
    if (record != nullptr) {
      EXPECT_EQ(record->ID, lookup.ID);
      EXPECT_EQ(record->Position.x, static_cast<float>(0.5 * lookup.ID));
    }
  }

  // Every third point, backwards from the end: a list longer than a block of IDs.
  std::vector<uint8_t> listBytes;
  AppendText(listBytes, "PNTLIST PNTLSTSP");
  listBytes.push_back(0);
  std::vector<int32_t> listIDs;
  for (size_t k = ids.size(); k > 2; k -= 3) listIDs.push_back(ids[k - 1]);
  Append<int32_t>(listBytes, static_cast<int32_t>(listIDs.size()));
  for (int32_t id : listIDs) Append<int32_t>(listBytes, id);
  TMemoryStream listIn(listBytes);
  TAbstractItem* line = street.ItemList(kLineKind).NewItem();
  line->Points().LoadFromStream(listIn);
  ASSERT_EQ(line->Points().Count(), static_cast<int32_t>(listIDs.size()));
  TMemoryStream listOut;
  line->Points().SaveToStream(listOut);
  EXPECT_EQ(Bytes(listOut), listBytes);
}

TEST_F(PointStorageTest, SecondSetStreetRaises) {
  TPointStructure table;
  table.SetStreet(&street);
  try {
    table.SetStreet(&street);
    FAIL() << "no exception";
  } catch (const EVellmarError& e) {
    EXPECT_STREQ(e.what(), "TPointStructure : SetStreet - Street<>nil");
  }
}

TEST_F(PointStorageTest, CompactDropsUnusedPointsAndKeepsIDs) {
  TPointStructure& table = street.Points();
  TPointRecord* unused = table.NewPoint({5, 5, 0});
  TAbstractItem* line = NewItem(kLineKind, {{0, 0, 0}, {1, 0, 0}});
  table.NewPoint({6, 6, 0});
  ASSERT_EQ(unused->ID, 1);
  table.Compact();
  ASSERT_EQ(table.Count(), 2);
  EXPECT_EQ(table.Items(0)->ID, 2);
  EXPECT_EQ(table.Items(1)->ID, 3);
  EXPECT_EQ(line->Points().VertexRecord(1)->ID, 3);
  // Freed records are reused without disturbing the IDs handed out.
  EXPECT_EQ(table.NewPoint({})->ID, 5);
  EXPECT_THROW(table.Delete(0), EVellmarError);
  table.Delete(2);
  EXPECT_EQ(table.FindByID(5), nullptr);
}

TEST_F(PointStorageTest, PointListChunkHasExactBytesAndReadsBack) {
  TAbstractItem* line = NewItem(kLineKind, {{0, 0, 0}, {1, 0, 0}, {2, 1, 0}});
  line->Points().SetSmooth(true);
  TMemoryStream stream;
  line->Points().SaveToStream(stream);
  std::vector<uint8_t> expected;
  AppendText(expected, "PNTLIST PNTLSTSP");
  expected.push_back(1);
  Append<int32_t>(expected, 3);
  for (int32_t id : {1, 2, 3}) Append<int32_t>(expected, id);
  EXPECT_EQ(Bytes(stream), expected);

  TAbstractItem* copy = street.ItemList(kLineKind).NewItem();
  stream.SetPosition(0);
  copy->Points().LoadFromStream(stream);
  EXPECT_TRUE(copy->Points().Smooth());
  ASSERT_EQ(copy->Points().Count(), 3);
  EXPECT_EQ(copy->Points().VertexRecord(2), line->Points().VertexRecord(2));

  TMemoryStream empty;
  street.ItemList(kLineKind).NewItem()->Points().SaveToStream(empty);
  EXPECT_EQ(empty.Size(), 0);
}

TEST_F(PointStorageTest, LoadedPointListSkipsUnknownIDsAndNearDuplicates) {
  TPointStructure& table = street.Points();
  table.NewPoint({0, 0, 0});
  table.NewPoint({0.0005f, 0, 0});  // within 0.001 of point 1
  table.NewPoint({1, 0, 0});
  std::vector<uint8_t> bytes;
  AppendText(bytes, "PNTLIST ");  // no "PNTLSTSP": smoothing stays off
  Append<int32_t>(bytes, 4);
  for (int32_t id : {1, 2, 99, 3}) Append<int32_t>(bytes, id);
  TMemoryStream stream(bytes);
  TAbstractItem* line = street.ItemList(kLineKind).NewItem();
  line->Points().LoadFromStream(stream);
  ASSERT_EQ(line->Points().Count(), 2);
  EXPECT_EQ(line->Points().VertexRecord(0)->ID, 1);
  EXPECT_EQ(line->Points().VertexRecord(1)->ID, 3);
  EXPECT_TRUE(table.Items(1)->Users.empty());
  EXPECT_EQ(stream.Remaining(), 0);
}

TEST_F(PointStorageTest, InsertRefusesAPointEqualToItsNeighbours) {
  TAbstractItem* line = NewItem(kLineKind, {{0, 0, 0}, {1, 0, 0}});
  TPointList& open = line->Points();
  open.InsertNew(2, {1, 0, 0});  // equal to its predecessor
  open.InsertNew(1, {1, 0, 0});  // equal to the vertex it would precede
  EXPECT_EQ(open.Count(), 2);
  open.InsertNew(2, {0, 0, 0});  // an open line does not wrap round to vertex 0
  EXPECT_EQ(open.Count(), 3);

  TAbstractItem* lawn = NewItem(kPolygonKind, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}});
  TPointList& closed = lawn->Points();
  closed.InsertNew(3, {0, 0, 0});  // appending to a closed list compares with vertex 0
  EXPECT_EQ(closed.Count(), 3);
  closed.Insert(3, nullptr);
  EXPECT_EQ(closed.Count(), 3);
  EXPECT_THROW(closed.InsertNew(5, {3, 3, 0}), EVellmarError);
}

TEST_F(PointStorageTest, MeasuresAlongAStraightPolyline) {
  TPointList& line = NewItem(kLineKind, {{0, 0, 0}, {10, 0, 0}})->Points();
  const TXYZ before = line.PointAt(-0.5);
  EXPECT_FLOAT_EQ(before.x, -5.0f);
  EXPECT_FLOAT_EQ(before.y, 0.0f);
  EXPECT_DOUBLE_EQ(line.StationAt(0.25), 2.5);
  EXPECT_DOUBLE_EQ(line.ParamAtStation(12.5), 1.25);
  EXPECT_DOUBLE_EQ(line.ParamAtStation(-5.0), -0.5);

  const auto left = line.Locate({4, 2, 0});
  ASSERT_TRUE(left);
  EXPECT_DOUBLE_EQ(left->Offset, 2.0);
  EXPECT_DOUBLE_EQ(left->Parameter, 0.4);
  EXPECT_DOUBLE_EQ(left->Station, 4.0);
  EXPECT_LT(line.Locate({4, -2, 0})->Offset, 0.0);

  const TXYZ shifted = line.OffsetPointAt(-1.0, 1.5);  // beyond the end, right of the line
  EXPECT_FLOAT_EQ(shifted.x, 15.0f);
  EXPECT_FLOAT_EQ(shifted.y, -1.0f);
  EXPECT_FLOAT_EQ(line.OffsetPointAt(1.0, 1.0).x, 10.0f);  // the last point itself
  // A parameter from damaged coordinates gives no point, and picks no segment by it.
  EXPECT_TRUE(std::isnan(line.OffsetPointAt(1.0, std::nan("")).x));
  EXPECT_DOUBLE_EQ(line.AngleAt(0.5), 0.0);
  EXPECT_DOUBLE_EQ(line.SegmentAngle(-1), std::numbers::pi);

  TPolylineCrossing crossing;
  EXPECT_TRUE(line.Intersect({3, -1, 0}, {3, 3, 0}, 0.0, crossing));
  EXPECT_DOUBLE_EQ(crossing.Parameter, 0.3);
  EXPECT_DOUBLE_EQ(crossing.Fraction, 0.25);
  EXPECT_FALSE(line.Intersect({3, -1, 0}, {3, 3, 0}, 0.5, crossing));
  EXPECT_FALSE(line.Intersect({3, 1, 0}, {4, 1, 0}, 0.0, crossing));
}

TEST_F(PointStorageTest, ClosedPolylineReturnsToItsStartWithMiterOffsets) {
  TPointList& square = NewItem(kPolygonKind, {{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0}})->Points();
  const TXYZArray& polyline = square.Polyline();
  ASSERT_EQ(polyline.size(), 5u);
  EXPECT_EQ(square.VertexIndex(), (std::vector<int32_t>{0, 1, 2, 3, 4}));
  EXPECT_FLOAT_EQ(square.Stations().back(), 8.0f);
  // Counter-clockwise square: the left offset points inwards, corner miters are (−1, 1) etc.
  const TXYZ corner = square.Offsets()[1];
  EXPECT_FLOAT_EQ(corner.x, -1.0f);
  EXPECT_FLOAT_EQ(corner.y, 1.0f);
  const TXYZ inner = square.OffsetPolyline(0.5)[2];
  EXPECT_FLOAT_EQ(inner.x, 1.5f);
  EXPECT_FLOAT_EQ(inner.y, 1.5f);
}

// Stations and offsets are worked out on first use: whatever was read of the list before,
// they match its polyline, also after a vertex moved.
TEST_F(PointStorageTest, MeasuresFollowThePolylineWhateverWasReadFirst) {
  const std::pair<const char*, std::function<void(TPointList&)>> firstReads[] = {
      {"nothing", [](TPointList&) {}},
      {"the polyline", [](TPointList& list) { list.Polyline(); }},
      {"the vertex index", [](TPointList& list) { list.VertexIndex(); }},
      {"a point", [](TPointList& list) { list.PointAt(0.5); }},
      {"the stations", [](TPointList& list) { list.Stations(); }},
      {"the offsets", [](TPointList& list) { list.Offsets(); }},
  };
  for (const auto& [name, read] : firstReads) {
    SCOPED_TRACE(name);
    TPointList& line = NewItem(kLineKind, {{0, 0, 0}, {10, 0, 0}})->Points();
    read(line);
    EXPECT_FLOAT_EQ(line.Stations().back(), 10.0f);
    ASSERT_EQ(line.Offsets().size(), 2u);
    EXPECT_FLOAT_EQ(line.Offsets()[0].y, 1.0f);
    line.SetVertex(1, {0, 20, 0});
    read(line);
    EXPECT_FLOAT_EQ(line.Stations().back(), 20.0f);
    EXPECT_FLOAT_EQ(line.Offsets()[1].x, -1.0f);
    EXPECT_DOUBLE_EQ(line.StationAt(0.5), 10.0);
    EXPECT_DOUBLE_EQ(line.Locate({-3, 5, 0})->Offset, 3.0);
  }
}

TEST_F(PointStorageTest, MovingASharedPointRebuildsEveryKindUsingIt) {
  TAbstractItem* curb = NewItem(kLineKind, {{0, 0, 0}, {4, 0, 0}});
  TAbstractItem* lawn = street.ItemList(kPolygonKind).NewItem();
  lawn->Points().Insert(0, curb->Points().VertexRecord(0));
  lawn->Points().Insert(1, curb->Points().VertexRecord(1));
  lawn->Points().InsertNew(2, {2, 3, 0});
  for (TAbstractItem* item : {curb, lawn}) {
    item->Points().EnsurePolyline();
    item->Points().SetModified(false);
    street.ItemList(item->KindIndex()).SetNeedsRebuild(false);
  }
  ASSERT_EQ(lawn->Points().Polyline()[1].x, 4.0f);

  curb->Points().SetVertex(1, {5, 0, 0});
  EXPECT_TRUE(lawn->Points().Modified());
  EXPECT_TRUE(street.ItemList(kPolygonKind).NeedsRebuild());
  EXPECT_TRUE(street.ItemList(kLineKind).NeedsRebuild());
  EXPECT_EQ(lawn->Points().Polyline()[1].x, 5.0f);
  EXPECT_EQ(street.Points().GetBounds()[2], 5.0f);

  // Deleting the shared vertex from the curb also tells the lawn.
  lawn->Points().SetModified(false);
  street.ItemList(kPolygonKind).SetNeedsRebuild(false);
  curb->Points().Delete(0);
  EXPECT_TRUE(lawn->Points().Modified());
  EXPECT_TRUE(street.ItemList(kPolygonKind).NeedsRebuild());
  EXPECT_EQ(curb->Points().Count(), 1);
}

// A freed item must not stay registered as a user of its points: later changes of a
// shared point would reach freed memory, and Compact could never drop the point.
TEST_F(PointStorageTest, FreedItemLeavesThePointsItUsed) {
  TAbstractItem* curb = NewItem(kLineKind, {{0, 0, 0}, {4, 0, 0}});
  TAbstractItem* other = street.ItemList(kLineKind).NewItem();
  other->Points().Insert(0, curb->Points().VertexRecord(0));
  street.ItemList(kLineKind).Delete(other);
  curb->Points().SetVertex(0, {1, 1, 0});
  EXPECT_EQ(curb->Points().VertexRecord(0)->Users.size(), 1u);
}

TEST_F(PointStorageTest, LineAlongACurveFollowsTheCurvesPoints) {
  TAbstractItem* arc = NewItem(kArcCoordsKind, {{0, 0, 0}, {5, 5, 0}, {10, 0, 0}});
  const size_t arcPoints = arc->Points().Polyline().size();
  ASSERT_GT(arcPoints, 8u);  // a curve is always smoothed
  TAbstractItem* curb = street.ItemList(kLineKind).NewItem();
  curb->Points().Insert(0, arc->Points().VertexRecord(2));  // runs the curve backwards
  curb->Points().Insert(1, arc->Points().VertexRecord(1));
  curb->Points().InsertNew(2, {5, 10, 0});
  const TXYZArray& polyline = curb->Points().Polyline();
  const std::vector<int32_t>& arcIndex = arc->Points().VertexIndex();
  const size_t along = size_t(arcIndex[2] - arcIndex[1]);
  ASSERT_EQ(polyline.size(), along + 2);
  EXPECT_EQ(curb->Points().VertexIndex(), (std::vector<int32_t>{0, int32_t(along), int32_t(along + 1)}));
  for (size_t k = 0; k < along; ++k) {
    EXPECT_EQ(polyline[k].x, arc->Points().Polyline()[size_t(arcIndex[2]) - k].x) << k;
  }
}

TEST_F(PointStorageTest, SmoothPolylineSamplesEachSegmentByItsBend) {
  TPointList& straight = NewItem(kLineKind, {{0, 0, 0}, {3, 0, 0}})->Points();
  straight.SetSmooth(true);
  // No bend: the smallest sample count, 4 points per segment plus the end point.
  ASSERT_EQ(straight.Polyline().size(), 5u);
  EXPECT_EQ(straight.VertexIndex(), (std::vector<int32_t>{0, 4}));
  EXPECT_NEAR(straight.Polyline()[2].x, 1.5, 1e-5);

  TPointList& bent = NewItem(kLineKind, {{0, 0, 0}, {50, 50, 0}, {100, 0, 0}})->Points();
  bent.SetSmooth(true);
  const std::vector<int32_t>& index = bent.VertexIndex();
  ASSERT_EQ(index.size(), 3u);
  EXPECT_EQ(index[1], 100);  // a strong bend reaches the cap of 100 samples
  EXPECT_EQ(bent.Polyline().size(), 201u);
  EXPECT_EQ(bent.Polyline()[100].y, 50.0f);
  // Every sample of a smooth curve through the apex stays on or below it.
  for (const TXYZ& p : bent.Polyline()) EXPECT_LE(p.y, 50.0f + 1e-3f);
}

TEST_F(PointStorageTest, SmoothingNeedsAFreeOpenLine) {
  TAbstractItem* curb = NewItem(kLineKind, {{0, 0, 0}, {5, 5, 0}, {10, 0, 0}});
  curb->Points().SetSmooth(true);
  EXPECT_TRUE(curb->Points().IsFreeOpenLine());
  // Sharing an interior vertex with a manhole (an annotation kind) keeps it free.
  TAbstractItem* manhole = street.ItemList(kPointKind).NewItem();
  manhole->Points().Insert(0, curb->Points().VertexRecord(1));
  EXPECT_TRUE(curb->Points().IsFreeOpenLine());
  // Sharing it with another line does not: the curb is then drawn straight.
  TAbstractItem* other = street.ItemList(kLineKind).NewItem();
  other->Points().Insert(0, curb->Points().VertexRecord(1));
  EXPECT_FALSE(curb->Points().IsFreeOpenLine());
  EXPECT_EQ(curb->Points().Polyline().size(), 3u);
  EXPECT_FALSE(street.ItemList(kPolygonKind).NewItem()->Points().IsFreeOpenLine());
}

}  // namespace
}  // namespace vellmar
