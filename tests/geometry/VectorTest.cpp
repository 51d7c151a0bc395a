#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "geometry/Vector.h"

namespace vellmar {
namespace {

constexpr double kPi = std::numbers::pi;

TEST(AngleOf, CoversTheCircleFromZeroUpToButExcludingTwoPi) {
  EXPECT_EQ(AngleOf(MakeXYZ(1, 0, 0)), 0.0);
  EXPECT_DOUBLE_EQ(AngleOf(MakeXYZ(0, 1, 0)), kPi / 2);
  EXPECT_DOUBLE_EQ(AngleOf(MakeXYZ(-1, 0, 0)), kPi);
  EXPECT_DOUBLE_EQ(AngleOf(MakeXYZ(0, -1, 0)), 3 * kPi / 2);
  // atan2 gives -pi for a negative zero y; that must come back as pi, not stay negative.
  EXPECT_DOUBLE_EQ(AngleOf(TXYZ{-1.0f, -0.0f, 0.0f}), kPi);
}

// A direction just below the x axis has an angle so close to 0 that adding 2*pi
// rounds to 2*pi itself, which callers sorting by angle treat as a full turn.
TEST(AngleOf, TinyNegativeAngleStaysBelowTwoPi) {
  const double angle = AngleOf(TXYZ{1.0f, -1e-30f, 0.0f});
  EXPECT_LT(angle, 2 * kPi);
  EXPECT_GT(angle, 6.28);
}

TEST(AngleOf, RandomDirectionsStayInRange) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> coord(-1.0, 1.0);
  for (int i = 0; i < 10000; ++i) {
    const double angle = AngleOf(MakeXYZ(coord(rng), coord(rng) * 1e-6, 0));
    ASSERT_GE(angle, 0.0);
    ASSERT_LT(angle, 2 * kPi);
  }
}

TEST(AngleRelative, MeasuresCounterClockwiseFromTheReferenceDirection) {
  EXPECT_NEAR(AngleRelative(MakeXYZ(0, 2, 0), MakeXYZ(-3, 0, 0)), kPi / 2, 1e-7);
  EXPECT_NEAR(AngleRelative(MakeXYZ(0, 2, 0), MakeXYZ(3, 0, 0)), 3 * kPi / 2, 1e-7);
  // From a->b = +x to c->d = +y: a quarter turn left.
  EXPECT_NEAR(AngleBetween(MakeXYZ(5, 5, 0), MakeXYZ(6, 5, 0), MakeXYZ(1, 1, 0), MakeXYZ(1, 4, 0)), kPi / 2,
              1e-7);
}

TEST(VectorArithmetic, SubtractionPointsFromFirstToSecond) {
  const TXYZ v = SubXYZ(MakeXYZ(1, 2, 3), MakeXYZ(4, 6, 3));
  EXPECT_EQ(v.x, 3.0f);
  EXPECT_EQ(v.y, 4.0f);
  EXPECT_EQ(v.z, 0.0f);
  EXPECT_EQ(LengthXYZ(v), 5.0);
  EXPECT_EQ(DistanceXYZ(MakeXYZ(1, 2, 3), MakeXYZ(4, 6, 3)), 5.0);
  EXPECT_EQ(Slope(MakeXYZ(1, 2, 0), MakeXYZ(3, 8, 0)), 3.0);
}

TEST(VectorArithmetic, SumAccumulatesBeforeRounding) {
  // Summed as floats, each +1 would vanish against 2^24.
  const std::vector<TXYZ> list = {MakeXYZ(16777216, 0, 0), MakeXYZ(1, 0, 0), MakeXYZ(1, 0, 0)};
  EXPECT_EQ(SumXYZ(list).x, 16777218.0f);
  EXPECT_EQ(SumXYZ(std::span(list).first(2)).x, 16777216.0f);
}

TEST(VectorArithmetic, LerpAndMidpointCarryZ) {
  const TXYZ a = MakeXYZ(0, 0, 2);
  const TXYZ b = MakeXYZ(4, -8, 6);
  const TXYZ q = LerpXYZ(a, b, 0.25);
  EXPECT_EQ(q.x, 1.0f);
  EXPECT_EQ(q.y, -2.0f);
  EXPECT_EQ(q.z, 3.0f);
  EXPECT_EQ(Midpoint(a, b).z, 4.0f);
  const TXYZ l = SetLengthXYZ(MakeXYZ(3, 4, 0), 10);
  EXPECT_FLOAT_EQ(l.x, 6.0f);
  EXPECT_FLOAT_EQ(l.y, 8.0f);
}

TEST(VectorArithmetic, PerpendicularsTurnTheRightWayAndKeepZ) {
  const TXYZ v = MakeXYZ(1, 2, 7);
  const TXYZ left = PerpLeft(v);
  const TXYZ right = PerpRight(v);
  EXPECT_EQ(left.x, -2.0f);
  EXPECT_EQ(left.y, 1.0f);
  EXPECT_EQ(right.x, 2.0f);
  EXPECT_EQ(right.y, -1.0f);
  EXPECT_EQ(left.z, 7.0f);
  EXPECT_EQ(Negate2D(v).z, 7.0f);
}

TEST(VectorArithmetic, EqualityOfZeroSigns) {
  const TXYZ plus = MakeXYZ(0, 1, 0);
  const TXYZ minus = TXYZ{-0.0f, 1.0f, 0.0f};
  EXPECT_TRUE(XYZEqual(plus, minus));
  EXPECT_FALSE(XYZSame2D(plus, minus));
  EXPECT_TRUE(XYZSame2D(plus, MakeXYZ(0, 1, 5)));
}

TEST(Rotation, DirectionNeedNotBeUnitAndMatchesTheAngleForm) {
  const TXYZ v = MakeXYZ(3, 1, 9);
  const TXYZ byAngle = RotateAngle(v, kPi / 6);
  const TXYZ byDir = RotateDir(v, 10 * std::cos(kPi / 6), 10 * std::sin(kPi / 6));
  EXPECT_FLOAT_EQ(byAngle.x, byDir.x);
  EXPECT_FLOAT_EQ(byAngle.y, byDir.y);
  EXPECT_EQ(byDir.z, 9.0f);
  const TXYZ quarter = RotateAngle(MakeXYZ(1, 0, 0), kPi / 2);
  EXPECT_NEAR(quarter.x, 0.0f, 1e-7);
  EXPECT_FLOAT_EQ(quarter.y, 1.0f);
}

TEST(Rotation, MirrorReflectsAcrossTheLineThroughTheOrigin) {
  const TXYZ a = MirrorAcross(MakeXYZ(1, 0, 4), MakeXYZ(2, 2, 0));
  EXPECT_NEAR(a.x, 0.0f, 1e-7);
  EXPECT_FLOAT_EQ(a.y, 1.0f);
  EXPECT_EQ(a.z, 4.0f);
  const TXYZ b = MirrorAcross(MakeXYZ(3, 5, 0), MakeXYZ(-7, 0, 0));
  EXPECT_FLOAT_EQ(b.x, 3.0f);
  EXPECT_FLOAT_EQ(b.y, -5.0f);
}

}  // namespace
}  // namespace vellmar
