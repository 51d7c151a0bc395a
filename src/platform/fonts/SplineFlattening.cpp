#include "platform/fonts/SplineFlattening.h"

#include <cmath>
#include <vector>

namespace vellmar {

namespace {

struct TPoint {
  double x;
  double y;
};

TPoint Of(const TXYZ& p) { return {p.x, p.y}; }
TPoint Mid(const TPoint& a, const TPoint& b) { return {(a.x + b.x) / 2, (a.y + b.y) / 2}; }
TXYZ ToXYZ(const TPoint& p) { return {static_cast<float>(p.x), static_cast<float>(p.y), 0.0f}; }

struct TQuadSegment {
  TPoint S;
  TPoint K;
  TPoint E;
  // S + 2(K - S)u + (S - 2K + E)u^2
  TPoint At(double u) const {
    return {S.x + 2 * (K.x - S.x) * u + (S.x - 2 * K.x + E.x) * u * u,
            S.y + 2 * (K.y - S.y) * u + (S.y - 2 * K.y + E.y) * u * u};
  }
};

std::vector<TQuadSegment> Segments(std::span<const TXYZ> c) {
  std::vector<TQuadSegment> segments;
  const size_t n = c.size();
  if (n == 2) {
    segments.push_back({Of(c[0]), Mid(Of(c[0]), Of(c[1])), Of(c[1])});
  } else if (n == 3) {
    segments.push_back({Of(c[0]), Of(c[1]), Of(c[2])});
  } else if (n >= 4) {
    const size_t m = n - 1;
    for (size_t i = 1; i <= m - 1; ++i) {
      const TPoint start = i == 1 ? Of(c[0]) : Mid(Of(c[i - 1]), Of(c[i]));
      const TPoint end = i == m - 1 ? Of(c[m]) : Mid(Of(c[i]), Of(c[i + 1]));
      segments.push_back({start, Of(c[i]), end});
    }
  }
  return segments;
}

}  // namespace

TXYZArray FlattenQuadraticSpline(std::span<const TXYZ> Controls, int PointsPerSegment) {
  const std::vector<TQuadSegment> segments = Segments(Controls);
  TXYZArray out;
  if (segments.empty() || PointsPerSegment < 2) return out;
  const size_t n = segments.size();
  const size_t count = static_cast<size_t>(PointsPerSegment) * n;
  out.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) / static_cast<double>(count - 1);
    const double along = t * static_cast<double>(n);
    size_t index = static_cast<size_t>(std::trunc(along));
    double u = along - static_cast<double>(index);
    if (index >= n) {
      index = n - 1;
      u = 1.0;
    }
    out.push_back(ToXYZ(segments[index].At(u)));
  }
  return out;
}

TXYZArray FlattenCubicSegment(const TXYZ& Start, const TXYZ& Control1, const TXYZ& Control2, const TXYZ& End,
                              int PointsPerSegment) {
  TXYZArray out;
  if (PointsPerSegment < 2) return out;
  out.reserve(static_cast<size_t>(PointsPerSegment));
  const TPoint p0 = Of(Start), p1 = Of(Control1), p2 = Of(Control2), p3 = Of(End);
  for (int i = 0; i < PointsPerSegment; ++i) {
    const double u = static_cast<double>(i) / (PointsPerSegment - 1);
    const double v = 1 - u;
    const double a = v * v * v, b = 3 * v * v * u, c = 3 * v * u * u, d = u * u * u;
    out.push_back(ToXYZ({a * p0.x + b * p1.x + c * p2.x + d * p3.x, a * p0.y + b * p1.y + c * p2.y + d * p3.y}));
  }
  return out;
}

}  // namespace vellmar
