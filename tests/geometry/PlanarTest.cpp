#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "geometry/Planar.h"
#include "geometry/Vector.h"

namespace vellmar {
namespace {

TXYZ P(double x, double y) {
  return MakeXYZ(x, y, 0);
}

TEST(SignedArea, PositiveForCounterClockwiseTurns) {
  EXPECT_EQ(SignedArea(P(0, 0), P(4, 0), P(0, 3)), 6.0);
  EXPECT_EQ(SignedArea(P(0, 0), P(0, 3), P(4, 0)), -6.0);
  EXPECT_EQ(AreaSign(P(0, 0), P(0, 3), P(4, 0)), -1);
  EXPECT_TRUE(IsCollinear(P(0, 0), P(1, 1), P(3, 3)));
  EXPECT_EQ(AbsArea(P(0, 0), P(0, 3), P(4, 0)), 6.0);
  // Two whole triangles; the two points left over do not form a third.
  const std::vector<TXYZ> list = {P(0, 0), P(4, 0), P(0, 3), P(0, 0), P(0, 1), P(1, 0), P(5, 5), P(6, 6)};
  EXPECT_EQ(TriangleListArea(list), 6.5);
}

TEST(PointInTriangle, EdgesAreOutsideButVerticesInside) {
  const TXYZ a = P(0, 0), b = P(4, 0), c = P(0, 4);
  EXPECT_TRUE(PointInTriangle(P(1, 1), a, b, c));
  EXPECT_TRUE(PointInTriangle(P(1, 1), a, c, b));  // either winding
  EXPECT_FALSE(PointInTriangle(P(2, 0), a, b, c));
  EXPECT_FALSE(PointInTriangle(P(2, 2), a, b, c));
  EXPECT_TRUE(PointInTriangle(b, a, b, c));
  EXPECT_FALSE(PointInTriangle(P(3, 3), a, b, c));
  EXPECT_FALSE(PointInTriangle(P(-1, 1), a, b, c));
}

TEST(PointLineRelation, SignedDistanceAndParameter) {
  const TLineRelation left = PointLineRelation(P(1, 2), P(0, 0), P(4, 0));
  EXPECT_EQ(left.distance, 2.0);
  EXPECT_EQ(left.t, 0.25);
  const TLineRelation right = PointLineRelation(P(6, -3), P(0, 0), P(4, 0));
  EXPECT_EQ(right.distance, -3.0);
  EXPECT_EQ(right.t, 1.5);
}

TEST(SegmentIntersect, ParallelAndCollinearHaveNoCrossing) {
  EXPECT_FALSE(SegmentIntersect(P(0, 0), P(2, 2), P(0, 1), P(2, 3)));
  EXPECT_FALSE(SegmentIntersect(P(0, 0), P(2, 2), P(1, 1), P(3, 3)));
  EXPECT_FALSE(SegmentIntersect(P(0, 0), P(2, 2), P(3, 3), P(1, 1)));
  EXPECT_FALSE(SegmentIntersectPoint(P(0, 0), P(2, 0), P(0, 1), P(5, 1)));
}

TEST(SegmentIntersect, ParametersAlongBothLinesUnclipped) {
  const auto x = SegmentIntersect(P(0, 0), P(4, 0), P(1, -1), P(1, 3));
  ASSERT_TRUE(x);
  EXPECT_EQ(x->t, 0.25);
  EXPECT_EQ(x->u, 0.25);
  // Lines, not segments: the crossing lies beyond both ends.
  const auto beyond = SegmentIntersect(P(0, 0), P(1, 0), P(3, 1), P(3, 2));
  ASSERT_TRUE(beyond);
  EXPECT_EQ(beyond->t, 3.0);
  EXPECT_EQ(beyond->u, -1.0);
  const auto point = SegmentIntersectPoint(MakeXYZ(0, 0, 0), MakeXYZ(4, 0, 8), P(1, -1), P(1, 3));
  ASSERT_TRUE(point);
  EXPECT_EQ(point->point.x, 1.0f);
  EXPECT_EQ(point->point.y, 0.0f);
  EXPECT_EQ(point->point.z, 2.0f);
  EXPECT_EQ(point->u, 0.25);
}

double LeftNormalProjection(const TXYZ& from, const TXYZ& to, const TXYZ& offset) {
  const double dx = double{to.x} - from.x;
  const double dy = double{to.y} - from.y;
  return (-dy * offset.x + dx * offset.y) / std::hypot(dx, dy);
}

TEST(MiterOffset, ReachesUnitDistanceFromBothSegments) {
  std::mt19937 rng(11);
  std::uniform_real_distribution<double> coord(-100.0, 100.0);
  int checked = 0;
  while (checked < 2000) {
    const TXYZ prev = P(coord(rng), coord(rng));
    const TXYZ v = P(coord(rng), coord(rng));
    const TXYZ next = P(coord(rng), coord(rng));
    // Hairpins need an unbounded miter; skip turns sharper than about 170 degrees.
    const double turn = std::fabs(std::remainder(AngleBetween(prev, v, v, next), 2 * std::acos(-1.0)));
    if (turn > 2.97) continue;
    const TXYZ m = MiterOffset(prev, v, next);
    ASSERT_NEAR(LeftNormalProjection(prev, v, m), 1.0, 1e-4);
    ASSERT_NEAR(LeftNormalProjection(v, next, m), 1.0, 1e-4);
    ++checked;
  }
}

TEST(MiterOffset, StraightContinuationIsTheNormalAndZComesFromTheVertex) {
  const TXYZ m = MiterOffset(P(-3, 0), MakeXYZ(0, 0, 5), P(7, 0));
  EXPECT_EQ(m.x, 0.0f);
  EXPECT_EQ(m.y, 1.0f);
  EXPECT_EQ(m.z, 5.0f);
  // A left turn of 90 degrees puts the corner inside the bend.
  const TXYZ corner = MiterOffset(P(-1, 0), P(0, 0), P(0, 1));
  EXPECT_FLOAT_EQ(corner.x, -1.0f);
  EXPECT_FLOAT_EQ(corner.y, 1.0f);
}

TEST(NearestSegment, EndsInnerVerticesAndShortLists) {
  const std::vector<TXYZ> poly = {P(0, 0), P(10, 0), P(10, 10), P(20, 10)};
  EXPECT_EQ(NearestSegment(poly, P(5, 1)), 0);
  EXPECT_EQ(NearestSegment(poly, P(9, 5)), 1);
  EXPECT_EQ(NearestSegment(poly, P(30, 12)), 2);  // beyond the last vertex
  EXPECT_EQ(NearestSegment(poly, P(-5, -1)), 0);  // before the first
  // Outside the corner at vertex 1: no perpendicular reaches it, the vertex does.
  EXPECT_EQ(NearestSegment(poly, P(12, -2)), 1);
  EXPECT_EQ(NearestSegment(std::vector<TXYZ>{P(3, 3)}, P(0, 0)), 0);
  EXPECT_EQ(NearestSegment(std::vector<TXYZ>{}, P(0, 0)), -1);
}

TEST(NearestSegment, TiesKeepTheFirstSegment) {
  const std::vector<TXYZ> poly = {P(0, 0), P(10, 0), P(10, 10)};
  // Equally far from both segments and nearer to either than to the corner.
  EXPECT_EQ(NearestSegment(poly, P(8, 2)), 0);
}

// Naive reference: clip one triangle by the three half-planes of the other.
double ClippedArea(std::vector<TXYZ> poly, const TXYZ (&clip)[3]) {
  const double orient = SignedArea(clip[0], clip[1], clip[2]) > 0 ? 1.0 : -1.0;
  for (int i = 0; i < 3 && !poly.empty(); ++i) {
    const TXYZ& a = clip[i];
    const TXYZ& b = clip[(i + 1) % 3];
    std::vector<TXYZ> out;
    for (size_t j = 0; j < poly.size(); ++j) {
      const TXYZ& p = poly[j];
      const TXYZ& q = poly[(j + 1) % poly.size()];
      const double sp = orient * SignedArea(a, b, p);
      const double sq = orient * SignedArea(a, b, q);
      if (sp >= 0) out.push_back(p);
      if ((sp >= 0) != (sq >= 0)) out.push_back(LerpXYZ(p, q, sp / (sp - sq)));
    }
    poly = out;
  }
  double area = 0;
  for (size_t j = 1; j + 1 < poly.size(); ++j) area += SignedArea(poly[0], poly[j], poly[j + 1]);
  return std::fabs(area);
}

TEST(TriangleOverlapArea, KnownShapes) {
  const TXYZ a = P(0, 0), b = P(6, 0), c = P(0, 6);
  EXPECT_NEAR(TriangleOverlapArea(a, b, c, a, b, c), 18.0, 1e-9);
  EXPECT_NEAR(TriangleOverlapArea(a, b, c, c, b, a), 18.0, 1e-9);
  // Reflected through the centroid (2, 2): a hexagon of two thirds of the area.
  EXPECT_NEAR(TriangleOverlapArea(a, b, c, P(4, 4), P(-2, 4), P(4, -2)), 12.0, 1e-5);
  // Shifted copy: the overlap is the small triangle (3,0) (6,0) (3,3).
  EXPECT_NEAR(TriangleOverlapArea(a, b, c, P(3, 0), P(9, 0), P(3, 6)), 4.5, 1e-5);
  // One inside the other.
  EXPECT_NEAR(TriangleOverlapArea(a, b, c, P(1, 1), P(2, 1), P(1, 2)), 0.5, 1e-9);
  EXPECT_NEAR(TriangleOverlapArea(P(1, 1), P(2, 1), P(1, 2), a, b, c), 0.5, 1e-9);
}

TEST(TriangleOverlapArea, TouchingDisjointAndDegenerateAreZero) {
  const TXYZ a = P(0, 0), b = P(6, 0), c = P(0, 6);
  EXPECT_EQ(TriangleOverlapArea(a, b, c, b, P(9, 0), P(9, 3)), 0.0);    // a shared vertex
  EXPECT_NEAR(TriangleOverlapArea(a, b, c, b, c, P(6, 6)), 0.0, 1e-9);  // a shared edge
  EXPECT_EQ(TriangleOverlapArea(a, b, c, P(10, 10), P(12, 10), P(10, 12)), 0.0);
  EXPECT_EQ(TriangleOverlapArea(a, b, c, P(4, 4), P(6, 4), P(4, 6)), 0.0);  // boxes overlap, triangles not
  EXPECT_EQ(TriangleOverlapArea(a, b, c, P(1, 1), P(2, 2), P(3, 3)), 0.0);
  EXPECT_EQ(TriangleOverlapArea(P(1, 1), P(1, 1), P(2, 1), a, b, c), 0.0);
}

TEST(TriangleOverlapArea, AgreesWithClippingOnRandomTriangles) {
  std::mt19937 rng(3);
  std::uniform_real_distribution<double> coord(0.0, 10.0);
  for (int i = 0; i < 3000; ++i) {
    const TXYZ t1[3] = {P(coord(rng), coord(rng)), P(coord(rng), coord(rng)), P(coord(rng), coord(rng))};
    const TXYZ t2[3] = {P(coord(rng), coord(rng)), P(coord(rng), coord(rng)), P(coord(rng), coord(rng))};
    if (AbsArea(t1[0], t1[1], t1[2]) < 0.1 || AbsArea(t2[0], t2[1], t2[2]) < 0.1) continue;
    const double expected = ClippedArea({t1[0], t1[1], t1[2]}, t2);
    const double actual = TriangleOverlapArea(t1[0], t1[1], t1[2], t2[0], t2[1], t2[2]);
    ASSERT_NEAR(actual, expected, 1e-3 + 1e-4 * expected) << "case " << i;
  }
}

}  // namespace
}  // namespace vellmar
