#pragma once
// A primitive collection of triangles, drawn as a triangle list: plain and textured
// triangles, quads and bands along polylines. Ownership as for every collection (see
// DxPrimCollection.h).

#include <cstdint>
#include <span>

#include "geometry/XYZ.h"
#include "render/DxPrimCollection.h"

namespace vellmar {

class TDxTriangleCollection final : public TDxPrimCollection {
 public:
  TDxTriangleCollection();

  // (P0,P1,P2), (P3,P4,P5), ...; an incomplete last triangle is ignored.
  void AddTriangles(const TAbstractItem* owner, std::span<const TXYZ> points);
  // Four points a quad: one edge's two ends, then the opposite edge's two ends in the
  // same direction; each quad becomes (P0,P1,P3) and (P2,P3,P0).
  void AddQuads(const TAbstractItem* owner, std::span<const TXYZ> points);
  // As AddTriangles, with U and V fixed to the world position of the points as given:
  // the texture lies in the world shifted to the origin, scaled by 1 / scale (a scale of
  // 0 counts as 1) and turned by the angle whose sine and cosine are s and c.
  void AddTexturedTriangles(const TAbstractItem* owner, std::span<const TXYZ> points, double s, double c,
                            double originY, double originX, double scaleY, double scaleX);
  // A band along points[first ... last] between two offset lines (offsets along the left
  // normal, positive to the left), two triangles per segment. With a period, U runs along
  // the band so that it carries a whole number of periods (at least one, halves to even)
  // and V is vLeft on the left line and vRight on the right; with period 0 U and V are 0.
  // Indices outside the points are cut to them.
  void AddRibbon(const TAbstractItem* owner, const TXYZArray& points, int32_t first, int32_t last,
                 double period, double offsetLeft, double offsetRight, double vLeft, double vRight);
  // AddRibbon over all points; with a period, sharp corners are first cut by two extra
  // points near them so that the band does not spike.
  void AddSmoothRibbon(const TAbstractItem* owner, const TXYZArray& points, double period, double offsetLeft,
                       double offsetRight, double vLeft, double vRight);

 private:
  void AddTriangle(const TAbstractItem* owner, const TXYZ& a, const TXYZ& b, const TXYZ& c);
};

}  // namespace vellmar
