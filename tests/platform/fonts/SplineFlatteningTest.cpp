// Glyph curves flattened into points: every point against values worked out by hand.

#include <gtest/gtest.h>

#include <vector>

#include "platform/fonts/SplineFlattening.h"

namespace vellmar {
namespace {

struct TSplineCase {
  const char* What;
  std::vector<TXYZ> Controls;
  std::vector<TXYZ> Expected;
};

// Hand-worked: S + 2(K - S)u + (S - 2K + E)u^2 at the parameters the rule gives.
const std::vector<TSplineCase>& Cases() {
  static const std::vector<TSplineCase> cases = {
      {"fewer than two points give nothing", {{1, 1, 0}}, {}},
      // One straight segment, control at the midpoint: u = 0, 1/4 ... 1.
      {"two points: a straight run of five", {{0, 0, 0}, {8, 4, 0}},
       {{0, 0, 0}, {2, 1, 0}, {4, 2, 0}, {6, 3, 0}, {8, 4, 0}}},
      // x = 4u, y = 8u - 8u^2.
      {"three points: one parabola", {{0, 0, 0}, {2, 4, 0}, {4, 0, 0}},
       {{0, 0, 0}, {1, 1.5f, 0}, {2, 2, 0}, {3, 1.5f, 0}, {4, 0, 0}}},
      // Segments (0,0)-(0,4)-(2,4) and (2,4)-(4,4)-(4,0); t = i / 9 over two segments,
      // so i = 0..9 fall at (segment, u) = (0,0) (0,2/9) (0,4/9) (0,6/9) (0,8/9) (1,1/9)
      // (1,3/9) (1,5/9) (1,7/9) (1,1). First: x = 2u^2, y = 8u - 4u^2; second:
      // x = 2 + 4u - 2u^2, y = 4 - 4u^2.
      {"four points: two parabolas through the implied midpoint",
       {{0, 0, 0}, {0, 4, 0}, {4, 4, 0}, {4, 0, 0}},
       {{0, 0, 0},
        {8.0f / 81, 128.0f / 81, 0},
        {32.0f / 81, 224.0f / 81, 0},
        {72.0f / 81, 288.0f / 81, 0},
        {128.0f / 81, 320.0f / 81, 0},
        {196.0f / 81, 320.0f / 81, 0},
        {252.0f / 81, 288.0f / 81, 0},
        {292.0f / 81, 224.0f / 81, 0},
        {316.0f / 81, 128.0f / 81, 0},
        {4, 0, 0}}},
  };
  return cases;
}

TEST(SplineFlattening, QuadraticSplinesMeetHandWorkedPoints) {
  for (const TSplineCase& c : Cases()) {
    SCOPED_TRACE(c.What);
    const TXYZArray points = FlattenQuadraticSpline(c.Controls);
    ASSERT_EQ(points.size(), c.Expected.size());
    for (size_t i = 0; i < points.size(); ++i) {
      EXPECT_NEAR(points[i].x, c.Expected[i].x, 1e-5) << "point " << i;
      EXPECT_NEAR(points[i].y, c.Expected[i].y, 1e-5) << "point " << i;
    }
  }
}

// Six controls make four segments and twenty points; the ends are the outer controls and
// the run goes forward all the way, as its controls do.
TEST(SplineFlattening, LongRunsKeepTheirEndsAndCountFivePerSegment) {
  const std::vector<TXYZ> controls = {{0, 0, 0}, {1, 2, 0}, {3, 2, 0}, {5, 0, 0}, {7, 2, 0}, {8, 0, 0}};
  const TXYZArray points = FlattenQuadraticSpline(controls);
  ASSERT_EQ(points.size(), 20u);
  EXPECT_FLOAT_EQ(points.front().x, 0);
  EXPECT_FLOAT_EQ(points.back().x, 8);
  EXPECT_FLOAT_EQ(points.back().y, 0);
  for (size_t i = 1; i < points.size(); ++i) EXPECT_GT(points[i].x, points[i - 1].x) << i;
}

// x = 3u (controls evenly spaced), y = 3u(1-u) * 4: at u = 1/2, y = 3.
TEST(SplineFlattening, CubicSegmentsTakeFivePointsEndsIncluded) {
  const TXYZArray points = FlattenCubicSegment({0, 0, 0}, {1, 4, 0}, {2, 4, 0}, {3, 0, 0});
  const std::vector<TXYZ> expected = {{0, 0, 0}, {0.75f, 2.25f, 0}, {1.5f, 3, 0}, {2.25f, 2.25f, 0}, {3, 0, 0}};
  ASSERT_EQ(points.size(), expected.size());
  for (size_t i = 0; i < points.size(); ++i) {
    EXPECT_NEAR(points[i].x, expected[i].x, 1e-5) << i;
    EXPECT_NEAR(points[i].y, expected[i].y, 1e-5) << i;
  }
}

}  // namespace
}  // namespace vellmar
