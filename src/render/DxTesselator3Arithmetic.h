#pragma once
// The sweep's working arithmetic, shared by the tessellator's parts: planar predicates
// on its double working coordinates (the geometry kernel works on single-precision
// points), crossings of lines, the Ids of its vertices and its one way to fail.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

#include "platform/Error.h"

namespace vellmar::tesselator {

// Ids of input points are contour << 32 | index, so neither a long contour nor many
// contours can make two vertices share an Id; crossings count down from -1.
constexpr int64_t ContourIdStep = int64_t{1} << 32;
constexpr int64_t CrossingSecondId = int64_t{1} << 40;

inline int32_t Sign(double value) {
  return value > 0.0 ? 1 : (value < 0.0 ? -1 : 0);
}

template <typename P>
double Cross(const P& a, const P& b, const P& c) {
  return (b.X - a.X) * (c.Y - a.Y) - (c.X - a.X) * (b.Y - a.Y);
}

// Height of the line p-q at x; exact at the endpoints.
template <typename P>
double HeightAt(const P& p, const P& q, double x) {
  if (x == p.X) return p.Y;
  if (x == q.X) return q.Y;
  return p.Y + (q.Y - p.Y) * (x - p.X) / (q.X - p.X);
}

template <typename P>
double SlopeOf(const P& p, const P& q) {
  return (q.Y - p.Y) / (q.X - p.X);
}

struct TCrossing {
  double t = 0.0;  // along a->b
  double u = 0.0;  // along c->d
};

// Crossing of the lines a->b and c->d; none when they are exactly parallel.
template <typename P>
std::optional<TCrossing> LineCrossing(const P& a, const P& b, const P& c, const P& d) {
  const double e = (b.X - a.X) * (d.Y - c.Y) - (b.Y - a.Y) * (d.X - c.X);
  if (e == 0.0) return std::nullopt;
  const double acx = c.X - a.X;
  const double acy = c.Y - a.Y;
  return TCrossing{((d.Y - c.Y) * acx - (d.X - c.X) * acy) / e, ((b.Y - a.Y) * acx - (b.X - a.X) * acy) / e};
}

// A vertex where it was before the tie-breaking shifts (still centred).
struct TUnshifted {
  double X = 0.0;
  double Y = 0.0;
};

inline TUnshifted Lerp(const TUnshifted& a, const TUnshifted& b, double t) {
  return TUnshifted{a.X + t * (b.X - a.X), a.Y + t * (b.Y - a.Y)};
}

inline double Length(double dx, double dy) {
  return std::sqrt(dx * dx + dy * dy);
}

inline double DistanceToSegment(const TUnshifted& p, const TUnshifted& a, const TUnshifted& b) {
  const double dx = b.X - a.X;
  const double dy = b.Y - a.Y;
  const double length2 = dx * dx + dy * dy;
  const double t =
      length2 > 0.0 ? std::clamp(((p.X - a.X) * dx + (p.Y - a.Y) * dy) / length2, 0.0, 1.0) : 0.0;
  return Length(p.X - (a.X + t * dx), p.Y - (a.Y + t * dy));
}

[[noreturn]] inline void Fail(const char* message) {
  throw EVellmarError(message);
}

}  // namespace vellmar::tesselator
