#include "render/JoinedBand.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vellmar {

namespace {

struct TFlat {
  double x, y;
};

TFlat Plus(const TFlat& a, const TFlat& b, double k) {
  return {a.x + b.x * k, a.y + b.y * k};
}

TXYZ At(const TFlat& p, float z) {
  return {static_cast<float>(p.x), static_cast<float>(p.y), z};
}

// Where a segment of the band starts or ends: its left and right corners.
struct TEnds {
  TFlat Left, Right;
};

}  // namespace

TXYZArray JoinedBandTriangles(const TXYZArray& points, size_t first, size_t last, double halfWidth,
                              double mitreLimit) {
  TXYZArray triangles;
  if (points.empty() || last <= first) return triangles;
  last = std::min(last, points.size() - 1);
  // The distinct points, each with the z it carries.
  std::vector<TFlat> at;
  std::vector<float> z;
  for (size_t i = first; i <= last; ++i) {
    const TFlat p{points[i].x, points[i].y};
    if (!at.empty() && p.x == at.back().x && p.y == at.back().y) continue;
    at.push_back(p);
    z.push_back(points[i].z);
  }
  if (at.size() < 2) return triangles;
  // Unit left normals of the segments.
  std::vector<TFlat> normals;
  for (size_t k = 0; k + 1 < at.size(); ++k) {
    const double dx = at[k + 1].x - at[k].x, dy = at[k + 1].y - at[k].y;
    const double length = std::hypot(dx, dy);
    normals.push_back({-dy / length, dx / length});
  }
  const auto add = [&](const TFlat& a, const TFlat& b, const TFlat& c, float height) {
    triangles.push_back(At(a, height));
    triangles.push_back(At(b, height));
    triangles.push_back(At(c, height));
  };
  // The corners each segment starts from; the first is square.
  TEnds start{Plus(at[0], normals[0], halfWidth), Plus(at[0], normals[0], -halfWidth)};
  for (size_t k = 0; k < normals.size(); ++k) {
    const TFlat& p = at[k + 1];
    const TFlat& n = normals[k];
    TEnds end{Plus(p, n, halfWidth), Plus(p, n, -halfWidth)};
    TEnds next{};
    if (k + 1 < normals.size()) {
      const TFlat& m = normals[k + 1];
      // (n + m) / (1 + n.m) reaches the mitre's tip at one half width; a reversal has none.
      const double along = 1.0 + n.x * m.x + n.y * m.y;
      const TFlat mitre = along > 1e-12 ? TFlat{(n.x + m.x) / along, (n.y + m.y) / along} : TFlat{0, 0};
      if (along > 1e-12 && std::hypot(mitre.x, mitre.y) <= mitreLimit) {
        end = {Plus(p, mitre, halfWidth), Plus(p, mitre, -halfWidth)};
        next = end;
      } else {
        next = {Plus(p, m, halfWidth), Plus(p, m, -halfWidth)};
        // The bevels: whichever side is the outer one closes there, the inner one lies
        // inside both segments' bands.
        add(p, end.Left, next.Left, z[k + 1]);
        add(p, end.Right, next.Right, z[k + 1]);
      }
    }
    add(start.Left, start.Right, end.Left, z[k]);
    add(end.Left, end.Right, start.Right, z[k + 1]);
    start = next;
  }
  return triangles;
}

}  // namespace vellmar
