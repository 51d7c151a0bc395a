#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "document/KindRegistry.h"
#include "document/LineItem.h"
#include "document/OrientPointItem.h"
#include "document/PointItem.h"
#include "document/PointStructure.h"
#include "document/PolygonItem.h"
#include "document/StreetStructure.h"
#include "platform/MemoryStream.h"
#include "render/DxPrimCollection.h"

namespace vellmar {
namespace {

constexpr int32_t kSidewalkKind = 3;
constexpr int32_t kLawnKind = 4;
constexpr int32_t kCurbKind = 8;
constexpr int32_t kArcKind = 26;
constexpr int32_t kManholeKind = 27;
constexpr int32_t kGrateKind = 28;

class BaseKindsTest : public ::testing::Test {
 protected:
  void SetUp() override { RegisterItemKinds(); }

  // An item whose vertices are the given points of the table (by record), or new
  // points where a position is given instead.
  TAbstractItem* NewItem(int32_t kind, const std::vector<TPointRecord*>& records) {
    TAbstractItem* item = street.ItemList(kind).NewItem();
    for (TPointRecord* record : records) item->Points().Insert(item->Points().Count(), record);
    return item;
  }
  TPointRecord* Point(float x, float y) { return street.Points().NewPoint({x, y, 0}); }

  // Live primitives of an item in the collection at position slot of its kind.
  size_t PrimsOf(const TAbstractItem* item, size_t slot) {
    const TDxPrimCollection& collection = *street.KindCollections(item->KindIndex())[slot];
    size_t count = 0;
    for (size_t i = 0; i < collection.Count(); ++i) {
      const TDxPrimView prim = collection.PrimAt(i);
      if (prim.Owner == item && !prim.Deleted) ++count;
    }
    return count;
  }

  TStreetStructure street;
};

TEST_F(BaseKindsTest, EachGeometricKindMakesItsBaseClass) {
  EXPECT_NE(dynamic_cast<TPolygonItem*>(street.ItemList(kLawnKind).NewItem()), nullptr);
  EXPECT_NE(dynamic_cast<TLineItem*>(street.ItemList(kCurbKind).NewItem()), nullptr);
  TAbstractItem* manhole = street.ItemList(kManholeKind).NewItem();
  EXPECT_NE(dynamic_cast<TPointItem*>(manhole), nullptr);
  EXPECT_EQ(dynamic_cast<TOrientPointItem*>(manhole), nullptr);
  EXPECT_NE(dynamic_cast<TOrientPointItem*>(street.ItemList(kGrateKind).NewItem()), nullptr);
  // Polygon kinds come with a triangle and a line collection, in that order.
  ASSERT_EQ(street.KindCollections(kLawnKind).size(), 2u);
  EXPECT_EQ(street.KindCollections(kLawnKind)[0]->VerticesPerPrim(), 3u);
  EXPECT_EQ(street.KindCollections(kLawnKind)[1]->VerticesPerPrim(), 2u);
}

TEST_F(BaseKindsTest, ItemsWithTooFewVerticesAreDroppedAtLoadAndTheRestRoundTrips) {
  TPointRecord* a = Point(0, 0);
  TPointRecord* b = Point(4, 0);
  TPointRecord* c = Point(4, 3);
  NewItem(kLawnKind, {a, b});  // dropped: a polygon needs three
  TAbstractItem* lawn = NewItem(kLawnKind, {a, b, c});
  TAbstractItem* other = NewItem(kLawnKind, {c, b, Point(8, 0)});
  static_cast<TPolygonItem*>(lawn)->Neighbours().SetItem(0, other);
  NewItem(kCurbKind, {a});  // dropped: a line needs two
  NewItem(kCurbKind, {a, b});
  street.ItemList(kManholeKind).NewItem();  // dropped: a point needs one
  NewItem(kManholeKind, {c});

  TMemoryStream saved;
  street.SaveToStream(saved);
  TStreetStructure loaded;
  saved.Seek(0, TSeekOrigin::Begin);
  loaded.LoadFromStream(saved);
  EXPECT_EQ(loaded.ItemList(kLawnKind).Count(), 2);
  EXPECT_EQ(loaded.ItemList(kCurbKind).Count(), 1);
  EXPECT_EQ(loaded.ItemList(kManholeKind).Count(), 1);

  // The neighbour written after the dropped polygon's own chunks still resolves.
  auto* loadedLawn = static_cast<TPolygonItem*>(loaded.ItemList(kLawnKind).Items(0));
  EXPECT_EQ(loadedLawn->Neighbours().Items(0), loaded.ItemList(kLawnKind).Items(1));

  TMemoryStream again;
  loaded.SaveToStream(again);
  TMemoryStream reloaded;
  TStreetStructure third;
  again.Seek(0, TSeekOrigin::Begin);
  third.LoadFromStream(again);
  third.SaveToStream(reloaded);
  EXPECT_TRUE(std::ranges::equal(again.Bytes(), reloaded.Bytes()));
}

TEST_F(BaseKindsTest, PolygonFillsWithTrianglesAndDrawsNothingBelowThreeVertices) {
  TAbstractItem* square = NewItem(kLawnKind, {Point(0, 0), Point(2, 0), Point(2, 2), Point(0, 2)});
  TAbstractItem* sliver = NewItem(kLawnKind, {Point(5, 5), Point(6, 5)});
  street.RebuildKinds(TKindRegistry::AllKinds());
  const TDxPrimCollection& fill = *street.KindCollections(kLawnKind)[0];
  double area = 0.0;
  for (size_t i = 0; i < fill.Count(); ++i) {
    const TDxPrimView prim = fill.PrimAt(i);
    EXPECT_EQ(prim.Owner, square);
    EXPECT_EQ(prim.ModeSet, 1u);
    const auto& v = prim.Vertices;
    area += std::fabs((v[1].X - v[0].X) * (v[2].Y - v[0].Y) - (v[2].X - v[0].X) * (v[1].Y - v[0].Y)) / 2;
  }
  EXPECT_EQ(fill.Count(), 2u);
  EXPECT_DOUBLE_EQ(area, 4.0);
  EXPECT_EQ(static_cast<TPolygonItem*>(square)->Triangles().size(), 6u);
  EXPECT_EQ(PrimsOf(sliver, 0), 0u);
  // No drawing option asks for edges.
  EXPECT_EQ(street.KindCollections(kLawnKind)[1]->Count(), 0u);
  EXPECT_FALSE(square->Points().Modified());
}

TEST_F(BaseKindsTest, SharedEdgesAreLeftToNeitherItemOfTheSameKindButDrawnAcrossKinds) {
  street.DrawOptions().Lines() = {"UpdateDiffTagEdges=1"};
  TPointRecord* p00 = Point(0, 0);
  TPointRecord* p10 = Point(1, 0);
  TPointRecord* p11 = Point(1, 1);
  TPointRecord* p01 = Point(0, 1);
  TAbstractItem* lawn = NewItem(kLawnKind, {p00, p10, p11, p01});
  // The shared edge 1,0 - 1,1 is this lawn's closing edge.
  TAbstractItem* eastLawn = NewItem(kLawnKind, {p11, Point(2, 1), Point(2, 0), p10});
  // Holds 0,0 and 1,1 but not as neighbours in the first lawn: nothing shared.
  TAbstractItem* diagonal = NewItem(kLawnKind, {p11, Point(5, 5), p00});
  TAbstractItem* sidewalk = NewItem(kSidewalkKind, {Point(-1, 0), p00, p01, Point(-1, 1)});
  street.RebuildKinds(TKindRegistry::AllKinds());

  EXPECT_EQ(PrimsOf(lawn, 1), 3u);      // all but the edge to the east lawn
  EXPECT_EQ(PrimsOf(eastLawn, 1), 3u);  // all but its closing edge
  EXPECT_EQ(PrimsOf(diagonal, 1), 3u);
  EXPECT_EQ(PrimsOf(sidewalk, 1), 4u);  // a lawn is another kind
}

TEST_F(BaseKindsTest, AllEdgesAreStraightEvenWhereTheOutlineFollowsAnArc) {
  TPointRecord* start = Point(1, 0);
  TPointRecord* bulge = Point(1.4f, 0.5f);
  TPointRecord* end = Point(1, 1);
  NewItem(kArcKind, {start, bulge, end});
  TAbstractItem* lawn = NewItem(kLawnKind, {Point(0, 0), start, bulge, end, Point(0, 1)});
  ASSERT_GT(lawn->Points().Polyline().size(), 6u);  // the outline follows the arc

  street.DrawOptions().Lines() = {"UpdateDiffTagEdges=1"};
  street.RebuildKinds(TKindRegistry::AllKinds());
  EXPECT_EQ(PrimsOf(lawn, 1), lawn->Points().Polyline().size() - 1);

  // Both options: the straight edges replace the ones along the arc.
  street.DrawOptions().Lines() = {"UpdateDiffTagEdges=1", "UpdateAllEdges=1"};
  lawn->Points().SetModified(true);
  street.RebuildKinds(TKindRegistry::AllKinds());
  ASSERT_EQ(PrimsOf(lawn, 1), 5u);
  const TDxPrimCollection& lines = *street.KindCollections(kLawnKind)[1];
  int32_t from = -1;
  for (size_t i = 0; i < lines.Count(); ++i) {
    const TDxPrimView prim = lines.PrimAt(i);
    if (prim.Owner != lawn || prim.Deleted) continue;
    ++from;
    const TXYZ a = lawn->Points().GetVertex(from);
    const TXYZ b = lawn->Points().GetVertex((from + 1) % 5);
    EXPECT_EQ(prim.Vertices[0].X, a.x);
    EXPECT_EQ(prim.Vertices[0].Y, a.y);
    EXPECT_EQ(prim.Vertices[1].X, b.x);
    EXPECT_EQ(prim.Vertices[1].Y, b.y);
  }
}

TEST_F(BaseKindsTest, OrientationRunsFromTheFirstVertexToTheSecond) {
  auto* grate = static_cast<TOrientPointItem*>(NewItem(kGrateKind, {Point(0, 0)}));
  EXPECT_EQ(grate->Orientation(), 0.0f);
  grate->Points().InsertNew(1, {0, 1, 0});
  EXPECT_FLOAT_EQ(grate->Orientation(), std::numbers::pi_v<float> / 2);
  grate->Points().SetVertex(1, {0, -1, 0});
  EXPECT_FLOAT_EQ(grate->Orientation(), 3 * std::numbers::pi_v<float> / 2);
  // Just below the positive x axis stays below a full turn.
  grate->Points().SetVertex(1, {1, -1e-9f, 0});
  EXPECT_LT(grate->Orientation(), 2 * std::numbers::pi_v<float>);
}

}  // namespace
}  // namespace vellmar
