#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "geometry/Planar.h"
#include "geometry/Vector.h"
#include "render/DxLineCollection.h"
#include "render/DxTriangleCollection.h"

namespace vellmar {

// Items live in a layer above; the collections only compare owner addresses.
class TAbstractItem {};

namespace {

TXYZ P(double x, double y) {
  return TXYZ{static_cast<float>(x), static_cast<float>(y), 0.0f};
}

constexpr uint32_t kRed = 0xFFFF0000u;

TAbstractItem itemA;
TAbstractItem itemB;

void ExpectAt(const TDxVertex& v, double x, double y) {
  EXPECT_FLOAT_EQ(v.X, static_cast<float>(x));
  EXPECT_FLOAT_EQ(v.Y, static_cast<float>(y));
}

// Everything a naive gather would hand to the device: the visible, live primitives
// that pass the mode filter, in order.
std::vector<float> NaiveGather(const TDxPrimCollection& c, uint32_t filter) {
  std::vector<float> xs;
  for (size_t i = 0; i < c.Count(); ++i) {
    const TDxPrimView p = c.PrimAt(i);
    if (p.Deleted || (p.ModeSet != 0 && (p.ModeSet & filter) == 0)) continue;
    for (const TDxVertex& v : p.Vertices) xs.push_back(v.X);
  }
  return xs;
}

// The x of every vertex a gather hands over, run after run.
std::vector<float> Xs(const TDxPrimCollection& c, const TDxPrimCollection::TGathered& g) {
  std::vector<float> xs;
  for (const TDxPrimRun& run : g.Runs) {
    for (const TDxVertex& v : c.RunVertices(run)) xs.push_back(v.X);
  }
  return xs;
}

TEST(DxPrimCollection, CollectionColourReplacesTheColourOfAddedVertices) {
  TDxTriangleCollection c;
  c.SetColor(kRed);
  const TDxVertex blue[3] = {
      {0, 0, 0, 0xFF0000FFu, 0.5f, 0.25f}, {1, 0, 0, 0xFF0000FFu, 0, 0}, {0, 1, 0, 0, 0, 0}};
  c.AddPrim(&itemA, blue);
  c.AddTriangles(&itemA, std::vector<TXYZ>{P(0, 0), P(1, 0), P(0, 1)});
  ASSERT_EQ(c.Count(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    for (const TDxVertex& v : c.PrimAt(i).Vertices) EXPECT_EQ(v.Color, kRed);
  }
  // Texture coordinates given by the item survive; only the colour is stamped.
  EXPECT_EQ(c.PrimAt(0).Vertices[0].U, 0.5f);
  EXPECT_EQ(c.PrimAt(0).Vertices[0].V, 0.25f);
  EXPECT_EQ(c.PrimAt(0).Owner, &itemA);
}

TEST(DxPrimCollection, TooFewVerticesAddNothingAndCountsAreCutToCompletePrimitives) {
  TDxLineCollection c;
  const TDxVertex v[5] = {};
  c.AddPrim(&itemA, std::span<const TDxVertex>(v, 1));
  EXPECT_EQ(c.Count(), 0u);
  c.AddPrims(&itemA, v, 7);  // room for two lines only
  EXPECT_EQ(c.Count(), 2u);
}

TEST(DxLineCollection, SegmentPolylineRangeAndClosedShapes) {
  const std::vector<TXYZ> five = {P(0, 0), P(1, 0), P(2, 0), P(3, 0), P(4, 0)};
  TDxLineCollection c;
  c.AddSegments(&itemA, five);
  ASSERT_EQ(c.Count(), 2u);
  ExpectAt(c.PrimAt(1).Vertices[0], 2, 0);
  ExpectAt(c.PrimAt(1).Vertices[1], 3, 0);

  c.Clear();
  c.AddPolyline(&itemA, five);
  EXPECT_EQ(c.Count(), 4u);

  c.Clear();
  c.AddPolylineRange(&itemA, five, 3, 1);  // last before first, as callers pass them
  ASSERT_EQ(c.Count(), 2u);
  ExpectAt(c.PrimAt(0).Vertices[0], 1, 0);
  ExpectAt(c.PrimAt(1).Vertices[1], 3, 0);
  c.Clear();
  c.AddPolylineRange(&itemA, five, 99, -5);  // cut to the points instead of reading past them
  EXPECT_EQ(c.Count(), 4u);

  c.Clear();
  c.AddClosedPolyline(&itemA, std::vector<TXYZ>{P(0, 0), P(1, 0), P(1, 1)});
  ASSERT_EQ(c.Count(), 3u);
  ExpectAt(c.PrimAt(2).Vertices[0], 1, 1);
  ExpectAt(c.PrimAt(2).Vertices[1], 0, 0);

  c.Clear();
  const std::vector<TXYZ> one = {P(0, 0)};
  c.AddSegments(&itemA, one);
  c.AddPolyline(&itemA, one);
  c.AddClosedPolyline(&itemA, one);
  EXPECT_EQ(c.Count(), 0u);
}

TEST(DxTriangleCollection, TrianglesAndQuadsCoverTheirShapes) {
  TDxTriangleCollection c;
  std::vector<TXYZ> eight(8, P(0, 0));
  c.AddTriangles(&itemA, eight);
  EXPECT_EQ(c.Count(), 2u);
  c.AddTriangles(&itemA, std::span<const TXYZ>(eight).first(2));
  EXPECT_EQ(c.Count(), 2u);

  c.Clear();
  // One edge (0,0)-(2,0), then the opposite edge (0,1)-(2,1) in the same direction.
  c.AddQuads(&itemA, std::vector<TXYZ>{P(0, 0), P(2, 0), P(0, 1), P(2, 1), P(9, 9)});
  ASSERT_EQ(c.Count(), 2u);
  const auto a = c.PrimAt(0).Vertices;
  const auto b = c.PrimAt(1).Vertices;
  ExpectAt(a[0], 0, 0);
  ExpectAt(a[1], 2, 0);
  ExpectAt(a[2], 2, 1);
  ExpectAt(b[0], 0, 1);
  ExpectAt(b[1], 2, 1);
  ExpectAt(b[2], 0, 0);
  // Together they cover the 2 x 1 rectangle without overlap.
  const TXYZ pa[3] = {P(a[0].X, a[0].Y), P(a[1].X, a[1].Y), P(a[2].X, a[2].Y)};
  const TXYZ pb[3] = {P(b[0].X, b[0].Y), P(b[1].X, b[1].Y), P(b[2].X, b[2].Y)};
  EXPECT_NEAR(AbsArea(pa[0], pa[1], pa[2]) + AbsArea(pb[0], pb[1], pb[2]), 2.0, 1e-6);
  EXPECT_NEAR(TriangleOverlapArea(pa[0], pa[1], pa[2], pb[0], pb[1], pb[2]), 0.0, 1e-6);
}

TEST(DxPrimCollection, LocalTransformMovesPointsBeforeCentreAndRadius) {
  TDxTriangleCollection c;
  c.Local().Translate(false, 10, 20, 0);
  c.AddTriangles(&itemA, std::vector<TXYZ>{P(0, 0), P(3, 0), P(0, 3)});
  const TDxPrimView p = c.PrimAt(0);
  ExpectAt(p.Vertices[1], 13, 20);
  EXPECT_FLOAT_EQ(p.CentreX, 11.0f);
  EXPECT_FLOAT_EQ(p.CentreY, 21.0f);
  EXPECT_FLOAT_EQ(p.Radius, 3.0f);  // Manhattan: |2| + |-1| at the second corner
  c.Clear();
  EXPECT_TRUE(c.Local().IsIdentity());
  EXPECT_EQ(c.Count(), 0u);
}

TEST(DxTriangleCollection, TexturedTrianglesTakeUVFromTheWorldPosition) {
  TDxTriangleCollection c;
  // Scale 2 along x, 0 (counts as 1) along y, origin (1, 1), no turn.
  c.AddTexturedTriangles(&itemA, std::vector<TXYZ>{P(1, 1), P(5, 1), P(1, 4)}, 0.0, 1.0, 1.0, 1.0, 0.0, 2.0);
  auto v = c.PrimAt(0).Vertices;
  EXPECT_FLOAT_EQ(v[1].U, 2.0f);
  EXPECT_FLOAT_EQ(v[1].V, 0.0f);
  EXPECT_FLOAT_EQ(v[2].U, 0.0f);
  EXPECT_FLOAT_EQ(v[2].V, 3.0f);
  // A quarter turn (s = 1, c = 0): U = -w, V = u.
  c.AddTexturedTriangles(&itemA, std::vector<TXYZ>{P(0, 0), P(2, 0), P(0, 3)}, 1.0, 0.0, 0.0, 0.0, 1.0, 1.0);
  v = c.PrimAt(1).Vertices;
  EXPECT_FLOAT_EQ(v[1].U, 0.0f);
  EXPECT_FLOAT_EQ(v[1].V, 2.0f);
  EXPECT_FLOAT_EQ(v[2].U, -3.0f);
  EXPECT_FLOAT_EQ(v[2].V, 0.0f);
}

TEST(DxTriangleCollection, RibbonCarriesWholeTexturePeriodsRoundingHalvesToEven) {
  for (const auto& [length, periods] : {std::pair{2.6, 3.0f}, std::pair{2.5, 2.0f}}) {
    TDxTriangleCollection c;
    c.AddRibbon(&itemA, std::vector<TXYZ>{P(0, 0), P(length, 0)}, 0, 1, 1.0, 0.5, -0.5, 0.0, 1.0);
    ASSERT_EQ(c.Count(), 2u) << length;
    const auto t1 = c.PrimAt(0).Vertices;  // (L0, R0, L1)
    const auto t2 = c.PrimAt(1).Vertices;  // (L1, R1, R0)
    EXPECT_EQ(t1[0].U, 0.0f);
    EXPECT_FLOAT_EQ(t1[2].U, periods) << length;
    EXPECT_FLOAT_EQ(t2[1].U, periods) << length;
    EXPECT_EQ(t1[0].V, 0.0f);  // left side
    EXPECT_EQ(t1[1].V, 1.0f);  // right side
    ExpectAt(t1[0], 0, 0.5);
    ExpectAt(t1[1], 0, -0.5);
    ExpectAt(t2[1], length, -0.5);
  }
  TDxTriangleCollection flat;
  flat.AddRibbon(&itemA, std::vector<TXYZ>{P(0, 0), P(2.6, 0), P(2.6, 7)}, 0, 2, 0.0, 0.5, -0.5, 0.0, 1.0);
  ASSERT_EQ(flat.Count(), 4u);
  for (size_t i = 0; i < flat.Count(); ++i) {
    for (const TDxVertex& v : flat.PrimAt(i).Vertices) {
      EXPECT_EQ(v.U, 0.0f);
      EXPECT_EQ(v.V, 0.0f);
    }
  }
}

TEST(DxTriangleCollection, RibbonUsesMiterOffsetsAndOnlyTheGivenRange) {
  const std::vector<TXYZ> pts = {P(-5, -5), P(0, 0), P(4, 0), P(8, 0), P(8, 4), P(50, 50)};
  TDxTriangleCollection c;
  c.AddRibbon(&itemA, pts, 1, 4, 0.0, 1.0, -1.0, 0.0, 1.0);
  ASSERT_EQ(c.Count(), 6u);  // three segments
  // Straight inner point: exactly +-1 from it. The corner at (8, 0) is mitred.
  ExpectAt(c.PrimAt(0).Vertices[2], 4, 1);
  ExpectAt(c.PrimAt(1).Vertices[1], 4, -1);
  ExpectAt(c.PrimAt(2).Vertices[2], 7, 1);
  ExpectAt(c.PrimAt(3).Vertices[1], 9, -1);
  // The first offset is the normal of (0,0)->(4,0), not affected by the point before it.
  ExpectAt(c.PrimAt(0).Vertices[0], 0, 1);
  // The end is the normal of the last segment of the range.
  ExpectAt(c.PrimAt(5).Vertices[0], 7, 4);

  c.Clear();
  c.AddRibbon(&itemA, pts, 3, 3, 1.0, 1.0, -1.0, 0.0, 1.0);
  c.AddRibbon(&itemA, TXYZArray{pts[0]}, 0, 1, 1.0, 1.0, -1.0, 0.0, 1.0);
  EXPECT_EQ(c.Count(), 0u);
}

TEST(DxTriangleCollection, SmoothRibbonCutsOnlySharpCornersAndOnlyWithAPeriod) {
  const std::vector<TXYZ> corner = {P(0, 0), P(10, 0), P(10, 20)};
  TDxTriangleCollection c;
  c.AddSmoothRibbon(&itemA, corner, 1.0, 0.5, -0.5, 0.0, 1.0);
  // Width 1: the cut points lie 1/10 before and 1/20 after the corner.
  ASSERT_EQ(c.Count(), 8u);
  const auto second = c.PrimAt(2).Vertices;  // (L1, R1, L2) of the segment (9,0)->(10,0)
  ExpectAt(second[0], 9, 0.5);
  const auto last = c.PrimAt(6).Vertices;  // segment (10,1)->(10,20)
  ExpectAt(last[0], 9.5, 1);

  c.Clear();
  c.AddSmoothRibbon(&itemA, corner, 0.0, 0.5, -0.5, 0.0, 1.0);
  EXPECT_EQ(c.Count(), 4u);

  c.Clear();  // a turn with sine below 0.3 keeps its point
  c.AddSmoothRibbon(&itemA, std::vector<TXYZ>{P(0, 0), P(10, 0), P(20, 2)}, 1.0, 0.5, -0.5, 0.0, 1.0);
  EXPECT_EQ(c.Count(), 4u);
}

TEST(DxPrimCollection, RecordedPrimitivesCanBeMarkedDeletedOnceEach) {
  TDxLineCollection c;
  c.AddSegments(&itemB, std::vector<TXYZ>{P(0, 0), P(1, 0)});
  c.BeginRecord();
  c.AddSegments(&itemA, std::vector<TXYZ>{P(0, 0), P(1, 0), P(2, 0), P(3, 0)});
  TDxPrimList list = {TDxPrimRef{12345}};
  c.TakeRecorded(list);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(c.IndexOf(list[0]), 1u);
  EXPECT_EQ(c.IndexOf(list[1]), 2u);
  c.MarkDeleted(list);
  EXPECT_EQ(c.DeletedCount(), 2u);
  EXPECT_TRUE(c.PrimAt(1).Deleted);
  EXPECT_FALSE(c.PrimAt(0).Deleted);
  // Marking the same list again must not count the primitives twice, or the collection
  // would compact too early.
  c.MarkDeleted(list);
  EXPECT_EQ(c.DeletedCount(), 2u);
}

// Owners keep the range of what they added; the range must find exactly its own stored
// primitives however often deletions and compactions left gaps among the serials.
TEST(DxPrimCollection, RangesFindTheirOwnPrimitivesThroughDeletionsAndCompactions) {
  TDxLineCollection c;
  std::mt19937 random(7);
  std::vector<TDxPrimRange> ranges;
  std::vector<bool> alive;  // per range: not yet marked deleted
  for (int round = 0; round < 40; ++round) {
    for (int k = 0; k < 5; ++k) {  // each range's segments carry its number as their X
      const auto id = static_cast<double>(ranges.size());
      c.BeginRecord();
      const int segments = static_cast<int>(random() % 4);  // an empty range now and then
      for (int s = 0; s < segments; ++s) c.AddSegments(&itemA, std::vector<TXYZ>{P(id, s), P(id, s + 1)});
      ranges.push_back(c.TakeRecorded());
      alive.push_back(true);
    }
    for (int k = 0; k < 3; ++k) {
      const size_t victim = random() % ranges.size();
      c.MarkDeleted(ranges[victim]);
      alive[victim] = false;
    }
    c.Gather(P(0, 0), 1e6f);  // compacts once a tenth is flagged
    for (size_t r = 0; r < ranges.size(); ++r) {
      const TDxPrimRun run = c.IndicesOf(ranges[r]);
      size_t expected = 0;
      for (size_t i = 0; i < c.Count(); ++i) expected += c.PrimAt(i).Vertices[0].X == static_cast<float>(r);
      ASSERT_EQ(run.Count, expected) << "round " << round << ", range " << r;
      for (size_t i = run.First; i < size_t{run.First} + run.Count; ++i) {
        ASSERT_EQ(c.PrimAt(i).Vertices[0].X, static_cast<float>(r));
        ASSERT_EQ(c.PrimAt(i).Deleted, !alive[r]);
      }
    }
  }
  // Marking a range whose primitives are long freed flags nothing else.
  const size_t flagged = c.DeletedCount();
  for (size_t r = 0; r < ranges.size(); ++r) {
    if (!alive[r] && c.IndicesOf(ranges[r]).Count == 0) c.MarkDeleted(ranges[r]);
  }
  EXPECT_EQ(c.DeletedCount(), flagged);
}

TEST(DxPrimCollection, RemoveOwnerFreesOnlyItsPrimitivesAndStaleReferencesFindNothing) {
  TDxLineCollection c;
  c.BeginRecord();
  for (int i = 0; i < 6; ++i) {
    c.AddSegments(i % 2 == 0 ? &itemA : &itemB, std::vector<TXYZ>{P(i, 0), P(i, 1)});
  }
  TDxPrimList all;
  c.TakeRecorded(all);
  c.MarkDeleted(TDxPrimList{all[0], all[1]});
  ASSERT_EQ(c.DeletedCount(), 2u);
  ASSERT_EQ(c.VisibleCount(), 6u);

  c.RemoveOwner(&itemA);
  ASSERT_EQ(c.Count(), 3u);
  EXPECT_EQ(c.VisibleCount(), 3u);
  EXPECT_EQ(c.DeletedCount(), 1u);  // the flagged primitive of A went with it
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(c.PrimAt(i).Owner, &itemB);
    EXPECT_FLOAT_EQ(c.PrimAt(i).Vertices[0].X, static_cast<float>(2 * i + 1));
  }
  // The item still holds references to its freed primitives; using them later must not
  // touch other primitives.
  EXPECT_EQ(c.IndexOf(all[2]), c.Count());
  c.MarkDeleted(all);
  EXPECT_EQ(c.DeletedCount(), 3u);
}

TEST(DxPrimCollection, CompactsOnlyWhenATenthIsDeleted) {
  for (const size_t deleted : {9u, 10u}) {
    TDxLineCollection c;
    TDxPrimList all;
    c.BeginRecord();
    for (int i = 0; i < 100; ++i) c.AddSegments(&itemA, std::vector<TXYZ>{P(i * 0.01, 0), P(i * 0.01, 1)});
    c.TakeRecorded(all);
    c.MarkDeleted(TDxPrimList(all.begin(), all.begin() + static_cast<ptrdiff_t>(deleted)));
    const auto g = c.Gather(P(0, 0), 1.0f);
    EXPECT_EQ(g.DrawnVertices, 2 * (100 - deleted)) << deleted;  // deleted ones skipped either way
    if (deleted == 9) {
      EXPECT_EQ(c.Count(), 100u);
      EXPECT_EQ(c.DeletedCount(), 9u);
      EXPECT_EQ(g.SubmittedVertices, 200u);
    } else {
      EXPECT_EQ(c.Count(), 90u);
      EXPECT_EQ(c.DeletedCount(), 0u);
      EXPECT_EQ(g.SubmittedVertices, 180u);
      EXPECT_EQ(c.IndexOf(all[10]), 0u);
    }
  }
}

TEST(DxPrimCollection, ModeSetFilter) {
  TDxLineCollection c;
  c.AddSegments(&itemA, std::vector<TXYZ>{P(1, 0), P(1, 1)});  // empty set: always drawn
  c.SetModeSet(1u << 3);
  c.AddSegments(&itemA, std::vector<TXYZ>{P(2, 0), P(2, 1)});
  EXPECT_EQ(c.PrimAt(1).ModeSet, 1u << 3);

  c.SetModeSet(0);
  EXPECT_EQ(Xs(c, c.Gather(P(0, 0), 1.0f)), (std::vector<float>{1, 1}));
  c.SetModeSet(1u << 4);
  EXPECT_EQ(Xs(c, c.Gather(P(0, 0), 1.0f)), (std::vector<float>{1, 1}));
  c.SetModeSet(1u << 3 | 1u << 4);
  EXPECT_EQ(Xs(c, c.Gather(P(0, 0), 1.0f)), (std::vector<float>{1, 1, 2, 2}));

  // Removing other primitives must not make the collection forget that some carry modes.
  c.SetModeSet(0);
  c.AddSegments(&itemB, std::vector<TXYZ>{P(3, 0), P(3, 1)});
  c.RemoveOwner(&itemB);
  EXPECT_EQ(Xs(c, c.Gather(P(0, 0), 1.0f)), (std::vector<float>{1, 1}));
}

TEST(DxPrimCollection, VisibleSetIsRebuiltOnlyAfterTwentyUnitsOfViewChange) {
  TDxLineCollection c;
  // A point-sized line at x = 200: visible from a view at x centre with radius 10 when
  // |200 - x| - 20 < 10.
  c.AddSegments(&itemA, std::vector<TXYZ>{P(200, 0), P(200, 0)});
  EXPECT_EQ(c.VisibleCount(), 0u);
  EXPECT_EQ(c.Gather(P(152, 0), 10.0f).VisiblePrims, 0u);  // rebuilt there: 48 away
  // 19 units towards it: it would pass now, but the old set is kept.
  EXPECT_EQ(c.Gather(P(171, 0), 10.0f).VisiblePrims, 0u);
  // 20 units in total (centre shift plus radius change) rebuild.
  EXPECT_EQ(c.Gather(P(171, 0), 11.0f).VisiblePrims, 1u);
  // Primitives added between rebuilds join at once when they pass the test.
  c.AddSegments(&itemA, std::vector<TXYZ>{P(180, 0), P(180, 0)});
  c.AddSegments(&itemA, std::vector<TXYZ>{P(500, 0), P(500, 0)});
  EXPECT_EQ(c.VisibleCount(), 2u);
  // A big primitive counts by its Manhattan radius.
  c.AddSegments(&itemA, std::vector<TXYZ>{P(0, 0), P(400, 0)});
  EXPECT_EQ(c.VisibleCount(), 3u);
}

TEST(DxPrimCollection, GatherMatchesANaiveCopyWhateverIsDeletedOrFiltered) {
  std::mt19937 rng(7);
  TDxTriangleCollection c;
  TDxPrimList all;
  c.BeginRecord();
  for (int i = 0; i < 2000; ++i) {
    c.SetModeSet(rng() % 3 == 0 ? 1u << (rng() % 4) : 0u);
    c.AddTriangles(i % 7 == 0 ? &itemB : &itemA, std::vector<TXYZ>{P(i, 0), P(i, 1), P(i, 2)});
  }
  c.TakeRecorded(all);
  TDxPrimList some;
  for (const TDxPrimRef r : all) {
    if (rng() % 20 == 0) some.push_back(r);
  }
  c.MarkDeleted(some);  // about a twentieth: no compaction
  c.RemoveOwner(&itemB);
  for (const uint32_t filter : {0u, 1u, 2u | 8u, 15u}) {
    c.SetModeSet(filter);
    const auto g = c.Gather(P(1000, 0), 5000.0f);
    ASSERT_EQ(g.VisiblePrims, c.Count() - c.DeletedCount());
    EXPECT_EQ(Xs(c, g), NaiveGather(c, filter)) << filter;
  }
}

// Owners and mode sets are kept per run of primitives: after removals by owner and
// compactions every primitive still has the owner and modes it was added with.
TEST(DxPrimCollection, OwnersAndModesStayWithTheirPrimitivesThroughRemovals) {
  struct TExpected {
    const TAbstractItem* Owner;
    uint32_t ModeSet;
    float X;
  };
  TAbstractItem itemC;
  const TAbstractItem* owners[] = {&itemA, &itemB, &itemC};
  std::mt19937 rng(11);
  TDxLineCollection c;
  std::vector<TExpected> expected;
  TDxPrimList all;
  c.BeginRecord();
  for (int i = 0; i < 3000; ++i) {
    const TAbstractItem* owner = owners[(i / 5 + rng() % 2) % 3];  // runs of a few, broken at random
    const uint32_t modes = rng() % 4 == 0 ? 1u << (rng() % 3) : 0u;
    c.SetModeSet(modes);
    c.AddSegments(owner, std::vector<TXYZ>{P(i, 0), P(i, 1)});
    expected.push_back({owner, modes, static_cast<float>(i)});
  }
  c.TakeRecorded(all);
  TDxPrimList flagged;
  for (size_t i = 0; i < all.size(); ++i) {
    if (rng() % 6 == 0) flagged.push_back(all[i]);
  }
  c.MarkDeleted(flagged);
  c.RemoveOwner(&itemB);
  std::erase_if(expected, [](const TExpected& e) { return e.Owner == &itemB; });
  c.Gather(P(0, 0), 1.0f);  // over a tenth flagged: compacts
  ASSERT_EQ(c.DeletedCount(), 0u);
  std::vector<TExpected> kept;
  for (const TExpected& e : expected) {
    const size_t index = c.IndexOf(all[static_cast<size_t>(e.X)]);
    if (index < c.Count()) kept.push_back(e);
  }
  ASSERT_EQ(c.Count(), kept.size());
  ASSERT_LT(kept.size(), expected.size());
  for (size_t i = 0; i < kept.size(); ++i) {
    const TDxPrimView p = c.PrimAt(i);
    ASSERT_EQ(p.Vertices[0].X, kept[i].X) << i;
    EXPECT_EQ(p.Owner, kept[i].Owner) << i;
    EXPECT_EQ(p.ModeSet, kept[i].ModeSet) << i;
  }
  // The runs still tell one owner from another: removing one leaves only the other.
  c.RemoveOwner(&itemA);
  for (size_t i = 0; i < c.Count(); ++i) ASSERT_EQ(c.PrimAt(i).Owner, &itemC) << i;
  EXPECT_EQ(c.Count(), static_cast<size_t>(std::count_if(kept.begin(), kept.end(), [&itemC](const TExpected& e) {
              return e.Owner == &itemC;
            })));
}

// A large collection culls through its grid of centres: the visible set must be the one
// the culling rule gives for every primitive, whatever the view, including primitives
// larger than a cell, ones with no finite centre, and ones added after the grid was made.
TEST(DxPrimCollection, LargeCollectionsCullAsTheRuleSaysWhateverTheView) {
  std::mt19937 rng(3);
  std::uniform_real_distribution<float> place(0.0f, 10000.0f);
  TDxLineCollection c;
  const auto add = [&](int count) {
    for (int i = 0; i < count; ++i) {
      const float x = place(rng), y = place(rng) * 0.1f;  // a street much longer than wide
      const float length = rng() % 500 == 0 ? 3000.0f : 1.0f + static_cast<float>(rng() % 20);
      c.AddSegments(&itemA, std::vector<TXYZ>{P(x, y), P(x + length, y + 1)});
    }
  };
  c.BeginRecord();
  add(20000);
  c.AddSegments(&itemA, std::vector<TXYZ>{P(NAN, 0), P(1, 1)});
  // A few flagged ones, too few for a compaction.
  const TDxPrimRange all = c.TakeRecorded();
  c.MarkDeleted(TDxPrimRange{all.First + 100, all.First + 300});
  // Views far enough apart that each one culls afresh.
  const float views[][3] = {{5000, 500, 40},  {100, 20, 300},    {9900, 900, 5},     {5000, 500, 20000}, {5000, 500, 5000},
                            {2500, 100, 60},  {-500, -500, 100}, {20000, 500, 5000}, {7000, 300, 1}};
  for (const auto& view : views) {
    if (view[0] == 2500) add(3000);  // after the grid: tested one by one until it is rebuilt
    const TXYZ centre = P(view[0], view[1]);
    const auto g = c.Gather(centre, view[2]);
    std::vector<float> expected;
    for (size_t i = 0; i < c.Count(); ++i) {
      const TDxPrimView p = c.PrimAt(i);
      const double distance = DistanceXYZ(centre, P(p.CentreX, p.CentreY));
      if (!p.Deleted && distance - p.Radius - TDxPrimCollection::kCullMargin < view[2]) {
        for (const TDxVertex& v : p.Vertices) expected.push_back(v.X);
      }
    }
    EXPECT_EQ(Xs(c, g), expected) << view[0] << ", " << view[1] << " radius " << view[2];
  }
}

}  // namespace
}  // namespace vellmar
