#include "support/PolygonSamples.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <numbers>
#include <random>
#include <stdexcept>

namespace vellmar::test {

namespace {

TXYZ Point(double x, double y) {
  return TXYZ{static_cast<float>(x), static_cast<float>(y), 0.0f};
}

double ParseNumber(const std::string& text, size_t& at) {
  while (at < text.size() && (text[at] == ' ' || text[at] == '\t' || text[at] == '\r')) ++at;
  double value = 0.0;
  const auto [end, ec] = std::from_chars(text.data() + at, text.data() + text.size(), value);
  if (ec != std::errc()) throw std::runtime_error("ReadPolygonFixture: bad number in \"" + text + "\"");
  at = static_cast<size_t>(end - text.data());
  return value;
}

}  // namespace

TXYZArrays ReadPolygonFixture(const std::filesystem::path& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("ReadPolygonFixture: can not open " + path.string());
  TXYZArrays contours;
  TXYZArray ring;
  std::string line;
  while (std::getline(in, line)) {
    if (line.find_first_not_of(" \t\r") == std::string::npos) {
      if (!ring.empty()) contours.push_back(std::move(ring));
      ring.clear();
      continue;
    }
    size_t at = 0;
    const double x = ParseNumber(line, at);
    const double y = ParseNumber(line, at);
    ring.push_back(Point(x, y));
  }
  if (!ring.empty()) contours.push_back(std::move(ring));
  return contours;
}

std::vector<TPolygonSample> ReadPolygonFixtures(const std::filesystem::path& folder) {
  std::vector<TPolygonSample> samples;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() != ".txt") continue;
    samples.push_back({entry.path().stem().string(), ReadPolygonFixture(entry.path())});
  }
  std::sort(samples.begin(), samples.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
  return samples;
}

size_t VertexCount(const TXYZArrays& contours) {
  size_t n = 0;
  for (const TXYZArray& contour : contours) n += contour.size();
  return n;
}

TXYZArray RegularPolygon(size_t n, double radius, double centreX, double centreY, double phase) {
  TXYZArray points;
  points.reserve(n);
  for (size_t i = 0; i < n; ++i) {
    const double angle = phase + 2.0 * std::numbers::pi * static_cast<double>(i) / static_cast<double>(n);
    points.push_back(Point(centreX + radius * std::cos(angle), centreY + radius * std::sin(angle)));
  }
  return points;
}

TXYZArray Star(size_t points, double outer, double inner) {
  TXYZArray star;
  for (size_t i = 0; i < 2 * points; ++i) {
    const double angle = 0.05 + std::numbers::pi * static_cast<double>(i) / static_cast<double>(points);
    const double r = i % 2 == 0 ? outer : inner;
    star.push_back(Point(r * std::cos(angle), r * std::sin(angle)));
  }
  return star;
}

TXYZArray Comb(size_t teeth) {
  // Teeth 1 wide with gaps 1 wide along Y; the bar spans x in [-1, 1], teeth reach
  // to x = +-10 (right) and +-9.5 (left) so that tips do not tie with the bar.
  TXYZArray comb;
  const double top = 2.0 * static_cast<double>(teeth);
  for (size_t i = 0; i < teeth; ++i) {  // right side, bottom to top
    const double y = 2.0 * static_cast<double>(i);
    comb.push_back(Point(1.0, y));
    comb.push_back(Point(10.0, y + 0.1));
    comb.push_back(Point(10.0, y + 0.9));
    comb.push_back(Point(1.0, y + 1.0));
  }
  comb.push_back(Point(1.0, top));
  for (size_t i = teeth; i-- > 0;) {  // left side, top to bottom
    const double y = 2.0 * static_cast<double>(i) + 1.0;
    comb.push_back(Point(-1.0, y + 1.0));
    comb.push_back(Point(-9.5, y + 0.9));
    comb.push_back(Point(-9.5, y + 0.1));
    comb.push_back(Point(-1.0, y));
  }
  comb.push_back(Point(-1.0, 0.0));
  return comb;
}

TXYZArrays ConcentricRings(size_t rings, size_t points) {
  TXYZArrays contours;
  for (size_t i = 0; i < rings; ++i)
    contours.push_back(
        RegularPolygon(points, 1.0 + static_cast<double>(i), 0.0, 0.0, 0.1 + 0.01 * static_cast<double>(i)));
  return contours;
}

TXYZArrays OutlineWithHoles(size_t outline, size_t holes) {
  TXYZArrays contours;
  const double radius = 1000.0;
  contours.push_back(RegularPolygon(outline, radius));
  // A square grid inside the inscribed square of the circle.
  const size_t side = static_cast<size_t>(std::ceil(std::sqrt(static_cast<double>(holes))));
  const double span = radius * 1.3;
  const double cell = span / static_cast<double>(side);
  for (size_t i = 0; i < holes; ++i) {
    const double x = -span / 2 + cell * (static_cast<double>(i % side) + 0.5);
    const double y = -span / 2 + cell * (static_cast<double>(i / side) + 0.5);
    contours.push_back(RegularPolygon(6, cell * 0.3, x, y, 0.1 + 0.001 * static_cast<double>(i)));
  }
  return contours;
}

TXYZArray RandomOutline(size_t n, uint32_t seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  TXYZArray points;
  for (size_t i = 0; i < n; ++i) points.push_back(Point(unit(random), unit(random)));
  return points;
}

TXYZArray RandomGridOutline(size_t n, uint32_t grid, uint32_t seed) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<uint32_t> lattice(0, grid - 1);
  TXYZArray points;
  for (size_t i = 0; i < n; ++i) points.push_back(Point(lattice(random), lattice(random)));
  return points;
}

TXYZArray RandomGridWalk(size_t steps, uint32_t seed) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int32_t> direction(0, 3);
  TXYZArray walk;
  int32_t x = 0;
  int32_t y = 0;
  for (size_t i = 0; i < steps; ++i) {
    walk.push_back(Point(x, y));
    const int32_t d = direction(random);
    x += d == 0 ? 1 : (d == 1 ? -1 : 0);
    y += d == 2 ? 1 : (d == 3 ? -1 : 0);
  }
  while (x != 0) {
    walk.push_back(Point(x, y));
    x += x < 0 ? 1 : -1;
  }
  while (y != 0) {
    walk.push_back(Point(x, y));
    y += y < 0 ? 1 : -1;
  }
  return walk;
}

TXYZArray SawOnOneX(size_t teeth) {
  TXYZArray saw;
  saw.push_back(Point(5.0, 0.0));
  saw.push_back(Point(5.0, 2.0 * static_cast<double>(teeth)));
  for (size_t i = teeth; i-- > 0;) {
    saw.push_back(Point(0.0, 2.0 * static_cast<double>(i) + 2.0));
    saw.push_back(Point(1.5, 2.0 * static_cast<double>(i) + 1.0));
  }
  saw.push_back(Point(0.0, 0.0));
  return saw;
}

TXYZArray SawOnOneY(size_t teeth) {
  TXYZArray saw = SawOnOneX(teeth);
  for (TXYZ& p : saw) std::swap(p.x, p.y);
  return saw;
}

}  // namespace vellmar::test
