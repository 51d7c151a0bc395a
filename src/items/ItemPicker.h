#pragma once
// The item a user points at: the topmost one the viewer draws under a world point.
// Kinds are drawn in index order and the items of a kind in list order, so the search
// runs the other way and the first hit is the one on top. Areas are hit inside their
// outline; lines and single points within a tolerance, since a line one pixel wide
// cannot be hit exactly. The picker owns nothing; the items belong to their street.

#include <cstdint>
#include <vector>

#include "document/KindSet.h"
#include "geometry/XYZ.h"

namespace vellmar {

class TAbstractItem;
class TStreetStructure;

// True when the item shows on the plan at all: an inactive item draws nothing, and the
// construction lines (a curve, an axis whose line is not drawn) stay hidden in the viewer.
bool ShownOnPlan(const TAbstractItem& item);

// True when the point lies inside the item's area or within tolerance of its outline.
bool ShapeContains(TAbstractItem& item, const TXYZ& point, double tolerance);

// The topmost shown item of the visible kinds at the point, or nullptr. tolerance is in
// world units (a few pixels at the current scale). Looks at every item: the reference
// that TItemPicker is tested against.
TAbstractItem* PickItem(TStreetStructure& street, const TKindSet& visible, const TXYZ& point, double tolerance);

// The same answer as PickItem, fast enough to follow the mouse over 10^5 items: the boxes
// of the shown items are kept in one array in picking order, so a pick streams through
// them and tests the shape only of the few items whose box is near. It holds pointers to
// the street's items and must be made anew when items are added, removed or moved (the
// viewer never changes a street; a street read anew is another street).
class TItemPicker {
 public:
  explicit TItemPicker(TStreetStructure& street);
  TAbstractItem* Pick(const TKindSet& visible, const TXYZ& point, double tolerance) const;

 private:
  struct TEntry {
    float MinX, MinY, MaxX, MaxY;
    int32_t Kind;
    TAbstractItem* Item;
  };
  std::vector<TEntry> entries_;
};

}  // namespace vellmar
