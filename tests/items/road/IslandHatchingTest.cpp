// The island hatching's geometry: pitch and stripe counts by the island's shape, the
// user's stripes of 1.16.5*, and degenerate islands that fall back to the fill.

#include <gtest/gtest.h>

#include <cmath>

#include "items/road/IslandHatching.h"
#include "items/road/KMSignItem.h"

namespace vellmar {
namespace {

// A wedge with its apex at the origin, opening along +x to a wide end of the given
// width at x = length; the axis ends in the middle of the wide end.
TIslandOutline Wedge(float length, float width) {
  TIslandOutline island;
  island.Controls = {{length, -width / 2, 0}, {0, 0, 0}, {length, width / 2, 0}, {length, 0, 0}};
  island.Polyline = island.Controls;
  island.Polyline.push_back(island.Controls[0]);
  island.VertexIndex = {0, 1, 2, 3, 4};
  return island;
}

// The stripes' centres along the axis: each quad's two axis corners are its first and
// third points.
std::vector<double> StripeCentres(const TXYZArray& quads) {
  std::vector<double> centres;
  for (size_t q = 0; q + 3 < quads.size(); q += 4) centres.push_back((quads[q].x + quads[q + 2].x) / 2.0);
  return centres;
}

TEST(IslandHatching, ApexStripesArePitchedByTheAxisLengthFourAtMostPerSide) {
  struct TCase {
    float Length;
    double Pitch;
  };
  // A / 4 clamped to [2, 4]; the wide ends keep the opening (and so the slope) alike.
  const TCase cases[] = {{6, 2}, {8, 2}, {12, 3}, {16, 4}, {40, 4}};
  for (const TCase& c : cases) {
    const TXYZArray quads = ApexHatch(Wedge(c.Length, c.Length), 1, 0);
    const std::vector<double> centres = StripeCentres(quads);
    ASSERT_FALSE(centres.empty()) << "length " << c.Length;
    ASSERT_LE(centres.size(), 8u) << "length " << c.Length;
    ASSERT_EQ(centres.size() % 2, 0u) << "both sides keep as many stripes";
    for (size_t i = 0; i < centres.size(); ++i)
      EXPECT_NEAR(centres[i], c.Pitch * (i / 2 + 1), 1e-3) << "length " << c.Length << " stripe " << i;
  }
}

TEST(IslandHatching, ApexStripesAreFourTenthsWideSquareToTheirEdges) {
  for (const int32_t type : {0, 1, 2}) {
    const TXYZArray quads = ApexHatch(Wedge(16, 10), 1, type);
    ASSERT_FALSE(quads.empty()) << "type " << type;
    for (size_t q = 0; q + 3 < quads.size(); q += 4) {
      // Distance from the second edge's axis end to the first edge's line.
      const TXYZ a = quads[q], b = quads[q + 1], c = quads[q + 2];
      const double dx = b.x - a.x, dy = b.y - a.y;
      const double width = std::fabs((c.x - a.x) * dy - (c.y - a.y) * dx) / std::hypot(dx, dy);
      EXPECT_NEAR(width, 0.4, 1e-3) << "type " << type;
    }
  }
}

TEST(IslandHatching, DegenerateIslandsGiveNoHatching) {
  TIslandOutline apexOnTip = Wedge(10, 4);
  apexOnTip.Controls[3] = apexOnTip.Controls[1];
  EXPECT_TRUE(ApexHatch(apexOnTip, 1, 0).empty());
  EXPECT_TRUE(EarlierApexHatch(apexOnTip, 1, 0).empty());
  EXPECT_TRUE(ApexHatch(Wedge(10, 4), 3, 0).empty()) << "the apex must leave both sides a point";
  EXPECT_TRUE(ApexHatch(Wedge(10, 4), 1, 5).empty()) << "no such type";
  TIslandOutline parallel = Wedge(10, 4);
  parallel.Controls[2] = {20, -4, 0};  // edge 1-2 along edge 1-0: no angle between them
  EXPECT_TRUE(ParallelHatch(parallel).empty());
  // Regression: an outline of absurd length (damaged coordinates) froze the build.
  TIslandOutline huge = Wedge(10, 4);
  huge.Controls[2] = huge.Polyline[2] = {3e37f, 1e37f, 0};
  EXPECT_TRUE(ParallelHatch(huge).empty());
}

TEST(IslandHatching, PlacedStripesComeInPairsOfPoints) {
  struct TCase {
    size_t Points;
    size_t Stripes;
  };
  for (const TCase c : {TCase{3, 1}, TCase{4, 1}, TCase{5, 2}, TCase{7, 3}}) {
    TIslandOutline island;
    for (size_t i = 0; i < c.Points; ++i)
      island.Controls.push_back({static_cast<float>(i % 2 == 0 ? 0 : 10), static_cast<float>(i), 0});
    const TXYZArray quads = PlacedHatch(island);
    EXPECT_EQ(quads.size(), 4 * c.Stripes) << c.Points << " points";
  }
}

// The thinning of kilometre signs as the view zooms out: a sign shows while its first
// number is a multiple of the modulus for the pixel size.
TEST(KilometreSign, ThinningModulusFollowsThePixelSize) {
  struct TCase {
    double Pixel;
    int32_t Modulus;
  };
  const TCase cases[] = {{0.01, 1}, {10, 1}, {10.01, 2}, {20, 2}, {20.5, 5}, {100, 10},
                         {150, 20}, {400, 50}, {500, 50}, {500.5, 100}, {1e6, 100}};
  for (const TCase& c : cases) EXPECT_EQ(TKMSignItem::ThinningModulus(c.Pixel), c.Modulus) << c.Pixel;
}

}  // namespace
}  // namespace vellmar
