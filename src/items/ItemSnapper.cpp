#include "items/ItemSnapper.h"

#include "document/AbstractItem.h"
#include "document/ItemList.h"
#include "document/KindRegistry.h"
#include "document/StreetStructure.h"
#include "geometry/PolylineMeasure.h"

namespace vellmar {

namespace {

constexpr int32_t kAxisKind = 35;

// The best vertex and the best line point seen so far, each with its distance.
class TSnapSearch {
 public:
  TSnapSearch(const TXYZ& point, double radius, const TAbstractItem* axis)
      : point_(point), radius_(radius), axis_(axis) {}

  void Look(TAbstractItem& item) {
    TPointList& points = item.Points();
    for (int32_t i = 0; i < points.Count(); ++i) Offer(vertex_, points.GetVertex(i), TSnapKind::Vertex, item);
    const TXYZArray line = DrawnLine(item);
    const TSnapKind kind = &item == axis_ ? TSnapKind::Axis : TSnapKind::Edge;
    for (size_t i = 0; i + 1 < line.size(); ++i) Offer(edge_, NearestOnSegment(point_, line[i], line[i + 1]), kind, item);
    if (item.IsClosed() && line.size() >= 3) Offer(edge_, NearestOnSegment(point_, line.back(), line.front()), kind, item);
  }

  std::optional<TSnap> Result() const {
    if (vertex_.Snap) return vertex_.Snap;
    return edge_.Snap;
  }

 private:
  struct TBest {
    std::optional<TSnap> Snap;
    double Distance = 0.0;
  };

  void Offer(TBest& best, const TXYZ& at, TSnapKind kind, TAbstractItem& item) const {
    const double distance = PlanarDistance(point_, at);
    // Strictly nearer: of equally near candidates the first, the topmost item's, stays.
    if (distance > radius_ || (best.Snap && distance >= best.Distance)) return;
    best.Snap = TSnap{at, kind, &item};
    best.Distance = distance;
  }

  TXYZ point_;
  double radius_;
  const TAbstractItem* axis_;
  TBest vertex_;
  TBest edge_;
};

// The main axis when it takes snaps but is not among the shown items (its line hidden).
TAbstractItem* HiddenAxis(TStreetStructure& street) {
  TAbstractItem* axis = street.MainAxis();
  return axis != nullptr && axis->Active() && !ShownOnPlan(*axis) ? axis : nullptr;
}

}  // namespace

std::optional<TSnap> SnapToItems(TStreetStructure& street, const TKindSet& visible, const TXYZ& point,
                                 double radius) {
  TSnapSearch search(point, radius, street.MainAxis());
  for (int32_t kind = kKindCount - 1; kind >= 0; --kind) {
    if (!visible.Contains(kind)) continue;
    TItemList& list = street.ItemList(kind);
    for (int32_t i = list.Count() - 1; i >= 0; --i) {
      TAbstractItem* item = list.Items(i);
      if (ShownOnPlan(*item)) search.Look(*item);
    }
  }
  if (TAbstractItem* axis = HiddenAxis(street); axis != nullptr && visible.Contains(kAxisKind)) search.Look(*axis);
  return search.Result();
}

TItemSnapper::TItemSnapper(TStreetStructure& street) : boxes_(ShownItemBoxes(street)), axis_(street.MainAxis()) {
  if (TAbstractItem* axis = HiddenAxis(street)) {
    // Last, as SnapToItems looks at it.
    if (const std::optional<TItemBox> box = ItemBox(*axis)) boxes_.push_back(*box);
  }
}

std::optional<TSnap> TItemSnapper::Snap(const TKindSet& visible, const TXYZ& point, double radius) const {
  TSnapSearch search(point, radius, axis_);
  for (const TItemBox& box : boxes_) {
    if (box.Near(point, radius) && visible.Contains(box.Kind)) search.Look(*box.Item);
  }
  return search.Result();
}

}  // namespace vellmar
