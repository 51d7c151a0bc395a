#pragma once
// Outlines for the tessellator's tests and benchmarks: the shared real-world fixtures
// and generated families (regular polygons, stars, combs, nested rings, holes, random
// self-crossing outlines, runs of points on one X or one Y).

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "geometry/XYZ.h"

namespace vellmar::test {

struct TPolygonSample {
  std::string name;
  TXYZArrays contours;
};

// One fixture file: "x y" per line, a blank line ends a ring.
TXYZArrays ReadPolygonFixture(const std::filesystem::path& path);
// Every *.txt of the folder, sorted by name.
std::vector<TPolygonSample> ReadPolygonFixtures(const std::filesystem::path& folder);

size_t VertexCount(const TXYZArrays& contours);

TXYZArray RegularPolygon(size_t n, double radius, double centreX = 0.0, double centreY = 0.0,
                         double phase = 0.1);
// Alternating outer and inner radius, `points` spikes.
TXYZArray Star(size_t points, double outer, double inner);
// A bar along Y with `teeth` teeth to the right and `teeth` to the left: every gap
// gives a split or a merge vertex, and the sweep keeps two chains per tooth active.
TXYZArray Comb(size_t teeth);
// `rings` concentric circles of `points` each; even-odd makes every other ring a hole.
TXYZArrays ConcentricRings(size_t rings, size_t points);
// A circle of `outline` points with a grid of `holes` small hexagons inside.
TXYZArrays OutlineWithHoles(size_t outline, size_t holes);
// `n` random points in the unit square joined in order: many crossings.
TXYZArray RandomOutline(size_t n, uint32_t seed);
// `n` random points of a `grid` x `grid` lattice joined in order: repeated points,
// vertices on other edges and overlapping edges.
TXYZArray RandomGridOutline(size_t n, uint32_t grid, uint32_t seed);
// A closed walk of `steps` unit steps along X or Y on the integer lattice, back to its
// start along X and then Y: spikes that double back, runs on one line and points
// passed several times.
TXYZArray RandomGridWalk(size_t steps, uint32_t seed);
// A saw whose `teeth` tips all lie on x = 0 (or, transposed, on y = 0).
TXYZArray SawOnOneX(size_t teeth);
TXYZArray SawOnOneY(size_t teeth);

}  // namespace vellmar::test
