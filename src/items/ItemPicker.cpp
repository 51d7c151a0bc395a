#include "items/ItemPicker.h"

#include <algorithm>
#include <cmath>

#include "document/AbstractItem.h"
#include "document/ItemList.h"
#include "document/KindRegistry.h"
#include "document/StreetStructure.h"
#include "items/road/ArcCoordsItem.h"
#include "items/road/AxisItem.h"

namespace vellmar {

namespace {

// Distance from p to the segment a-b (not to its line).
double SegmentDistance(const TXYZ& p, const TXYZ& a, const TXYZ& b) {
  const double dx = double{b.x} - a.x, dy = double{b.y} - a.y;
  const double squared = dx * dx + dy * dy;
  double t = squared > 0.0 ? ((double{p.x} - a.x) * dx + (double{p.y} - a.y) * dy) / squared : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(double{p.x} - (a.x + t * dx), double{p.y} - (a.y + t * dy));
}

// Even-odd rule over the ring the polyline makes when closed back to its start.
bool InsideRing(const TXYZArray& ring, const TXYZ& p) {
  bool inside = false;
  for (size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
    const TXYZ& a = ring[i];
    const TXYZ& b = ring[j];
    if ((a.y > p.y) != (b.y > p.y) &&
        p.x < (double{b.x} - a.x) * (double{p.y} - a.y) / (double{b.y} - a.y) + a.x) {
      inside = !inside;
    }
  }
  return inside;
}

}  // namespace

bool ShownOnPlan(const TAbstractItem& item) {
  if (!item.Active()) return false;
  if (item.KindIndex() == TArcCoordsItem::kKindIndex) return false;
  if (const auto* axis = dynamic_cast<const TAxisItem*>(&item)) return axis->DrawLine();
  return true;
}

bool ShapeContains(TAbstractItem& item, const TXYZ& point, double tolerance) {
  TPointList& points = item.Points();
  // A single point makes no polyline.
  if (points.Count() == 1) {
    const TXYZ v = points.GetVertex(0);
    return std::hypot(double{point.x} - v.x, double{point.y} - v.y) <= tolerance;
  }
  const TXYZArray& line = points.Polyline();
  if (line.empty()) return false;
  if (line.size() == 1) return std::hypot(double{point.x} - line[0].x, double{point.y} - line[0].y) <= tolerance;
  const bool closed = item.IsClosed();
  if (closed && line.size() >= 3 && InsideRing(line, point)) return true;
  for (size_t i = 0; i + 1 < line.size(); ++i) {
    if (SegmentDistance(point, line[i], line[i + 1]) <= tolerance) return true;
  }
  return closed && SegmentDistance(point, line.back(), line.front()) <= tolerance;
}

TAbstractItem* PickItem(TStreetStructure& street, const TKindSet& visible, const TXYZ& point, double tolerance) {
  for (int32_t kind = kKindCount - 1; kind >= 0; --kind) {
    if (!visible.Contains(kind)) continue;
    TItemList& list = street.ItemList(kind);
    for (int32_t i = list.Count() - 1; i >= 0; --i) {
      TAbstractItem* item = list.Items(i);
      if (ShownOnPlan(*item) && ShapeContains(*item, point, tolerance)) return item;
    }
  }
  return nullptr;
}

TItemPicker::TItemPicker(TStreetStructure& street) {
  for (int32_t kind = kKindCount - 1; kind >= 0; --kind) {
    TItemList& list = street.ItemList(kind);
    for (int32_t i = list.Count() - 1; i >= 0; --i) {
      TAbstractItem* item = list.Items(i);
      if (!ShownOnPlan(*item)) continue;
      TPointList& points = item->Points();
      TXYZArray single;
      const TXYZArray* shape = &single;
      if (points.Count() == 1) {
        single.push_back(points.GetVertex(0));
      } else {
        shape = &points.Polyline();
      }
      const TXYZArray& line = *shape;
      if (line.empty()) continue;
      TEntry entry{line[0].x, line[0].y, line[0].x, line[0].y, kind, item};
      for (const TXYZ& v : line) {
        entry.MinX = std::min(entry.MinX, v.x);
        entry.MinY = std::min(entry.MinY, v.y);
        entry.MaxX = std::max(entry.MaxX, v.x);
        entry.MaxY = std::max(entry.MaxY, v.y);
      }
      entries_.push_back(entry);
    }
  }
}

TAbstractItem* TItemPicker::Pick(const TKindSet& visible, const TXYZ& point, double tolerance) const {
  for (const TEntry& e : entries_) {
    if (point.x < e.MinX - tolerance || point.x > e.MaxX + tolerance || point.y < e.MinY - tolerance ||
        point.y > e.MaxY + tolerance || !visible.Contains(e.Kind)) {
      continue;
    }
    if (ShapeContains(*e.Item, point, tolerance)) return e.Item;
  }
  return nullptr;
}

}  // namespace vellmar
