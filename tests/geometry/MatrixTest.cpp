#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "geometry/Matrix.h"
#include "geometry/Vector.h"

namespace vellmar {
namespace {

TMatrix44 Translation(float x, float y, float z) {
  TMatrix44 m = MatrixIdentity();
  m[12] = x;
  m[13] = y;
  m[14] = z;
  return m;
}

TEST(MatrixMultiply, PointsGoThroughTheLeftFactorFirst) {
  TMatrix44 scale = MatrixIdentity();
  scale[0] = 2.0f;
  scale[5] = 3.0f;
  const TXYZ p = MatrixTransformPoint(MatrixMultiply(Translation(1, 1, 0), scale), MakeXYZ(1, 1, 0));
  EXPECT_EQ(p.x, 4.0f);
  EXPECT_EQ(p.y, 6.0f);
  const TXYZ q = MatrixTransformPoint(MatrixMultiply(scale, Translation(1, 1, 0)), MakeXYZ(1, 1, 0));
  EXPECT_EQ(q.x, 3.0f);
  EXPECT_EQ(q.y, 4.0f);
}

TEST(MatrixTransformPoint, DividesByW) {
  TMatrix44 m = Translation(2, 4, 6);
  m[15] = 2.0f;
  const TXYZ p = MatrixTransformPoint(m, MakeXYZ(0, 0, 0));
  EXPECT_EQ(p.x, 1.0f);
  EXPECT_EQ(p.y, 2.0f);
  EXPECT_EQ(p.z, 3.0f);
}

TEST(MatrixInvert, TranslationInvertsExactly) {
  const TMatrix44 inverse = MatrixInvert(Translation(0.1f, -1234.567f, 3e7f));
  const TMatrix44 expected = Translation(-0.1f, 1234.567f, -3e7f);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(inverse[i], expected[i]) << "element " << i;
}

TEST(MatrixInvert, RandomInvertibleMatricesRoundTrip) {
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> coord(-1.0, 1.0);
  for (int n = 0; n < 500; ++n) {
    TMatrix44 m;
    for (int i = 0; i < 3; ++i) {
      for (int j = 0; j < 3; ++j) m.at(i, j) = static_cast<float>(coord(rng));
      m.at(i, i) += 3.0f;  // keep it well conditioned
    }
    m[12] = static_cast<float>(1000 * coord(rng));
    m[13] = static_cast<float>(1000 * coord(rng));
    m[14] = static_cast<float>(1000 * coord(rng));
    m[15] = 1.0f;
    const TMatrix44 product = MatrixMultiply(m, MatrixInvert(m));
    for (int i = 0; i < 4; ++i) {
      // Row 3 carries translations of about 1000, whose float rounding is about 1e-4.
      const double tolerance = i == 3 ? 1e-3 : 1e-5;
      for (int j = 0; j < 4; ++j) ASSERT_NEAR(product.at(i, j), i == j ? 1.0 : 0.0, tolerance) << n;
    }
    const TXYZ p = MakeXYZ(1000 * coord(rng), 1000 * coord(rng), 1000 * coord(rng));
    const TXYZ back = MatrixTransformPoint(MatrixInvert(m), MatrixTransformPoint(m, p));
    ASSERT_NEAR(back.x, p.x, 1e-2);
    ASSERT_NEAR(back.y, p.y, 1e-2);
    ASSERT_NEAR(back.z, p.z, 1e-2);
  }
}

TEST(MatrixInvert, ProjectiveMatrixRoundTripsPoints) {
  TMatrix44 m = Translation(3, -2, 1);
  m[3] = 0.25f;  // w grows with x
  m[11] = -0.125f;
  m[0] = 2.0f;
  m[6] = 0.5f;
  const TXYZ p = MakeXYZ(1.5, -4, 2);
  const TXYZ back = MatrixTransformPoint(MatrixInvert(m), MatrixTransformPoint(m, p));
  EXPECT_NEAR(back.x, p.x, 1e-5);
  EXPECT_NEAR(back.y, p.y, 1e-5);
  EXPECT_NEAR(back.z, p.z, 1e-5);
}

TEST(MatrixInvert, ZeroOnTheDiagonalNeedsARowSwap) {
  // Swaps x and y: without pivoting the first step divides by zero.
  TMatrix44 m;
  m[1] = 1.0f;
  m[4] = 1.0f;
  m[10] = 2.0f;
  m[15] = 1.0f;
  m[12] = 5.0f;
  const TXYZ p = MatrixTransformPoint(MatrixInvert(m), MatrixTransformPoint(m, MakeXYZ(1, 2, 3)));
  EXPECT_EQ(p.x, 1.0f);
  EXPECT_EQ(p.y, 2.0f);
  EXPECT_EQ(p.z, 3.0f);
}

TEST(MatrixInvert, SingularGivesNaNNotAPlausibleMatrix) {
  TMatrix44 flat = MatrixIdentity();
  flat[10] = 0.0f;  // squashes z
  const TMatrix44 inverse = MatrixInvert(flat);
  for (int i = 0; i < 16; ++i) EXPECT_TRUE(std::isnan(inverse[i])) << "element " << i;
}

TEST(PlaneThrough, NormalFromPToQAndPassesThroughP) {
  const TPlane plane = PlaneThrough(MakeXYZ(1, 2, 3), MakeXYZ(1, 2, 5));
  EXPECT_EQ(plane.a, 0.0f);
  EXPECT_EQ(plane.b, 0.0f);
  EXPECT_EQ(plane.c, 2.0f);
  EXPECT_EQ(plane.d, -6.0f);
}

}  // namespace
}  // namespace vellmar
