#include "geometry/PolylineMeasure.h"

#include <algorithm>
#include <cmath>

namespace vellmar {

double PolylineLength(std::span<const TXYZ> points, bool closed) {
  if (points.size() < 2) return 0.0;
  double length = 0.0;
  for (size_t i = 1; i < points.size(); ++i) {
    length += std::hypot(double{points[i].x} - points[i - 1].x, double{points[i].y} - points[i - 1].y);
  }
  if (closed) length += std::hypot(double{points.front().x} - points.back().x, double{points.front().y} - points.back().y);
  return length;
}

double RingArea(std::span<const TXYZ> points) {
  if (points.size() < 3) return 0.0;
  // Relative to the first point, so that coordinates far from the origin keep their digits.
  const double x0 = points[0].x, y0 = points[0].y;
  double twice = 0.0;
  for (size_t i = 1; i + 1 < points.size(); ++i) {
    twice += (points[i].x - x0) * (points[i + 1].y - y0) - (points[i + 1].x - x0) * (points[i].y - y0);
  }
  return std::abs(twice) / 2.0;
}

namespace {

// The nearest point of the segment a-b to p, unrounded.
struct TNearest {
  double X, Y;
};

TNearest Nearest(const TXYZ& p, const TXYZ& a, const TXYZ& b) {
  const double dx = double{b.x} - a.x, dy = double{b.y} - a.y;
  const double squared = dx * dx + dy * dy;
  const double t =
      squared > 0.0 ? std::clamp(((double{p.x} - a.x) * dx + (double{p.y} - a.y) * dy) / squared, 0.0, 1.0) : 0.0;
  return {a.x + t * dx, a.y + t * dy};
}

}  // namespace

TXYZ NearestOnSegment(const TXYZ& p, const TXYZ& a, const TXYZ& b) {
  const TNearest n = Nearest(p, a, b);
  return {static_cast<float>(n.X), static_cast<float>(n.Y), a.z};
}

double PlanarDistance(const TXYZ& a, const TXYZ& b) { return std::hypot(double{a.x} - b.x, double{a.y} - b.y); }

double SegmentDistance(const TXYZ& p, const TXYZ& a, const TXYZ& b) {
  const TNearest n = Nearest(p, a, b);
  return std::hypot(p.x - n.X, p.y - n.Y);
}

}  // namespace vellmar
