#include "geometry/Planar.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "geometry/Vector.h"

namespace vellmar {

double SignedArea(const TXYZ& a, const TXYZ& b, const TXYZ& c) {
  return ((double{b.x} - a.x) * (double{c.y} - a.y) - (double{c.x} - a.x) * (double{b.y} - a.y)) * 0.5;
}

int32_t AreaSign(const TXYZ& a, const TXYZ& b, const TXYZ& c) {
  const double area = SignedArea(a, b, c);
  return area > 0.0 ? 1 : (area < 0.0 ? -1 : 0);
}

bool IsCollinear(const TXYZ& a, const TXYZ& b, const TXYZ& c) {
  return SignedArea(a, b, c) == 0.0;
}

double AbsArea(const TXYZ& a, const TXYZ& b, const TXYZ& c) {
  return std::fabs(SignedArea(a, b, c));
}

double TriangleListArea(std::span<const TXYZ> list) {
  double sum = 0.0;
  for (size_t i = 0; i + 2 < list.size(); i += 3) sum += AbsArea(list[i], list[i + 1], list[i + 2]);
  return sum;
}

bool PointInTriangle(const TXYZ& p, const TXYZ& a, const TXYZ& b, const TXYZ& c) {
  const int32_t turns = AreaSign(p, a, b) + AreaSign(p, b, c) + AreaSign(p, c, a);
  return turns == 3 || turns == -3 || XYZEqual(p, a) || XYZEqual(p, b) || XYZEqual(p, c);
}

TLineRelation PointLineRelation(const TXYZ& p, const TXYZ& a, const TXYZ& b) {
  const double dx = double{b.x} - a.x;
  const double dy = double{b.y} - a.y;
  const double qx = double{p.x} - a.x;
  const double qy = double{p.y} - a.y;
  const double squared = dx * dx + dy * dy;
  return TLineRelation{(-dy * qx + dx * qy) / std::sqrt(squared), (dx * qx + dy * qy) / squared};
}

std::optional<TLineCrossing> SegmentIntersect(const TXYZ& a, const TXYZ& b, const TXYZ& c, const TXYZ& d) {
  const double abx = double{b.x} - a.x;
  const double aby = double{b.y} - a.y;
  const double cdx = double{d.x} - c.x;
  const double cdy = double{d.y} - c.y;
  const double acx = double{c.x} - a.x;
  const double acy = double{c.y} - a.y;
  const double e = abx * cdy - aby * cdx;
  if (e == 0.0) return std::nullopt;
  return TLineCrossing{(cdy * acx - cdx * acy) / e, (aby * acx - abx * acy) / e};
}

std::optional<TCrossingPoint> SegmentIntersectPoint(const TXYZ& a, const TXYZ& b, const TXYZ& c,
                                                    const TXYZ& d) {
  const std::optional<TLineCrossing> crossing = SegmentIntersect(a, b, c, d);
  if (!crossing) return std::nullopt;
  return TCrossingPoint{LerpXYZ(a, b, crossing->t), crossing->u};
}

TXYZ MiterOffset(const TXYZ& prev, const TXYZ& v, const TXYZ& next) {
  double u1x = double{prev.x} - v.x;
  double u1y = double{prev.y} - v.y;
  const double l1 = std::sqrt(u1x * u1x + u1y * u1y);
  u1x /= l1;
  u1y /= l1;
  double u2x = double{next.x} - v.x;
  double u2y = double{next.y} - v.y;
  const double l2 = std::sqrt(u2x * u2x + u2y * u2y);
  u2x /= l2;
  u2y /= l2;
  // h moves the first segment's normal along that segment until it also sits at
  // distance 1 from the second; dividing by the larger difference keeps it stable.
  const double hx = u1x - u2x;
  const double hy = u1y - u2y;
  const double h = std::fabs(hx) > std::fabs(hy) ? (u2y + u1y) / hx : (-u2x - u1x) / hy;
  return MakeXYZ(u1y - u1x * h, -u1x - u1y * h, v.z);
}

int32_t NearestSegment(std::span<const TXYZ> poly, const TXYZ& p) {
  const int32_t last = static_cast<int32_t>(poly.size()) - 1;
  int32_t best = -1;
  double bestDist = 3.4e38;
  for (int32_t i = 0; i < last; ++i) {
    const TLineRelation r = PointLineRelation(p, poly[i], poly[i + 1]);
    if (r.t >= 0.0 && r.t <= 1.0 && std::fabs(r.distance) < bestDist) {
      best = i;
      bestDist = std::fabs(r.distance);
    }
  }
  // Vertices catch the points beyond the ends of segments, outside every perpendicular band.
  for (int32_t i = 0; i <= last; ++i) {
    const double dist = std::hypot(double{p.x} - poly[i].x, double{p.y} - poly[i].y);
    if (dist < bestDist) {
      best = i;
      bestDist = dist;
    }
  }
  if (best == last && best > 0) --best;
  return best;
}

namespace {

struct TBox {
  double minX, minY, maxX, maxY;
};

TBox BoxOf(const TXYZ& a, const TXYZ& b, const TXYZ& c) {
  return TBox{
      std::min({double{a.x}, double{b.x}, double{c.x}}), std::min({double{a.y}, double{b.y}, double{c.y}}),
      std::max({double{a.x}, double{b.x}, double{c.x}}), std::max({double{a.y}, double{b.y}, double{c.y}})};
}

void AddDistinct(std::vector<TXYZ>& points, const TXYZ& p) {
  constexpr double kSame = 1e-5;
  for (const TXYZ& q : points) {
    if (std::fabs(double{q.x} - p.x) < kSame && std::fabs(double{q.y} - p.y) < kSame) return;
  }
  points.push_back(p);
}

}  // namespace

double TriangleOverlapArea(const TXYZ& a, const TXYZ& b, const TXYZ& c, const TXYZ& d, const TXYZ& e,
                           const TXYZ& f) {
  if (AbsArea(a, b, c) < 1e-5 || AbsArea(d, e, f) < 1e-5) return 0.0;
  const TBox box1 = BoxOf(a, b, c);
  const TBox box2 = BoxOf(d, e, f);
  if (box1.maxX < box2.minX || box2.maxX < box1.minX || box1.maxY < box2.minY || box2.maxY < box1.minY) {
    return 0.0;
  }

  // The overlap is a convex polygon whose corners are the vertices of either triangle
  // inside the other plus the crossings of their edges.
  const TXYZ first[3] = {a, b, c};
  const TXYZ second[3] = {d, e, f};
  std::vector<TXYZ> points;
  for (const TXYZ& p : first) {
    if (PointInTriangle(p, d, e, f)) AddDistinct(points, p);
  }
  for (const TXYZ& p : second) {
    if (PointInTriangle(p, a, b, c)) AddDistinct(points, p);
  }
  constexpr double kLow = -1e-6;
  constexpr double kHigh = 1.000001;
  for (int i = 0; i < 3; ++i) {
    const TXYZ& p0 = first[i];
    const TXYZ& p1 = first[(i + 1) % 3];
    for (int j = 0; j < 3; ++j) {
      const std::optional<TLineCrossing> x = SegmentIntersect(p0, p1, second[j], second[(j + 1) % 3]);
      if (x && x->t >= kLow && x->t <= kHigh && x->u >= kLow && x->u <= kHigh) {
        AddDistinct(points, LerpXYZ(p0, p1, x->t));
      }
    }
  }
  if (points.size() < 3) return 0.0;

  // Fan from the lowest corner F; the next lowest H is its neighbour on the convex
  // outline, so every other corner lies on one side of F->H.
  const auto lowest = [](const std::vector<TXYZ>& list) {
    return std::min_element(list.begin(), list.end(), [](const TXYZ& p, const TXYZ& q) { return p.y < q.y; });
  };
  auto it = lowest(points);
  const TXYZ fp = *it;
  points.erase(it);
  it = lowest(points);
  const TXYZ hp = *it;
  points.erase(it);

  const double hx = double{hp.x} - fp.x;
  const double hy = double{hp.y} - fp.y;
  struct TKeyed {
    double cot;
    TXYZ p;
  };
  std::vector<TKeyed> fan;
  fan.reserve(points.size());
  for (const TXYZ& p : points) {
    const double dx = double{p.x} - fp.x;
    const double dy = double{p.y} - fp.y;
    fan.push_back(TKeyed{(dx * hx + dy * hy) / std::fabs(dy * hx - dx * hy), p});
  }
  // Stable: damaged input with NaN keys must not make the sort run off the ends.
  std::stable_sort(fan.begin(), fan.end(), [](const TKeyed& l, const TKeyed& r) { return l.cot < r.cot; });

  double area = 0.0;
  for (size_t i = 0; i + 1 < fan.size(); ++i) area += AbsArea(fp, fan[i].p, fan[i + 1].p);
  area += AbsArea(fp, fan.back().p, hp);
  return area;
}

}  // namespace vellmar
