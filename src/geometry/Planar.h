#pragma once
// Plane geometry on the x and y of TXYZ points: areas, point-in-triangle, line
// intersection, polyline offsets and nearest segments. Computed in double; nothing
// raises, degenerate input gives infinities or NaNs unless a function says otherwise.

#include <cstdint>
#include <optional>
#include <span>

#include "geometry/XYZ.h"

namespace vellmar {

// Half the cross product of a->b and a->c: positive when a, b, c turn counter-clockwise.
double SignedArea(const TXYZ& a, const TXYZ& b, const TXYZ& c);
// -1, 0 or 1.
int32_t AreaSign(const TXYZ& a, const TXYZ& b, const TXYZ& c);
bool IsCollinear(const TXYZ& a, const TXYZ& b, const TXYZ& c);
double AbsArea(const TXYZ& a, const TXYZ& b, const TXYZ& c);
// Sum of the areas of the triangles list[0..2], list[3..5], ...; a trailing partial triangle is ignored.
double TriangleListArea(std::span<const TXYZ> list);
// Strictly inside, or exactly at a vertex; a point on an edge between the vertices is outside.
bool PointInTriangle(const TXYZ& p, const TXYZ& a, const TXYZ& b, const TXYZ& c);

struct TLineRelation {
  double distance = 0.0;  // signed, positive to the left of a->b
  double t = 0.0;         // foot of the perpendicular: 0 at a, 1 at b
};
TLineRelation PointLineRelation(const TXYZ& p, const TXYZ& a, const TXYZ& b);

struct TLineCrossing {
  double t = 0.0;  // along a->b
  double u = 0.0;  // along c->d
};
// The crossing of the infinite lines a->b and c->d; none when they are exactly parallel.
std::optional<TLineCrossing> SegmentIntersect(const TXYZ& a, const TXYZ& b, const TXYZ& c, const TXYZ& d);

struct TCrossingPoint {
  TXYZ point;      // on a->b, z interpolated too
  double u = 0.0;  // along c->d
};
std::optional<TCrossingPoint> SegmentIntersectPoint(const TXYZ& a, const TXYZ& b, const TXYZ& c,
                                                    const TXYZ& d);

// The offset at vertex v of the polyline prev -> v -> next for a half-width of 1, on the
// left of the direction of travel: its projection on the left normal of either segment is 1.
TXYZ MiterOffset(const TXYZ& prev, const TXYZ& v, const TXYZ& next);

// Index i of the segment poly[i] -> poly[i + 1] nearest to p; 0 for a single point, -1 when empty.
int32_t NearestSegment(std::span<const TXYZ> poly, const TXYZ& p);

// Area of the intersection of triangles abc and def; 0 when they only touch or either is degenerate.
double TriangleOverlapArea(const TXYZ& a, const TXYZ& b, const TXYZ& c, const TXYZ& d, const TXYZ& e,
                           const TXYZ& f);

}  // namespace vellmar
