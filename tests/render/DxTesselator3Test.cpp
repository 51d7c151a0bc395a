#include "render/DxTesselator3.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <numeric>
#include <random>
#include <string>

#include "support/GluOracle.h"
#include "support/PolygonSamples.h"
#include "support/TestSupport.h"

namespace vellmar {
namespace {

using test::TPoint2;

double TriangleArea(const TPoint2& a, const TPoint2& b, const TPoint2& c) {
  return 0.5 * ((b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y));
}

double TotalArea(const std::vector<TPoint2>& corners) {
  double sum = 0.0;
  for (size_t i = 0; i + 2 < corners.size(); i += 3)
    sum += std::fabs(TriangleArea(corners[i], corners[i + 1], corners[i + 2]));
  return sum;
}

// Area of the intersection of two triangles: the first clipped by the three edges
// of the second (both taken counter-clockwise).
double OverlapArea(std::array<TPoint2, 3> a, std::array<TPoint2, 3> b) {
  if (TriangleArea(a[0], a[1], a[2]) < 0) std::swap(a[1], a[2]);
  if (TriangleArea(b[0], b[1], b[2]) < 0) std::swap(b[1], b[2]);
  std::vector<TPoint2> poly(a.begin(), a.end());
  std::vector<TPoint2> clipped;
  for (size_t e = 0; e < 3 && !poly.empty(); ++e) {
    const TPoint2 p = b[e];
    const TPoint2 q = b[(e + 1) % 3];
    const auto side = [&](const TPoint2& v) { return (q.x - p.x) * (v.y - p.y) - (q.y - p.y) * (v.x - p.x); };
    clipped.clear();
    for (size_t i = 0; i < poly.size(); ++i) {
      const TPoint2& u = poly[i];
      const TPoint2& v = poly[(i + 1) % poly.size()];
      const double su = side(u);
      const double sv = side(v);
      if (su >= 0) clipped.push_back(u);
      if ((su > 0 && sv < 0) || (su < 0 && sv > 0)) {
        const double t = su / (su - sv);
        clipped.push_back(TPoint2{u.x + t * (v.x - u.x), u.y + t * (v.y - u.y)});
      }
    }
    poly.swap(clipped);
  }
  double area = 0.0;
  for (size_t i = 2; i < poly.size(); ++i) area += TriangleArea(poly[0], poly[i - 1], poly[i]);
  return std::fabs(area);
}

// Overlap is measured exactly rather than sampled: the coverage count c(p) of the
// triangles satisfies integral(c) = sum of areas and integral(c^2) = sum of areas +
// 2 * sum over pairs of their intersection area, so the union equals the sum of the
// areas exactly when every pairwise intersection is empty. Pairs are found by a sweep
// over the bounding boxes; thin overlaps count with their true area, which sampling
// on a grid would miss.
double PairwiseOverlap(const std::vector<TPoint2>& corners) {
  struct TBox {
    double x0, x1, y0, y1;
    size_t index;
  };
  std::vector<TBox> boxes;
  for (size_t i = 0; i + 2 < corners.size(); i += 3) {
    // Flat triangles cover nothing (and have no inside to clip by).
    if (TriangleArea(corners[i], corners[i + 1], corners[i + 2]) == 0.0) continue;
    const auto [x0, x1] = std::minmax({corners[i].x, corners[i + 1].x, corners[i + 2].x});
    const auto [y0, y1] = std::minmax({corners[i].y, corners[i + 1].y, corners[i + 2].y});
    boxes.push_back({x0, x1, y0, y1, i});
  }
  std::sort(boxes.begin(), boxes.end(), [](const TBox& a, const TBox& b) { return a.x0 < b.x0; });
  const auto triangle = [&](size_t i) {
    return std::array<TPoint2, 3>{corners[i], corners[i + 1], corners[i + 2]};
  };
  double overlap = 0.0;
  for (size_t i = 0; i < boxes.size(); ++i) {
    for (size_t j = i + 1; j < boxes.size() && boxes[j].x0 < boxes[i].x1; ++j) {
      if (boxes[j].y0 >= boxes[i].y1 || boxes[i].y0 >= boxes[j].y1) continue;
      overlap += OverlapArea(triangle(boxes[i].index), triangle(boxes[j].index));
    }
  }
  return overlap;
}

struct TRun {
  bool done = false;
  std::vector<TPoint2> corners;  // three per triangle
  TDxTesselator3::TPath path = TDxTesselator3::TPath::Sweep;
};

using TSearch = TDxTesselator3::TSearch;
using TPath = TDxTesselator3::TPath;

TRun Triangulate(const TXYZArrays& contours, TSearch search = TSearch::Ordered, TPath first = TPath::Fan) {
  TDxTesselator3 tesselator(search, first);
  for (const TXYZArray& contour : contours) tesselator.AddContour(contour);
  TRun run;
  run.done = tesselator.Proceed();
  run.path = tesselator.Path();
  for (const TXYZ* p : tesselator.Result()) run.corners.push_back(TPoint2{p->x, p->y});
  return run;
}

constexpr size_t OverlapCheckLimit = 6000;  // triangles; beyond it the pair sweep gets slow under sanitizers

TPath ExpectLikeGluWith(TSearch search, TPath first, const TXYZArrays& contours, double peer) {
  const TRun run = Triangulate(contours, search, first);
  EXPECT_TRUE(run.done);
  EXPECT_GE(static_cast<int>(run.path), static_cast<int>(first));
  for (size_t i = 0; i + 2 < run.corners.size(); i += 3) {
    const TPoint2& a = run.corners[i];
    const TPoint2& b = run.corners[i + 1];
    const TPoint2& c = run.corners[i + 2];
    if (!std::isfinite(a.x + a.y + b.x + b.y + c.x + c.y)) {
      ADD_FAILURE() << "corner not finite in triangle " << i / 3;
      return run.path;
    }
    EXPECT_NE(TriangleArea(a, b, c), 0.0) << "flat triangle " << i / 3;
  }
  const double tolerance = std::max(1e-6 * peer, 1e-9);
  EXPECT_NEAR(TotalArea(run.corners), peer, tolerance);
  if (run.corners.size() / 3 <= OverlapCheckLimit) {
    EXPECT_LE(PairwiseOverlap(run.corners), tolerance);
  }
  return run.path;
}

// The run succeeds and fills what the GLU tessellator fills (odd winding rule), with
// triangles that do not overlap, are not flat and have finite corners, on every path
// that accepts the input: the one a run chooses, ear clipping where it accepts the
// input, and the sweep with the ordered search and with the linear reference. Returns
// the path the run chose.
TPath ExpectLikeGlu(const std::string& name, const TXYZArrays& contours) {
  const double peer = TotalArea(test::GluTriangles(contours));
  struct TVariant {
    TSearch search;
    TPath first;
    const char* name;
  };
  static constexpr TVariant Variants[] = {{TSearch::Ordered, TPath::Fan, " (chosen path)"},
                                          {TSearch::Ordered, TPath::Ears, " (from ears on)"},
                                          {TSearch::Ordered, TPath::Sweep, " (ordered sweep)"},
                                          {TSearch::Linear, TPath::Sweep, " (linear sweep)"}};
  TPath chosen = TPath::Sweep;
  for (const TVariant& variant : Variants) {
    SCOPED_TRACE(name + variant.name);
    const TPath path = ExpectLikeGluWith(variant.search, variant.first, contours, peer);
    if (variant.first == TPath::Fan) chosen = path;
  }
  return chosen;
}

TXYZArray Square(float x0, float y0, float side) {
  return {{x0, y0, 0}, {x0 + side, y0, 0}, {x0 + side, y0 + side, 0}, {x0, y0 + side, 0}};
}

TEST(DxTesselator3, SquareGivesTwoTrianglesWithOrWithoutClosingPointOrMidpoint) {
  const TXYZArray square = Square(0, 0, 10);
  TXYZArray closed = square;
  closed.push_back(square[0]);
  TXYZArray midpoint = square;
  midpoint.insert(midpoint.begin() + 1, TXYZ{5, 0, 0});
  for (const TXYZArray& outline : {square, closed, midpoint}) {
    const TXYZArray triangles = Tesselate(outline);
    ASSERT_EQ(triangles.size(), 6u);
    std::vector<TPoint2> corners;
    for (const TXYZ& p : triangles) corners.push_back(TPoint2{p.x, p.y});
    EXPECT_DOUBLE_EQ(TotalArea(corners), 100.0);
    EXPECT_EQ(PairwiseOverlap(corners), 0.0);
    // The midpoint is cleaned away, so only the corners are used.
    for (const TXYZ& p : triangles) EXPECT_TRUE((p.x == 0 || p.x == 10) && (p.y == 0 || p.y == 10));
  }
}

TEST(DxTesselator3, SquareWithSquareHoleGivesEightTrianglesAroundIt) {
  const TXYZArrays contours{Square(0, 0, 10), Square(3, 3, 4)};
  const TRun run = Triangulate(contours);
  EXPECT_TRUE(run.done);
  EXPECT_EQ(run.corners.size(), 24u);
  EXPECT_DOUBLE_EQ(TotalArea(run.corners), 84.0);
  EXPECT_EQ(PairwiseOverlap(run.corners), 0.0);
}

TEST(DxTesselator3, FigureEightFillsBothLobesThroughTheCrossing) {
  const TXYZArray eight{{0, 0, 0}, {10, 10, 0}, {10, 0, 0}, {0, 10, 0}};
  const TRun run = Triangulate({eight});
  EXPECT_TRUE(run.done);
  EXPECT_NEAR(TotalArea(run.corners), 50.0, 1e-4);
  EXPECT_EQ(PairwiseOverlap(run.corners), 0.0);
  const bool usesCrossing = std::any_of(run.corners.begin(), run.corners.end(), [](const TPoint2& p) {
    return std::fabs(p.x - 5.0) < 1e-5 && std::fabs(p.y - 5.0) < 1e-5;
  });
  EXPECT_TRUE(usesCrossing);
  ExpectLikeGlu("figure eight", {eight});
}

// Vertices on one X or one Y are shifted apart for the sweep; the triangles must
// still use the caller's exact coordinates.
TEST(DxTesselator3, TiedCoordinatesReachTheResultUnshifted) {
  const TXYZArray outline{{0, 0, 0}, {4, 0, 0}, {4, 1, 0}, {2, 1, 0},
                          {2, 3, 0}, {4, 3, 0}, {4, 4, 0}, {0, 4, 0}};
  const TRun run = Triangulate({outline});
  EXPECT_TRUE(run.done);
  EXPECT_DOUBLE_EQ(TotalArea(run.corners), 12.0);
  EXPECT_EQ(PairwiseOverlap(run.corners), 0.0);
  for (const TPoint2& corner : run.corners) {
    const bool isInput = std::any_of(outline.begin(), outline.end(),
                                     [&](const TXYZ& p) { return p.x == corner.x && p.y == corner.y; });
    EXPECT_TRUE(isInput) << corner.x << " " << corner.y;
  }
}

TEST(DxTesselator3, NotchesAgainstAndAlongTheSweepTriangulate) {
  // A U opening to the right gives a split vertex, one opening to the left a merge vertex.
  const TXYZArray splitNotch{{0, 0, 0},  {10, 0, 0},  {10, 4, 0}, {3, 5, 0},
                             {10, 6, 0}, {10, 10, 0}, {0, 10, 0}};
  const TXYZArray mergeNotch{{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}, {0, 6, 0}, {7, 5, 0}, {0, 4, 0}};
  ExpectLikeGlu("split notch", {splitNotch});
  ExpectLikeGlu("merge notch", {mergeNotch});
}

TEST(DxTesselator3, TooFewOrCollinearPointsGiveNothing) {
  EXPECT_TRUE(Tesselate({}).empty());
  EXPECT_TRUE(Tesselate({{0, 0, 0}, {1, 1, 0}}).empty());
  EXPECT_TRUE(Tesselate({{0, 0, 0}, {1, 1, 0}, {2, 2, 0}}).empty());
  EXPECT_TRUE(Tesselate({{0, 0, 0}, {1, 1, 0}, {0, 0, 0}}).empty());
}

TEST(DxTesselator3, EveryFixtureFillsLikeGlu) {
  const auto fixtures = test::FixturesDir();
  if (fixtures.empty()) GTEST_SKIP() << "no shared fixtures";
  const auto samples = test::ReadPolygonFixtures(fixtures / "polygons");
  ASSERT_FALSE(samples.empty());
  for (const auto& sample : samples) ExpectLikeGlu(sample.name, sample.contours);
}

TEST(DxTesselator3, RegularPolygonsAndStarsFillLikeGlu) {
  for (size_t n : {3, 4, 5, 7, 16, 100, 1000, 20000})
    ExpectLikeGlu(std::to_string(n) + "-gon", {test::RegularPolygon(n, 100.0)});
  for (size_t n : {3, 5, 12, 200}) ExpectLikeGlu(std::to_string(n) + "-star", {test::Star(n, 10.0, 3.0)});
}

TEST(DxTesselator3, CombsRingsAndHolesFillLikeGlu) {
  for (size_t teeth : {1, 2, 10, 300}) ExpectLikeGlu(std::to_string(teeth) + "-comb", {test::Comb(teeth)});
  ExpectLikeGlu("rings", test::ConcentricRings(6, 64));
  ExpectLikeGlu("holes", test::OutlineWithHoles(400, 100));
}

TEST(DxTesselator3, RunsOfPointsOnOneXOrOneYFillLikeGlu) {
  for (size_t teeth : {1, 5, 200}) {
    ExpectLikeGlu(std::to_string(teeth) + "-saw on X", {test::SawOnOneX(teeth)});
    ExpectLikeGlu(std::to_string(teeth) + "-saw on Y", {test::SawOnOneY(teeth)});
  }
}

TEST(DxTesselator3, RandomSelfCrossingOutlinesFillLikeGlu) {
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    const size_t n = 4 + seed % 37;
    ExpectLikeGlu("random " + std::to_string(seed), {test::RandomOutline(n, seed)});
  }
}

// Lattice points make every degeneracy at once: a vertex on another edge, edges on
// one line, a point passed twice. Such input once stopped the sweep ("can not
// compare" chains) or left crossings at shifted places.
TEST(DxTesselator3, RandomOutlinesOnACoarseGridFillLikeGlu) {
  // Two vertices lie on the edge from (0, 0) to (7, 7), one of them a start vertex.
  ExpectLikeGlu("vertices on an edge", {{{7, 7, 0}, {7, 8, 0}, {4, 4, 0}, {5, 5, 0}, {2, 1, 0}, {0, 0, 0}}});
  for (uint32_t seed = 1; seed <= 200; ++seed) {
    const size_t n = 4 + seed % 9;
    ExpectLikeGlu("grid " + std::to_string(seed), {test::RandomGridOutline(n, 10, seed)});
  }
}

// Cleaning the outline once stopped after a fixed number of steps and could leave two
// equal neighbouring points; moving points apart at a shared corner then divided by
// their zero distance, the points became NaN and the sweep failed with no triangles.
TEST(DxTesselator3, SpikesDoublingBackThroughACornerFillLikeGlu) {
  const TXYZArray spikes{{0, 1, 0}, {1, 1, 0}, {1, 0, 0}, {2, 0, 0}, {1, 0, 0},
                         {1, 1, 0}, {2, 1, 0}, {2, 2, 0}, {1, 2, 0}, {1, 1, 0}};
  const TRun run = Triangulate({spikes});
  EXPECT_TRUE(run.done);
  EXPECT_DOUBLE_EQ(TotalArea(run.corners), 1.0);
  ExpectLikeGlu("spikes", {spikes});
}

// Walks on the lattice are full of zero-width spikes, runs on one line and points
// passed several times; about one in four hundred once failed as above.
TEST(DxTesselator3, RandomGridWalksFillLikeGlu) {
  for (uint32_t seed = 1; seed <= 3000; ++seed) {
    const size_t steps = 4 + seed % 29;
    ExpectLikeGlu("walk " + std::to_string(seed), {test::RandomGridWalk(steps, seed)});
  }
}

// Wide inputs keep thousands of chains active, and the ordered search tests a new edge
// against its neighbours only: two stars on top of each other cross everywhere, also
// between chains that only become neighbours when the chains between them end.
TEST(DxTesselator3, WideAndCrossingStarsFillLikeGlu) {
  for (size_t spikes : {500, 2000}) ExpectLikeGlu(std::to_string(spikes) + "-star", {test::Star(spikes, 10.0, 3.0)});
  for (size_t spikes : {7, 40, 150}) {
    TXYZArray turned = test::Star(spikes + 1, 9.0, 4.0);
    for (TXYZ& p : turned) p.x += 0.37f;
    ExpectLikeGlu(std::to_string(spikes) + "-stars crossing", {test::Star(spikes, 10.0, 3.0), turned});
  }
  for (uint32_t seed = 1; seed <= 6; ++seed)
    ExpectLikeGlu("random 150, " + std::to_string(seed), {test::RandomOutline(150, seed)});
}

// Random outlines of each family choose their own path and fill like GLU on every
// path: convex ones are fanned, simple ones (a star-shaped outline around a random
// centre, with or without holes near the centre) are cut into ears, and star
// polygons drawn in one stroke, rings that touch and holes within holes go to the sweep.
TEST(DxTesselator3, RandomConvexSimpleAndCrossingOutlinesChooseTheirPath) {
  std::mt19937 random(7);
  const auto uniform = [&](double low, double high) { return std::uniform_real_distribution<double>(low, high)(random); };
  const auto point = [](double x, double y) { return TXYZ{static_cast<float>(x), static_cast<float>(y), 0.0f}; };
  // n corners around (cx, cy), radius from `radius`, at angles spread evenly and moved
  // by up to 0.4 of their step (so no gap between neighbours passes 0.3 of a turn).
  const auto around = [&](size_t n, double cx, double cy, const auto& radius) {
    const double step = 2.0 * std::numbers::pi / static_cast<double>(n);
    const double phase = uniform(0.0, step);
    TXYZArray outline;
    for (size_t k = 0; k < n; ++k) {
      const double angle = phase + step * (static_cast<double>(k) + uniform(-0.4, 0.4));
      const double r = radius();
      outline.push_back(point(cx + r * std::cos(angle), cy + r * std::sin(angle)));
    }
    return outline;
  };
  for (int i = 0; i < 60; ++i) {
    const size_t n = 3 + static_cast<size_t>(i) % 40;
    const double cx = uniform(-1000.0, 1000.0);
    const double cy = uniform(-1000.0, 1000.0);
    const double size = uniform(0.5, 200.0);
    const std::string id = std::to_string(i);

    TXYZArray convex = around(n, cx, cy, [&] { return size; });
    if (i % 2) std::reverse(convex.begin(), convex.end());
    EXPECT_EQ(ExpectLikeGlu("convex " + id, {convex}), TPath::Fan) << id;

    // Radii between 0.5 and 1 of the size keep the outline simple. Ears are for small
    // outlines; larger ones (every tenth) go to the sweep, which is faster there.
    const size_t corners = i % 10 == 0 ? 400 : n + 3;
    const TXYZArray simple = around(corners, cx, cy, [&] { return uniform(0.5, 1.0) * size; });
    const auto expected = [](const TXYZArrays& contours) {
      return test::VertexCount(contours) <= TDxEarClipper::EarsUpTo ? TPath::Ears : TPath::Sweep;
    };
    const TPath path = ExpectLikeGlu("simple " + id, {simple});
    EXPECT_TRUE(path == expected({simple}) || path == TPath::Fan) << id;
    TXYZArrays withHoles{simple};
    const double turn = uniform(0.0, 2.0 * std::numbers::pi);
    for (int h = 0; h < 1 + i % 4; ++h) {  // a quarter turn apart: the holes stay apart
      const double angle = turn + 0.5 * std::numbers::pi * h;
      withHoles.push_back(around(3 + h * 2, cx + 0.15 * size * std::cos(angle), cy + 0.15 * size * std::sin(angle),
                                 [&] { return uniform(0.02, 0.05) * size; }));
    }
    if (i % 3 == 0) std::swap(withHoles.front(), withHoles.back());  // the outline need not come first
    EXPECT_EQ(ExpectLikeGlu("holes " + id, withHoles), expected(withHoles)) << id;

    // {p/q}: every edge crosses others. Crossings are single-precision points, so the
    // star stays near the origin, where they are exact enough for the area check.
    const size_t p = 5 + static_cast<size_t>(i) % 20;
    size_t q = 2 + static_cast<size_t>(i) % ((p - 1) / 2);
    while (std::gcd(p, q) != 1) --q;
    TXYZArray crossing;
    for (size_t k = 0; k < p; ++k) {
      const double angle = 2.0 * std::numbers::pi * static_cast<double>(k * q % p) / static_cast<double>(p) + 0.1;
      crossing.push_back(point(size * std::cos(angle), size * std::sin(angle)));
    }
    if (q > 1) {
      EXPECT_EQ(ExpectLikeGlu("crossing " + id, {crossing}), TPath::Sweep) << id;
    }
  }
}

// Holes in a row on the line through an outline corner bridge one to the next: each
// bridge starts at a corner that an earlier bridge already doubled, and the ears must
// pick the right copy. Holes with the same rightmost X are bridged in either order.
TEST(DxTesselator3, HolesBridgedThroughSharedCornersAreCutIntoEars) {
  const auto diamond = [](float cx, float cy, float r) {
    return TXYZArray{{cx - r, cy, 0}, {cx, cy - r, 0}, {cx + r, cy, 0}, {cx, cy + r, 0}};
  };
  const TXYZArray outline{{0, 0, 0}, {10, 0, 0}, {12, 5, 0}, {10, 10, 0}, {0, 10, 0}};
  EXPECT_EQ(ExpectLikeGlu("in a row", {outline, diamond(2, 5, 1), diamond(5, 5, 1), diamond(8, 5, 1)}),
            TPath::Ears);
  EXPECT_EQ(ExpectLikeGlu("one above the other", {outline, diamond(5, 3, 1), diamond(5, 7, 1)}), TPath::Ears);
  TXYZArray clockwise = outline;
  std::reverse(clockwise.begin(), clockwise.end());
  EXPECT_EQ(ExpectLikeGlu("clockwise outline", {clockwise, diamond(5, 3, 1), diamond(8, 5, 1)}), TPath::Ears);
}

TEST(DxTesselator3, RingsThatTouchOrNestTwiceGoToTheSweep) {
  const TXYZArrays touchingCorners{Square(0, 0, 10), Square(10, 10, 10)};
  const TXYZArrays holeOnTheOutline{Square(0, 0, 10), Square(0, 3, 4)};
  const TXYZArrays islandInAHole{Square(0, 0, 10), Square(2, 2, 6), Square(4, 4, 2)};
  const TXYZArrays sameRingTwice{Square(0, 0, 10), Square(0, 0, 10)};
  const TXYZArrays crossingRings{Square(0, 0, 10), Square(5, 5, 10)};
  EXPECT_EQ(ExpectLikeGlu("touching corners", touchingCorners), TPath::Sweep);
  EXPECT_EQ(ExpectLikeGlu("hole on the outline", holeOnTheOutline), TPath::Sweep);
  EXPECT_EQ(ExpectLikeGlu("island in a hole", islandInAHole), TPath::Sweep);
  EXPECT_EQ(ExpectLikeGlu("same ring twice", sameRingTwice), TPath::Sweep);
  EXPECT_EQ(ExpectLikeGlu("crossing rings", crossingRings), TPath::Sweep);
  // Apart, side by side, or one deep: ears.
  EXPECT_EQ(ExpectLikeGlu("side by side", {Square(0, 0, 10), Square(20, 0, 10)}), TPath::Ears);
  EXPECT_EQ(ExpectLikeGlu("two outlines, a hole each",
                          {Square(0, 0, 10), Square(20, 0, 10), Square(2, 2, 2), Square(25, 5, 2)}),
            TPath::Ears);
}

// A tessellator that is cleared and used again must give what a fresh one gives:
// reused chains, nodes and lists carry nothing over.
TEST(DxTesselator3, ClearedTesselatorRepeatsAFreshOne) {
  const std::vector<TXYZArrays> jobs{{test::Star(40, 10.0, 3.0)},
                                     {test::Comb(12)},
                                     {test::RandomOutline(30, 3)},
                                     {Square(0, 0, 10), Square(3, 3, 4)},
                                     {test::RandomGridWalk(40, 51)},
                                     {test::Star(40, 10.0, 3.0)}};
  TDxTesselator3 reused;
  for (size_t round = 0; round < 2; ++round) {
    for (size_t j = 0; j < jobs.size(); ++j) {
      SCOPED_TRACE("job " + std::to_string(j));
      reused.Clear();
      for (const TXYZArray& contour : jobs[j]) reused.AddContour(contour);
      EXPECT_TRUE(reused.Proceed());
      std::vector<TPoint2> corners;
      for (const TXYZ* p : reused.Result()) corners.push_back(TPoint2{p->x, p->y});
      const TRun fresh = Triangulate(jobs[j]);
      ASSERT_EQ(corners.size(), fresh.corners.size());
      for (size_t i = 0; i < corners.size(); ++i) {
        EXPECT_EQ(corners[i].x, fresh.corners[i].x);
        EXPECT_EQ(corners[i].y, fresh.corners[i].y);
      }
    }
  }
}

// Vertex Ids once were contour * 65536 + index, so point 65536 of a long outline had
// the Id of the first point of the next contour, and a crossing between their edges
// was skipped as "sharing an end".
TEST(DxTesselator3, LongOutlineVertexesDoNotShareIdsWithOtherContours) {
  const TXYZArray outline = test::RegularPolygon(70000, 1000.0);
  const TXYZ& p = outline[65536];
  const double radius = std::hypot(p.x, p.y);
  const double ux = p.x / radius;
  const double uy = p.y / radius;
  const auto at = [&](double r, double along) {
    return TXYZ{static_cast<float>(ux * r - uy * along), static_cast<float>(uy * r + ux * along), 0.0f};
  };
  // Its first point lies just outside the outline's point 65536, so both of its edges
  // cross the outline's two edges at that point.
  const TXYZArray triangle{at(1010.0, 0.0), at(900.0, 0.5), at(900.0, -0.5)};
  ExpectLikeGlu("triangle across a long outline", {outline, triangle});
}

// Signed area of a closed outline (shoelace), exact enough for a reference.
double OutlineArea(const TXYZArray& outline) {
  double sum = 0.0;
  for (size_t i = 0; i < outline.size(); ++i) {
    const TXYZ& a = outline[i];
    const TXYZ& b = outline[(i + 1) % outline.size()];
    sum += double{a.x} * b.y - double{b.x} * a.y;
  }
  return 0.5 * sum;
}

// The iteration cap once refused every outline of more than 100,000 vertices, so a
// large lake or a long curb simply did not fill. These inputs are simple, so the
// reference is their exact area, and a triangulation without extra points has at most
// n + 2h - 2 triangles for n vertices and h holes (fewer when collinear points go).
TEST(DxTesselator3, LargeOutlinesAreNotRefusedByTheIterationCap) {
  const TXYZArray ring = test::RegularPolygon(500000, 1000.0);
  const TRun ringRun = Triangulate({ring});
  EXPECT_TRUE(ringRun.done);
  EXPECT_LE(ringRun.corners.size(), 3 * (ring.size() - 2));
  EXPECT_NEAR(TotalArea(ringRun.corners), OutlineArea(ring), 1e-6 * OutlineArea(ring));

  const TXYZArrays holes = test::OutlineWithHoles(200000, 1000);
  const TRun holesRun = Triangulate(holes);
  double area = OutlineArea(holes[0]);
  for (size_t i = 1; i < holes.size(); ++i) area -= OutlineArea(holes[i]);
  EXPECT_TRUE(holesRun.done);
  EXPECT_LE(holesRun.corners.size(), 3 * (test::VertexCount(holes) + 2 * 1000 - 2));
  EXPECT_NEAR(TotalArea(holesRun.corners), area, 1e-6 * area);
}

}  // namespace
}  // namespace vellmar
