#include "items/ItemPicker.h"

#include <span>

#include "document/AbstractItem.h"
#include "document/ItemList.h"
#include "document/KindRegistry.h"
#include "document/StreetStructure.h"
#include "geometry/PolylineMeasure.h"

namespace vellmar {

namespace {

// Even-odd rule over the ring the polyline makes when closed back to its start.
bool InsideRing(std::span<const TXYZ> ring, const TXYZ& p) {
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

bool ShapeContains(TAbstractItem& item, const TXYZ& point, double tolerance) {
  for (const TPictureOutline& outline : PictureOutlines(item)) {
    if (InsideRing(outline, point)) return true;
  }
  const TXYZArray line = DrawnLine(item);
  if (line.empty()) return false;
  if (line.size() == 1) return PlanarDistance(point, line[0]) <= tolerance;
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

TItemPicker::TItemPicker(TStreetStructure& street) : boxes_(ShownItemBoxes(street)) {}

TAbstractItem* TItemPicker::Pick(const TKindSet& visible, const TXYZ& point, double tolerance) const {
  for (const TItemBox& box : boxes_) {
    if (!box.Near(point, tolerance) || !visible.Contains(box.Kind)) continue;
    if (ShapeContains(*box.Item, point, tolerance)) return box.Item;
  }
  return nullptr;
}

}  // namespace vellmar
