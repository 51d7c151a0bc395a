#include "export/PlanPolygon.h"

#include <geos_c.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "platform/Error.h"

namespace vellmar {

namespace {

// One GEOS context a thread, with the last message it raised.
class TGeosContext {
 public:
  TGeosContext() : handle_(GEOS_init_r()) {
    GEOSContext_setErrorMessageHandler_r(handle_, &TGeosContext::Keep, this);
  }
  ~TGeosContext() { GEOS_finish_r(handle_); }
  TGeosContext(const TGeosContext&) = delete;
  TGeosContext& operator=(const TGeosContext&) = delete;

  GEOSContextHandle_t Handle() const { return handle_; }
  const std::string& LastMessage() const { return message_; }

 private:
  static void Keep(const char* message, void* self) { static_cast<TGeosContext*>(self)->message_ = message; }

  GEOSContextHandle_t handle_;
  std::string message_;
};

TGeosContext& Geos() {
  thread_local TGeosContext context;
  return context;
}

struct TGeometryDeleter {
  void operator()(GEOSGeometry* geometry) const { GEOSGeom_destroy_r(Geos().Handle(), geometry); }
};
using TGeometry = std::unique_ptr<GEOSGeometry, TGeometryDeleter>;

GEOSGeometry* Checked(GEOSGeometry* geometry, const char* step) {
  if (geometry == nullptr) {
    throw EVellmarError(std::string("EvenOddPolygons: ") + step + " failed: " + Geos().LastMessage());
  }
  return geometry;
}

// The ring's distinct points in order, closed; empty when fewer than three remain.
TPlanRing CleanRing(const TXYZArray& points) {
  TPlanRing ring;
  for (const TXYZ& p : points) {
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) {
      throw EVellmarError("EvenOddPolygons: an outline has a point that is not a number");
    }
    const TPlanXY xy{p.x, p.y};
    if (ring.empty() || !(ring.back() == xy)) ring.push_back(xy);
  }
  while (ring.size() > 1 && ring.back() == ring.front()) ring.pop_back();
  if (ring.size() < 3) return {};
  ring.push_back(ring.front());
  return ring;
}

GEOSCoordSequence* Sequence(const TPlanRing& ring) {
  GEOSContextHandle_t h = Geos().Handle();
  GEOSCoordSequence* sequence = GEOSCoordSeq_create_r(h, static_cast<unsigned>(ring.size()), 2);
  for (size_t i = 0; i < ring.size(); ++i) GEOSCoordSeq_setXY_r(h, sequence, static_cast<unsigned>(i), ring[i].X, ring[i].Y);
  return sequence;
}

TPlanRing ReadRing(const GEOSGeometry* ring) {
  GEOSContextHandle_t h = Geos().Handle();
  const GEOSCoordSequence* sequence = GEOSGeom_getCoordSeq_r(h, ring);
  unsigned size = 0;
  GEOSCoordSeq_getSize_r(h, sequence, &size);
  TPlanRing out(size);
  for (unsigned i = 0; i < size; ++i) GEOSCoordSeq_getXY_r(h, sequence, i, &out[i].X, &out[i].Y);
  return out;
}

void ReadPolygons(const GEOSGeometry* geometry, std::vector<TPlanPolygon>& out) {
  GEOSContextHandle_t h = Geos().Handle();
  if (GEOSGeomTypeId_r(h, geometry) == GEOS_POLYGON) {
    if (GEOSisEmpty_r(h, geometry) == 1) return;
    TPlanPolygon polygon;
    polygon.Rings.push_back(ReadRing(GEOSGetExteriorRing_r(h, geometry)));
    const int holes = GEOSGetNumInteriorRings_r(h, geometry);
    for (int i = 0; i < holes; ++i) polygon.Rings.push_back(ReadRing(GEOSGetInteriorRingN_r(h, geometry, i)));
    out.push_back(std::move(polygon));
    return;
  }
  const int parts = GEOSGetNumGeometries_r(h, geometry);
  for (int i = 0; i < parts; ++i) ReadPolygons(GEOSGetGeometryN_r(h, geometry, i), out);
}

GEOSGeometry* MakePolygon(const TPlanPolygon& polygon) {
  GEOSContextHandle_t h = Geos().Handle();
  GEOSGeometry* shell = GEOSGeom_createLinearRing_r(h, Sequence(polygon.Rings[0]));
  std::vector<GEOSGeometry*> holes;
  for (size_t i = 1; i < polygon.Rings.size(); ++i) {
    holes.push_back(GEOSGeom_createLinearRing_r(h, Sequence(polygon.Rings[i])));
  }
  return Checked(GEOSGeom_createPolygon_r(h, shell, holes.data(), static_cast<unsigned>(holes.size())), "a polygon");
}

// Crossings of a ray from the point towards +x with the rings, counted modulo two.
bool InsideEvenOdd(const std::vector<TPlanRing>& rings, double x, double y) {
  bool inside = false;
  for (const TPlanRing& ring : rings) {
    for (size_t i = 1; i < ring.size(); ++i) {
      const TPlanXY& a = ring[i - 1];
      const TPlanXY& b = ring[i];
      if ((a.Y > y) != (b.Y > y) && x < a.X + (b.X - a.X) * (y - a.Y) / (b.Y - a.Y)) inside = !inside;
    }
  }
  return inside;
}

// Every face the rings' lines cut the plane into, kept when it lies inside by the rule,
// and the kept faces merged where they touch.
std::vector<TPlanPolygon> ResolveFaces(const std::vector<TPlanRing>& rings) {
  GEOSContextHandle_t h = Geos().Handle();
  std::vector<GEOSGeometry*> lines;
  for (const TPlanRing& ring : rings) lines.push_back(GEOSGeom_createLineString_r(h, Sequence(ring)));
  const TGeometry all(Checked(
      GEOSGeom_createCollection_r(h, GEOS_MULTILINESTRING, lines.data(), static_cast<unsigned>(lines.size())),
      "collecting the outlines"));
  const TGeometry noded(Checked(GEOSUnaryUnion_r(h, all.get()), "noding the outlines"));
  const GEOSGeometry* nodedLines = noded.get();
  const TGeometry faces(Checked(GEOSPolygonize_r(h, &nodedLines, 1), "finding the faces"));
  std::vector<GEOSGeometry*> kept;
  const int count = GEOSGetNumGeometries_r(h, faces.get());
  for (int i = 0; i < count; ++i) {
    const GEOSGeometry* face = GEOSGetGeometryN_r(h, faces.get(), i);
    const TGeometry inner(Checked(GEOSPointOnSurface_r(h, face), "a point inside a face"));
    double x = 0, y = 0;
    GEOSGeomGetX_r(h, inner.get(), &x);
    GEOSGeomGetY_r(h, inner.get(), &y);
    if (InsideEvenOdd(rings, x, y)) kept.push_back(Checked(GEOSGeom_clone_r(h, face), "a face"));
  }
  std::vector<TPlanPolygon> out;
  if (kept.empty()) return out;
  const TGeometry keptFaces(Checked(
      GEOSGeom_createCollection_r(h, GEOS_GEOMETRYCOLLECTION, kept.data(), static_cast<unsigned>(kept.size())),
      "collecting the faces"));
  const TGeometry merged(Checked(GEOSUnaryUnion_r(h, keptFaces.get()), "merging the faces"));
  ReadPolygons(merged.get(), out);
  return out;
}

}  // namespace

std::vector<TPlanPolygon> EvenOddPolygons(const std::vector<TXYZArray>& outlines) {
  std::vector<TPlanRing> rings;
  for (const TXYZArray& outline : outlines) {
    TPlanRing ring = CleanRing(outline);
    if (!ring.empty()) rings.push_back(std::move(ring));
  }
  if (rings.empty()) return {};
  // Most outlines are one simple ring: it is its own polygon, without noding.
  if (rings.size() == 1) {
    TPlanPolygon polygon{{rings[0]}};
    const TGeometry geometry(MakePolygon(polygon));
    if (GEOSisValid_r(Geos().Handle(), geometry.get()) == 1) return {std::move(polygon)};
  }
  return ResolveFaces(rings);
}

double PolygonsArea(const std::vector<TPlanPolygon>& polygons) {
  double area = 0.0;
  for (const TPlanPolygon& polygon : polygons) {
    for (size_t r = 0; r < polygon.Rings.size(); ++r) {
      const TPlanRing& ring = polygon.Rings[r];
      double twice = 0.0;
      for (size_t i = 1; i < ring.size(); ++i) {
        twice += (ring[i - 1].X - ring[0].X) * (ring[i].Y - ring[0].Y) - (ring[i].X - ring[0].X) * (ring[i - 1].Y - ring[0].Y);
      }
      area += (r == 0 ? 0.5 : -0.5) * std::abs(twice);
    }
  }
  return area;
}

namespace {

struct TBox {
  double MinX, MinY, MaxX, MaxY;
};

TBox BoxOf(const TPlanPolygon& polygon) {
  TBox box{polygon.Rings[0][0].X, polygon.Rings[0][0].Y, polygon.Rings[0][0].X, polygon.Rings[0][0].Y};
  for (const TPlanXY& p : polygon.Rings[0]) {
    box = {std::min(box.MinX, p.X), std::min(box.MinY, p.Y), std::max(box.MaxX, p.X), std::max(box.MaxY, p.Y)};
  }
  return box;
}

size_t Root(std::vector<size_t>& parent, size_t i) {
  while (parent[i] != i) i = parent[i] = parent[parent[i]];
  return i;
}

// Groups of polygons whose boxes touch or overlap, directly or through others: only
// polygons within one group can share area.
std::vector<std::vector<size_t>> TouchingGroups(const std::vector<TPlanPolygon>& polygons) {
  std::vector<TBox> boxes;
  boxes.reserve(polygons.size());
  for (const TPlanPolygon& polygon : polygons) boxes.push_back(BoxOf(polygon));
  std::vector<size_t> order(polygons.size()), parent(polygons.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = parent[i] = i;
  std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return boxes[a].MinX < boxes[b].MinX; });
  // A sweep along x: the boxes still open at each box's left edge are its candidates.
  std::vector<size_t> open;
  for (const size_t i : order) {
    const TBox& box = boxes[i];
    std::erase_if(open, [&](size_t j) { return boxes[j].MaxX < box.MinX; });
    for (const size_t j : open) {
      if (boxes[j].MinY <= box.MaxY && box.MinY <= boxes[j].MaxY) parent[Root(parent, i)] = Root(parent, j);
    }
    open.push_back(i);
  }
  std::vector<std::vector<size_t>> groups(polygons.size());
  for (size_t i = 0; i < polygons.size(); ++i) groups[Root(parent, i)].push_back(i);
  std::erase_if(groups, [](const std::vector<size_t>& group) { return group.empty(); });
  return groups;
}

// The union of the group's polygons through GEOS.
TGeometry GroupUnion(const std::vector<TPlanPolygon>& polygons, const std::vector<size_t>& group) {
  GEOSContextHandle_t h = Geos().Handle();
  std::vector<GEOSGeometry*> parts;
  parts.reserve(group.size());
  for (const size_t i : group) parts.push_back(MakePolygon(polygons[i]));
  const TGeometry all(Checked(
      GEOSGeom_createCollection_r(h, GEOS_GEOMETRYCOLLECTION, parts.data(), static_cast<unsigned>(parts.size())),
      "collecting the areas"));
  return TGeometry(Checked(GEOSUnaryUnion_r(h, all.get()), "joining the areas"));
}

}  // namespace

double UnionArea(const std::vector<TPlanPolygon>& polygons) {
  // Most surfaces of a street lie apart or only meet at their edges' boxes; a union of
  // all of them at once spends its time noding edges that never meet.
  double area = 0.0;
  for (const std::vector<size_t>& group : TouchingGroups(polygons)) {
    if (group.size() == 1) {
      area += PolygonsArea({polygons[group[0]]});
      continue;
    }
    double joined = 0.0;
    GEOSArea_r(Geos().Handle(), GroupUnion(polygons, group).get(), &joined);
    area += joined;
  }
  return area;
}

std::vector<TPlanPolygon> UnionPolygons(const std::vector<TPlanPolygon>& polygons) {
  std::vector<TPlanPolygon> out;
  for (const std::vector<size_t>& group : TouchingGroups(polygons)) {
    if (group.size() == 1) {
      out.push_back(polygons[group[0]]);
      continue;
    }
    ReadPolygons(GroupUnion(polygons, group).get(), out);
  }
  return out;
}

}  // namespace vellmar
