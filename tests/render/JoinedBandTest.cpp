// The band along a polyline with joined corners: what it covers around its corners,
// and how far its joins reach.

#include "render/JoinedBand.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace vellmar {
namespace {

double Cross(const TXYZ& o, const TXYZ& a, double x, double y) {
  return (a.x - o.x) * (y - o.y) - (a.y - o.y) * (x - o.x);
}

bool Covered(const TXYZArray& triangles, double x, double y) {
  for (size_t k = 0; k + 2 < triangles.size(); k += 3) {
    const double a = Cross(triangles[k], triangles[k + 1], x, y);
    const double b = Cross(triangles[k + 1], triangles[k + 2], x, y);
    const double c = Cross(triangles[k + 2], triangles[k], x, y);
    if ((a >= 0 && b >= 0 && c >= 0) || (a <= 0 && b <= 0 && c <= 0)) return true;
  }
  return false;
}

TEST(JoinedBand, CornersAreClosedAndJoinsStayNearTheLine) {
  struct TCase {
    const char* What;
    TXYZArray Points;
    double X, Y;
    bool Covered;
    double Reach;  // no corner farther than this from the nearest point of the line's corners
  };
  const double h = 0.05;
  const TCase cases[] = {
      {"outside a right angle: mitred", {{0, 0, 0}, {10, 0, 0}, {10, 4, 0}}, 10.04, -0.04, true, h * std::sqrt(2.0)},
      {"a point repeated changes nothing", {{0, 0, 0}, {10, 0, 0}, {10, 0, 0}, {10, 4, 0}}, 10.04, -0.04, true,
       h * std::sqrt(2.0)},
      {"inside the band's straight run", {{0, 0, 0}, {10, 0, 0}}, 5, 0.049, true, h},
      {"beyond a square end", {{0, 0, 0}, {10, 0, 0}}, 10.01, 0, false, h},
      // 10 degrees: an unlimited mitre's tip would lie 0.57 out; the bevel stays at h.
      {"beyond a sharp apex: bevelled", {{16, -1.4f, 0}, {0, 0, 0}, {16, 1.4f, 0}}, -0.1, 0, false, h},
      {"a reversal: bevelled, no NaN", {{0, 0, 0}, {10, 0, 0}, {0, 0, 0}}, 10.02, 0, false, h},
  };
  for (const TCase& c : cases) {
    const TXYZArray band = JoinedBandTriangles(c.Points, 0, c.Points.size() - 1, h);
    ASSERT_FALSE(band.empty()) << c.What;
    EXPECT_EQ(Covered(band, c.X, c.Y), c.Covered) << c.What;
    for (const TXYZ& v : band) {
      ASSERT_TRUE(std::isfinite(v.x) && std::isfinite(v.y)) << c.What;
      double nearest = 1e9;
      for (const TXYZ& p : c.Points) nearest = std::min<double>(nearest, std::hypot(v.x - p.x, v.y - p.y));
      EXPECT_LE(nearest, c.Reach + 1e-5) << c.What << " at (" << v.x << ", " << v.y << ")";
    }
  }
  EXPECT_TRUE(JoinedBandTriangles({{1, 1, 0}, {1, 1, 0}}, 0, 1, h).empty());
}

}  // namespace
}  // namespace vellmar
